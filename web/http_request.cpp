// The request engine over libcurl. One easy handle per call; the per-user cookie store is
// a CURLSH shared by every handle that does not supply its own cookie string.
#include "http_request.h"

#include <curl/curl.h>
#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>

namespace tavlo {
namespace {

// ---- the per-user cookie store ---------------------------------------------------

struct CookieStore {
  CURLSH* share = nullptr;
  std::mutex data_lock[CURL_LOCK_DATA_LAST];
  std::mutex admin_lock;  // the maintenance handle and the file
  CURL* admin = nullptr;
  std::string file;
};

CookieStore& store() {
  static CookieStore* s = [] {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    auto* st = new CookieStore();  // never destroyed: detached workers may still use it
    st->share = curl_share_init();
    curl_share_setopt(st->share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    curl_share_setopt(st->share, CURLSHOPT_USERDATA, st);
    curl_share_setopt(st->share, CURLSHOPT_LOCKFUNC,
                      +[](CURL*, curl_lock_data d, curl_lock_access, void* u) {
                        static_cast<CookieStore*>(u)->data_lock[d].lock();
                      });
    curl_share_setopt(st->share, CURLSHOPT_UNLOCKFUNC, +[](CURL*, curl_lock_data d, void* u) {
      static_cast<CookieStore*>(u)->data_lock[d].unlock();
    });
    st->admin = curl_easy_init();
    curl_easy_setopt(st->admin, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(st->admin, CURLOPT_SHARE, st->share);
    curl_easy_setopt(st->admin, CURLOPT_COOKIEFILE, "");
    return st;
  }();
  return *s;
}

void save_store_locked(CookieStore& st) {
  if (st.file.empty()) return;
  curl_easy_setopt(st.admin, CURLOPT_COOKIEJAR, st.file.c_str());
  curl_easy_setopt(st.admin, CURLOPT_COOKIELIST, "FLUSH");
  ::chmod(st.file.c_str(), 0600);
}

// ---- extra certificate authority -------------------------------------------------

struct CaBundle {
  std::mutex lock;
  std::shared_ptr<const std::string> pem;  // system bundle + the extra authority
};
CaBundle& ca_bundle() {
  static CaBundle* b = new CaBundle();
  return *b;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// ---- one transfer ----------------------------------------------------------------

struct Transfer {
  std::string body;
  std::string header_block;  // of the latest answer only
  bool too_big = false;
};

size_t on_body(char* data, size_t size, size_t n, void* user) {
  auto* t = static_cast<Transfer*>(user);
  size_t len = size * n;
  if (t->body.size() + len > size_t(MAX_ANSWER_BYTES)) {
    t->too_big = true;
    return 0;  // aborts the transfer
  }
  t->body.append(data, len);
  return len;
}

size_t on_header(char* data, size_t size, size_t n, void* user) {
  auto* t = static_cast<Transfer*>(user);
  size_t len = size * n;
  std::string_view line(data, len);
  // A new status line starts the block of the next answer (redirects, 100 Continue).
  if (line.rfind("HTTP/", 0) == 0) t->header_block.clear();
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (t->header_block.size() < 1 << 20) {  // a header flood cannot grow memory for ever
    t->header_block.append(line);
    t->header_block.append("\r\n");
  }
  return len;
}

// Bytes that a URL may not carry raw are escaped; everything else is sent as given.
std::string escape_object(std::string_view object) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : object) {
    if (c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>' || c == '\\' || c == '^' ||
        c == '`' || c == '{' || c == '|' || c == '}') {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    } else {
      out.push_back(char(c));
    }
  }
  return out;
}

struct Args {
  std::string url;
  int method;
  std::string body;
  std::string* cookies;
  std::string* returned_cookies;
  std::string* headers;
  std::string* location;
  bool no_redirect;
  Bytes* body_bytes;
  const std::string* proxy;
  std::string* raw_headers;
};

bool has_utf8_mark(const std::string& body, const std::string& raw) {
  // "utf-8" beginning within the first 499 bytes of the body, or anywhere in the headers.
  const size_t window = std::min<size_t>(body.size(), 498 + 5);
  if (memmem(body.data(), window, "utf-8", 5)) return true;
  return text_contains(raw, "utf-8", true);
}

Bytes perform(Args a, int followups, bool as_text) {
  // 1. Verb.
  const bool post = a.method == 1;
  std::string hdr = a.headers ? *a.headers : std::string();
  // 2. User agent.
  std::string agent;
  const bool ua_line = text_contains(hdr, "User-Agent:", true);
  if (ua_line) {
    agent = trim_spaces(text_between(hdr, "User-Agent:", "\r\n"));
    if (agent.empty()) agent = header_value(hdr);
  } else {
    agent = DEFAULT_USER_AGENT;
  }
  // 3. Open.
  CURL* h = curl_easy_init();
  if (!h) return {};
  std::unique_ptr<CURL, void (*)(CURL*)> guard(h, curl_easy_cleanup);
  const bool secure = to_lower_ascii(std::string_view(a.url).substr(0, 5)) == "https";
  const std::string host = url_host(a.url);
  const int port = url_port(a.url);
  if (host.empty() || port <= 0 || port > 65535) return {};
  const std::string target = std::string(secure ? "https://" : "http://") + host + ":" +
                             std::to_string(port) + escape_object(url_path(a.url));
  if (curl_easy_setopt(h, CURLOPT_URL, target.c_str()) != CURLE_OK) return {};

  // 4. Complete the header text.
  if (!text_contains(hdr, "Referer:"))
    hdr += (hdr.empty() ? "Referer: " : "\r\nReferer: ") + a.url;
  if (!text_contains(hdr, "Accept:")) hdr += "\r\nAccept: */*";
  if (!text_contains(hdr, "Accept-Language:")) hdr += "\r\nAccept-Language: zh-cn";
  if (!text_contains(hdr, "Content-Type:"))
    hdr += "\r\nContent-Type: application/x-www-form-urlencoded";
  if (a.cookies && !a.cookies->empty()) hdr += "\r\nCookie: " + *a.cookies;

  curl_slist* list = nullptr;
  for (const std::string& line : split_text(hdr, "\r\n"))
    if (!line.empty()) list = curl_slist_append(list, line.c_str());
  list = curl_slist_append(list, "Expect:");  // no 100-continue round trip
  std::unique_ptr<curl_slist, void (*)(curl_slist*)> list_guard(list, curl_slist_free_all);

  Transfer t;
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, list);
  if (!ua_line) curl_easy_setopt(h, CURLOPT_USERAGENT, agent.c_str());
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, on_body);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &t);
  curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, on_header);
  curl_easy_setopt(h, CURLOPT_HEADERDATA, &t);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 30L);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, 30L);
  curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(MAX_ANSWER_BYTES));
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, a.no_redirect ? 0L : 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
  // Only plain-HTTP requests go through the caller's proxy; never the environment's.
  std::string proxy_url = (a.proxy && !secure) ? "http://" + *a.proxy : std::string();
  curl_easy_setopt(h, CURLOPT_PROXY, proxy_url.c_str());
  std::shared_ptr<const std::string> pem;
  {
    std::lock_guard<std::mutex> g(ca_bundle().lock);
    pem = ca_bundle().pem;
  }
  if (pem) {
    curl_blob blob{const_cast<char*>(pem->data()), pem->size(), CURL_BLOB_NOCOPY};
    curl_easy_setopt(h, CURLOPT_CAINFO_BLOB, &blob);
  }
  // Without a cookie string of the caller's, the per-user store sends and keeps cookies.
  const bool use_store = a.cookies == nullptr;
  if (use_store) {
    curl_easy_setopt(h, CURLOPT_SHARE, store().share);
    curl_easy_setopt(h, CURLOPT_COOKIEFILE, "");
  }

  // 5. Send.
  Bytes local_body_bytes;
  Bytes& bb = a.body_bytes ? *a.body_bytes : local_body_bytes;
  bool filled_body_bytes = false;
  if (a.method != 0) {
    if (bb.empty()) {
      bb = text_of(a.body);
      filled_body_bytes = true;
    }
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(bb.size()));
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, bb.data());
    if (!post) curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, "GET");
  } else {
    curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
  }
  // 6. Read.
  CURLcode rc = curl_easy_perform(h);
  if (rc == CURLE_COULDNT_RESOLVE_HOST || rc == CURLE_COULDNT_CONNECT ||
      rc == CURLE_URL_MALFORMAT || rc == CURLE_UNSUPPORTED_PROTOCOL ||
      rc == CURLE_COULDNT_RESOLVE_PROXY || rc == CURLE_SSL_CONNECT_ERROR ||
      rc == CURLE_PEER_FAILED_VERIFICATION || (rc == CURLE_OPERATION_TIMEDOUT && t.header_block.empty())) {
    // No connection was made: the caller's variables stay as they were.
    if (filled_body_bytes) bb.clear();
    return {};
  }
  if (t.too_big) t.body.clear();
  if (use_store && text_contains(t.header_block, "Set-Cookie", false)) {
    std::lock_guard<std::mutex> g(store().admin_lock);
    save_store_locked(store());
  }
  guard.reset();  // 8. close before the header block is processed

  // 4 (cont.). The completed header text reaches the caller's variable.
  if (a.headers) *a.headers = hdr;
  // 7. Raw header block; one that does not fit the 5000-byte buffer is not read.
  std::string raw = t.header_block.size() + 1 <= size_t(RAW_HEADER_BUFFER) ? t.header_block
                                                                            : std::string();
  if (a.raw_headers) *a.raw_headers = raw;
  // 9-10. Scan it.
  std::string returned;
  std::string local_location;
  std::string& location = a.location ? *a.location : local_location;
  for (const std::string& line : split_text(raw, "\r\n")) {
    if (text_contains(line, "Location:")) location = header_value(line);
    if (text_contains(line, "Set-Cookie")) {
      returned += trim_spaces(text_between(line, "Set-Cookie:", ";"));
      returned += "; ";
    }
  }
  if (returned.size() >= 2 && returned.compare(returned.size() - 2, 2, "; ") == 0)
    returned.resize(returned.size() - 2);
  // 11. Merge into the caller's cookie string.
  if (a.cookies) merge_cookies(*a.cookies, returned);
  if (a.returned_cookies) *a.returned_cookies = returned;
  // 12.
  if (location.empty()) location = raw;
  // 13. A 301 the transport did not follow is followed here, a bounded number of times.
  if (text_between(raw, "HTTP/1.1 ", " Moved") == "301") {
    if (followups >= MAX_301_FOLLOWUPS) return {};
    Args next = a;
    next.url = location + url_path(a.url);
    location.clear();
    std::string carried_headers = hdr;
    if (!next.headers) next.headers = &carried_headers;
    if (!next.body_bytes) next.body_bytes = &local_body_bytes;
    if (!next.location) next.location = &local_location;
    return perform(next, followups + 1, as_text);
  }
  // 14. Result.
  if (!as_text) return std::move(t.body);
  if (has_utf8_mark(t.body, raw)) return text_of(utf8_bytes_to_gbk_bytes(t.body));
  return text_of(t.body);
}

}  // namespace

std::string http_request(const std::string& url, int method, const std::string& body,
                         std::string* cookies, std::string* returned_cookies, std::string* headers,
                         std::string* location, bool no_redirect, Bytes* body_bytes,
                         const std::string* proxy, std::string* raw_headers) {
  return perform(Args{url, method, body, cookies, returned_cookies, headers, location,
                      no_redirect, body_bytes, proxy, raw_headers},
                 0, true);
}

Bytes http_request_bytes(const std::string& url, int method, const std::string& body,
                         std::string* cookies, std::string* returned_cookies, std::string* headers,
                         std::string* location, bool no_redirect, Bytes* body_bytes,
                         const std::string* proxy, std::string* raw_headers) {
  return perform(Args{url, method, body, cookies, returned_cookies, headers, location,
                      no_redirect, body_bytes, proxy, raw_headers},
                 0, false);
}

void http_global_init() { (void)store(); }

void http_set_extra_ca_file(const std::string& path) {
  std::shared_ptr<const std::string> pem;
  if (!path.empty()) {
    std::string extra = read_file(path);
    if (!extra.empty()) {
      std::string sys = read_file("/etc/ssl/certs/ca-certificates.crt");
      pem = std::make_shared<const std::string>(sys + "\n" + extra);
    }
  }
  std::lock_guard<std::mutex> g(ca_bundle().lock);
  ca_bundle().pem = pem;
}

void cookie_store_set_file(const std::string& path) {
  CookieStore& st = store();
  std::lock_guard<std::mutex> g(st.admin_lock);
  st.file = path;
  if (path.empty()) return;
  struct stat sb;
  if (::stat(path.c_str(), &sb) == 0) {
    curl_easy_setopt(st.admin, CURLOPT_COOKIEFILE, path.c_str());
    curl_easy_setopt(st.admin, CURLOPT_COOKIELIST, "RELOAD");
    curl_easy_setopt(st.admin, CURLOPT_COOKIEFILE, "");
  }
}

std::string cookie_store_dump() {
  CookieStore& st = store();
  std::lock_guard<std::mutex> g(st.admin_lock);
  curl_slist* cookies = nullptr;
  std::string out;
  if (curl_easy_getinfo(st.admin, CURLINFO_COOKIELIST, &cookies) == CURLE_OK) {
    for (curl_slist* c = cookies; c; c = c->next) {
      out += c->data;
      out += "\n";
    }
    curl_slist_free_all(cookies);
  }
  return out;
}

void cookie_store_add(const std::string& line) {
  CookieStore& st = store();
  std::lock_guard<std::mutex> g(st.admin_lock);
  curl_easy_setopt(st.admin, CURLOPT_COOKIELIST, line.c_str());
  save_store_locked(st);
}

void cookie_store_clear() {
  CookieStore& st = store();
  std::lock_guard<std::mutex> g(st.admin_lock);
  curl_easy_setopt(st.admin, CURLOPT_COOKIELIST, "ALL");
  save_store_locked(st);
}

}  // namespace tavlo
