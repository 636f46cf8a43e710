// A loopback HTTP/1.1 server for engine tests: records every raw request and answers
// with whatever the test's handler returns (raw bytes, status line included).
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tavlo::test {

struct RawRequest {
  std::string head;  // request line and headers, up to and including the blank line
  std::string body;
  std::string method() const { return head.substr(0, head.find(' ')); }
  std::string target() const {
    auto a = head.find(' ') + 1;
    return head.substr(a, head.find(' ', a) - a);
  }
  // Values of every header line with this name (case-insensitive), in order.
  std::vector<std::string> header(const std::string& name) const {
    std::vector<std::string> out;
    size_t pos = head.find("\r\n") + 2;
    while (pos < head.size()) {
      size_t e = head.find("\r\n", pos);
      if (e == std::string::npos || e == pos) break;
      std::string line = head.substr(pos, e - pos);
      size_t c = line.find(':');
      if (c != std::string::npos && strcasecmp(line.substr(0, c).c_str(), name.c_str()) == 0) {
        size_t v = c + 1;
        while (v < line.size() && line[v] == ' ') ++v;
        out.push_back(line.substr(v));
      }
      pos = e + 2;
    }
    return out;
  }
};

class RawServer {
 public:
  using Handler = std::function<std::string(const RawRequest&)>;

  explicit RawServer(Handler h) : handler_(std::move(h)) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    int one = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    ::listen(fd_, 64);
    thread_ = std::thread([this] { loop(); });
  }
  ~RawServer() {
    stop_ = true;
    ::shutdown(fd_, SHUT_RDWR);
    ::close(fd_);
    thread_.join();
    for (auto& t : workers_) t.join();
  }
  int port() const { return port_; }
  std::string url(const std::string& path = "/") const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  std::vector<RawRequest> requests() {
    std::lock_guard<std::mutex> g(lock_);
    return requests_;
  }

 private:
  void loop() {
    while (!stop_) {
      int c = ::accept(fd_, nullptr, nullptr);
      if (c < 0) return;
      std::lock_guard<std::mutex> g(lock_);
      workers_.emplace_back([this, c] { serve(c); });
    }
  }
  void serve(int c) {
    std::string buf;
    char tmp[4096];
    for (;;) {  // one request per connection is all the engine ever sends
      size_t end = buf.find("\r\n\r\n");
      if (end != std::string::npos) {
        RawRequest r;
        r.head = buf.substr(0, end + 4);
        size_t want = 0;
        for (auto& v : r.header("Content-Length")) want = std::stoul(v);
        while (buf.size() < end + 4 + want) {
          ssize_t n = ::recv(c, tmp, sizeof tmp, 0);
          if (n <= 0) break;
          buf.append(tmp, size_t(n));
        }
        r.body = buf.substr(end + 4, want);
        {
          std::lock_guard<std::mutex> g(lock_);
          requests_.push_back(r);
        }
        std::string answer = handler_(r);
        size_t off = 0;
        while (off < answer.size()) {
          ssize_t n = ::send(c, answer.data() + off, answer.size() - off, MSG_NOSIGNAL);
          if (n <= 0) break;
          off += size_t(n);
        }
        break;
      }
      ssize_t n = ::recv(c, tmp, sizeof tmp, 0);
      if (n <= 0) break;
      buf.append(tmp, size_t(n));
    }
    ::shutdown(c, SHUT_WR);
    ::close(c);
  }

  Handler handler_;
  int fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::mutex lock_;
  std::vector<std::thread> workers_;
  std::vector<RawRequest> requests_;
};

// A complete answer with Content-Length and Connection: close.
inline std::string answer(const std::string& status, const std::string& extra_headers,
                          const std::string& body) {
  return "HTTP/1.1 " + status + "\r\n" + extra_headers + "Content-Length: " +
         std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

}  // namespace tavlo::test
