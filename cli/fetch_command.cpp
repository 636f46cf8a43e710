#include "fetch_command.h"

#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "hosts.h"
#include "http_request.h"

namespace tavlo {
namespace {

int usage(const std::string& why) {
  std::fprintf(stderr,
               "tavlo-cli fetch: %s\nusage: tavlo-cli fetch URL [--post BODY] [--cookies STR] "
               "[--header LINES] [--no-redirect] [--proxy HOST:PORT] [--bytes]\n",
               why.c_str());
  return 2;
}

// Header lines given on the command line may use a real CR LF or the two-character
// escapes "\r\n"; the engine wants CR LF between lines.
std::string header_lines(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == 'r' || s[i + 1] == 'n')) {
      out.push_back(s[i + 1] == 'r' ? '\r' : '\n');
      ++i;
    } else {
      out.push_back(s[i]);
    }
  }
  // A bare LF between lines becomes CR LF.
  std::string fixed;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (out[i] == '\n' && (i == 0 || out[i - 1] != '\r')) fixed.push_back('\r');
    fixed.push_back(out[i]);
  }
  return fixed;
}

// Out values leave as UTF-8; bytes that are not valid anywhere become U+FFFD, never an
// exception from the JSON writer.
std::string out(const std::string& gbk_text) { return gbk_to_utf8(gbk_text); }

}  // namespace

int fetch_command(const std::vector<std::string>& args) {
  std::string url;
  std::string post_body, cookies, headers, proxy;
  bool post = false, have_cookies = false, have_proxy = false;
  bool no_redirect = false, bytes = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& dst) {
      if (i + 1 >= args.size()) return false;
      dst = utf8_to_gbk(args[++i]);
      return true;
    };
    if (a == "--post") {
      if (!value(post_body)) return usage("--post needs a body");
      post = true;
    } else if (a == "--cookies") {
      if (!value(cookies)) return usage("--cookies needs a string");
      have_cookies = true;
    } else if (a == "--header") {
      if (!value(headers)) return usage("--header needs lines");
      headers = header_lines(headers);
    } else if (a == "--proxy") {
      if (!value(proxy)) return usage("--proxy needs HOST:PORT");
      have_proxy = true;
    } else if (a == "--no-redirect") {
      no_redirect = true;
    } else if (a == "--bytes") {
      bytes = true;
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      return usage("unknown option " + a);
    } else if (url.empty()) {
      url = utf8_to_gbk(a);
    } else {
      return usage("more than one address");
    }
  }
  if (url.empty()) return usage("no address");

  load_hosts(default_data_folder());  // the extra certificate authority, if any
  std::string returned_cookies, location, raw_headers;
  std::string body;
  std::string* cookies_arg = have_cookies ? &cookies : nullptr;
  const std::string* proxy_arg = have_proxy ? &proxy : nullptr;
  if (bytes)
    body = http_request_bytes(url, post ? 1 : 0, post_body, cookies_arg, &returned_cookies,
                              &headers, &location, no_redirect, nullptr, proxy_arg, &raw_headers);
  else
    body = http_request(url, post ? 1 : 0, post_body, cookies_arg, &returned_cookies, &headers,
                        &location, no_redirect, nullptr, proxy_arg, &raw_headers);

  nlohmann::ordered_json j;
  // The bytes form is handed out as the server sent it (invalid UTF-8 replaced).
  j["body"] = bytes ? body : out(body);
  j["returned_cookies"] = out(returned_cookies);
  if (have_cookies) j["cookies"] = out(cookies);
  j["headers"] = out(headers);
  j["location"] = out(location);
  j["raw_headers"] = out(raw_headers);
  std::cout << j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << std::endl;
  return 0;
}

}  // namespace tavlo
