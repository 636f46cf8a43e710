// The one way to the network: a blocking HTTP request over libcurl, with the program's
// header completion, cookie harvest and merge, Location and 301 rules.
// Optional and out arguments are pointers: nullptr means "absent".
#pragma once

#include <string>

#include "text_codecs.h"

namespace tavlo {

inline constexpr const char* DEFAULT_USER_AGENT =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; VX3KP; .NET CLR 2.0.50727; "
    ".NET CLR 3.0.04506.648; .NET CLR 3.5.21022)";

// Bounds against hostile servers.
inline constexpr int MAX_301_FOLLOWUPS = 5;
inline constexpr long long MAX_ANSWER_BYTES = 64LL * 1024 * 1024;
inline constexpr int RAW_HEADER_BUFFER = 5000;

// Text form: the body converted to GBK when it looks like UTF-8, up to its first zero byte.
std::string http_request(const std::string& url, int method = 0, const std::string& body = {},
                         std::string* cookies = nullptr, std::string* returned_cookies = nullptr,
                         std::string* headers = nullptr, std::string* location = nullptr,
                         bool no_redirect = false, Bytes* body_bytes = nullptr,
                         const std::string* proxy = nullptr, std::string* raw_headers = nullptr);

// Bytes form: the body exactly as the server sent it.
Bytes http_request_bytes(const std::string& url, int method = 0, const std::string& body = {},
                         std::string* cookies = nullptr, std::string* returned_cookies = nullptr,
                         std::string* headers = nullptr, std::string* location = nullptr,
                         bool no_redirect = false, Bytes* body_bytes = nullptr,
                         const std::string* proxy = nullptr, std::string* raw_headers = nullptr);

// Header, cookie and URL helpers.
std::string header_value(std::string_view line);
std::string url_host(std::string_view url, bool domain_only = false, bool keep_port = false);
int url_port(std::string_view url);
std::string url_path(std::string_view url);
std::string merge_cookies(std::string& kept, std::string& fresh);
std::string cookie_name(std::string_view item);
bool has_cookie_named(const TextList& items, std::string_view name);
std::string join_unique(std::string_view text, std::string_view sep);
int index_of_text(const TextList& items, std::string_view text);

// The per-user cookie store shared by every request that does not supply `cookies`.
// Call once in main, before any thread starts (also runs curl_global_init).
void http_global_init();
// An extra certificate authority to trust for HTTPS besides the system ones ("" = none).
void http_set_extra_ca_file(const std::string& path);
// Where the store is persisted (Netscape cookie file, mode 0600); "" = memory only.
// Loads the file if it exists.
void cookie_store_set_file(const std::string& path);
// The store's cookies as Netscape-format lines (for the browser adapter).
std::string cookie_store_dump();
// Adds Netscape-format lines or "Set-Cookie:" lines to the store (for tests and tools).
void cookie_store_add(const std::string& line);
void cookie_store_clear();

}  // namespace tavlo
