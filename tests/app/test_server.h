// A loopback web server standing in for the maker, live-TV and play-API hosts, recording
// what the browsers ask for.
#pragma once

#include <httplib.h>

#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace tavlo::test {

class PageServer {
 public:
  PageServer() {
    auto page = [](const std::string& body) {
      return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body>" + body +
             "</body></html>";
    };
    auto record = [this](const httplib::Request& req) {
      std::lock_guard<std::mutex> g(lock_);
      hits_[req.path] += 1;
      targets_[req.path] = req.target;
      cookies_[req.path] = req.get_header_value("Cookie");
    };
    auto serve = [this, record, page](const char* path, std::string body) {
      server_.Get(path, [record, page, body](const httplib::Request& req, httplib::Response& res) {
        record(req);
        res.set_content(page(body), "text/html; charset=utf-8");
      });
    };
    serve("/SOFT/Main.html", "<h3>公告</h3><p>announcement</p>");
    serve("/SOFT/pop.html", "<p>advert</p>");
    serve("/images/img/100/", "<p>live tv</p>");
    serve("/frame.html", "<p>frame</p>");
    // Two frames: with the document, three completions in a row.
    serve("/playapi.php",
          "<iframe src=\"/frame.html\" width=\"100\" height=\"50\"></iframe>"
          "<iframe src=\"/frame.html\" width=\"100\" height=\"50\"></iframe>");
    serve("/direct.html", "<p>direct</p>");
    serve("/opens-popup.html",
          "<p>popup</p><script>setTimeout(function(){window.open('/frame.html','_blank');},50);"
          "</script>");
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~PageServer() {
    server_.stop();
    if (thread_.joinable()) thread_.join();
  }
  int port() const { return port_; }
  std::string host() const { return "127.0.0.1:" + std::to_string(port_); }
  int hits(const std::string& path) {
    std::lock_guard<std::mutex> g(lock_);
    return hits_[path];
  }
  std::string target(const std::string& path) {
    std::lock_guard<std::mutex> g(lock_);
    return targets_[path];
  }
  std::string cookie(const std::string& path) {
    std::lock_guard<std::mutex> g(lock_);
    return cookies_[path];
  }

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  std::mutex lock_;
  std::map<std::string, int> hits_;
  std::map<std::string, std::string> targets_, cookies_;
};

}  // namespace tavlo::test
