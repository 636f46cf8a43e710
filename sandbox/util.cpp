#include <fcntl.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "internal.h"
#include "text_codecs.h"

namespace tavlo::sandbox {

namespace {
int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string digest_hex(const EVP_MD* md, std::string_view data, bool upper) {
  unsigned char out[EVP_MAX_MD_SIZE];
  unsigned int len = 0;
  EVP_Digest(data.data(), data.size(), out, &len, md, nullptr);
  return hex_of(std::string_view(reinterpret_cast<const char*>(out), len), upper);
}
}  // namespace

std::string url_decode(std::string_view s, bool plus_as_space) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '%' && i + 2 < s.size()) {
      int h = hex_digit(s[i + 1]), l = hex_digit(s[i + 2]);
      if (h >= 0 && l >= 0) {
        out += static_cast<char>(h * 16 + l);
        i += 2;
        continue;
      }
    }
    out += (c == '+' && plus_as_space) ? ' ' : c;
  }
  return out;
}

std::string url_encode(std::string_view s) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : s) {
    if (isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

std::string html_escape(std::string_view s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string json_escape(std::string_view u) {
  std::string out;
  char buf[8];
  auto unit = [&](unsigned v) {
    std::snprintf(buf, sizeof buf, "\\u%04x", v & 0xFFFF);
    out += buf;
  };
  for (size_t i = 0; i < u.size();) {
    unsigned char c = u[i];
    if (c < 0x80) {
      if (c == '"' || c == '\'' || c < 0x20)
        unit(c);
      else if (c == '\\')
        out += "\\\\";
      else if (c == '/')
        out += "\\/";
      else
        out += static_cast<char>(c);
      ++i;
      continue;
    }
    unsigned cp = 0;
    int n = 0;
    if ((c & 0xE0) == 0xC0) cp = c & 0x1F, n = 1;
    else if ((c & 0xF0) == 0xE0) cp = c & 0x0F, n = 2;
    else if ((c & 0xF8) == 0xF0) cp = c & 0x07, n = 3;
    else { unit(0xFFFD); ++i; continue; }
    if (i + n >= u.size()) { unit(0xFFFD); break; }
    for (int k = 1; k <= n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(u[i + k]) & 0x3F);
    i += n + 1;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      unit(0xD800 + (cp >> 10));
      unit(0xDC00 + (cp & 0x3FF));
    } else {
      unit(cp);
    }
  }
  return out;
}

std::string raw_query(const httplib::Request& req) {
  auto q = req.target.find('?');
  return q == std::string::npos ? std::string() : req.target.substr(q + 1);
}

std::multimap<std::string, std::string> parse_form(std::string_view body, bool decode) {
  std::multimap<std::string, std::string> f;
  size_t pos = 0;
  while (pos <= body.size() && !body.empty()) {
    size_t amp = body.find('&', pos);
    std::string_view item = body.substr(pos, amp == std::string_view::npos ? body.npos : amp - pos);
    if (!item.empty()) {
      size_t eq = item.find('=');
      std::string k(item.substr(0, eq));
      std::string v(eq == std::string_view::npos ? std::string_view() : item.substr(eq + 1));
      if (decode) v = url_decode(v, true);
      f.emplace(url_decode(k, true), v);
    }
    if (amp == std::string_view::npos) break;
    pos = amp + 1;
  }
  return f;
}

std::string form_value(const std::multimap<std::string, std::string>& f, const std::string& key) {
  auto it = f.find(key);
  return it == f.end() ? std::string() : it->second;
}

std::map<std::string, std::string> request_cookies(const httplib::Request& req) {
  std::map<std::string, std::string> out;
  auto range = req.headers.equal_range("Cookie");
  for (auto it = range.first; it != range.second; ++it) {
    std::string_view line = it->second;
    size_t pos = 0;
    while (pos < line.size()) {
      size_t semi = line.find(';', pos);
      std::string_view item = line.substr(pos, semi == line.npos ? line.npos : semi - pos);
      while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
      while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
      size_t eq = item.find('=');
      if (eq != item.npos && eq > 0) out[std::string(item.substr(0, eq))] = std::string(item.substr(eq + 1));
      if (semi == line.npos) break;
      pos = semi + 1;
    }
  }
  return out;
}

std::string hex_of(std::string_view bytes, bool upper) {
  const char* hex = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) {
    out += hex[c >> 4];
    out += hex[c & 15];
  }
  return out;
}

std::string sha1_hex(std::string_view data, bool upper) { return digest_hex(EVP_sha1(), data, upper); }
std::string md5_hex(std::string_view data) { return digest_hex(EVP_md5(), data, false); }

std::string hmac_hex(std::string_view key, std::string_view data) {
  unsigned char out[EVP_MAX_MD_SIZE];
  unsigned int len = 0;
  HMAC(EVP_sha256(), key.data(), static_cast<int>(key.size()),
       reinterpret_cast<const unsigned char*>(data.data()), data.size(), out, &len);
  return hex_of(std::string_view(reinterpret_cast<const char*>(out), len));
}

bool is_utf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    unsigned char c = s[i];
    int n = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (n < 0 || i + n >= s.size()) return false;
    for (int k = 1; k <= n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n + 1;
  }
  return true;
}

std::string to_utf8(std::string_view maybe_gbk) {
  if (is_utf8(maybe_gbk)) return std::string(maybe_gbk);
  return tavlo::gbk_to_utf8(maybe_gbk);
}

double now_seconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::string lower_ascii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

bool read_file(const std::string& path, std::string* out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  *out = ss.str();
  return true;
}

bool write_file(const std::string& path, const std::string& data, int mode) {
  std::string tmp = path + ".tmp";
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, mode);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < data.size()) {
    ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n <= 0) {
      ::close(fd);
      ::unlink(tmp.c_str());
      return false;
    }
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  return ::rename(tmp.c_str(), path.c_str()) == 0;
}

std::string request_host(const httplib::Request& req) {
  std::string h = req.get_header_value("Host");
  if (h.empty() || h.size() > 255 || h.find_first_of("\"'<> /\\") != std::string::npos)
    h = "127.0.0.1:" + std::to_string(req.local_port);
  return h;
}

std::string page(const std::string& title, const std::string& body, const std::string& head) {
  return "<!DOCTYPE html>\n<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; "
         "charset=utf-8\">\n<title>" +
         title + "</title>\n" + head + "</head>\n<body>\n" + body + "\n</body>\n</html>\n";
}

}  // namespace tavlo::sandbox
