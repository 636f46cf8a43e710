// Header, cookie and URL helpers of the request engine.
#include "http_request.h"

namespace tavlo {

std::string header_value(std::string_view line) {
  int c = text_find(line, ":");
  if (c < 0) return {};
  return trim_spaces(line.substr(std::size_t(c)));
}

std::string url_host(std::string_view url, bool domain_only, bool keep_port) {
  std::string t = to_lower_ascii(url);
  if (t.empty() || t.back() != '/') t.push_back('/');
  std::string scheme = "https://";
  if (t.rfind("https://", 0) != 0) {
    scheme = "http://";
    if (!text_contains(t, "http://")) t = "http://" + t;
  }
  std::string host = text_between(t, scheme, "/", 1, true);
  if (domain_only) {
    TextList labels = split_text(host, ".");
    if (labels.size() >= 2) host = labels[labels.size() - 2] + "." + labels.back();
  }
  if (keep_port) return host;
  int c = text_find(host, ":");
  return c > 0 ? host.substr(0, std::size_t(c - 1)) : host;
}

int url_port(std::string_view url) {
  std::string host = url_host(url, false, true);
  int c = text_find_last(host, ":");
  if (c < 0) return to_lower_ascii(url.substr(0, 5)) == "https" ? 443 : 80;
  long long n = 0;
  for (std::size_t i = std::size_t(c); i < host.size() && host[i] >= '0' && host[i] <= '9'; ++i) {
    n = n * 10 + (host[i] - '0');
    if (n > 0x7FFFFFFF) return 0;  // no such port; never overflow
  }
  return int(n);
}

std::string url_path(std::string_view url) {
  std::string host = url_host(url);
  // The host is looked for after the scheme, so a host such as "h" is not found inside
  // "http" itself.
  int scheme = text_find(url, "://");
  int h = text_find(url, host, scheme > 0 ? scheme + 3 : 1, true);
  if (h < 0) h = 1;
  int slash = text_find(url, "/", h);
  if (slash < 0) return "/";
  return std::string(url.substr(std::size_t(slash - 1)));
}

std::string cookie_name(std::string_view item) {
  int eq = text_find(item, "=");
  return trim_spaces(eq < 0 ? item : item.substr(0, std::size_t(eq - 1)));
}

bool has_cookie_named(const TextList& items, std::string_view name) {
  for (const std::string& it : items)
    if (cookie_name(it) == name) return true;
  return false;
}

int index_of_text(const TextList& items, std::string_view text) {
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i] == text) return int(i + 1);
  return -1;
}

std::string join_unique(std::string_view text, std::string_view sep) {
  TextList kept;
  for (std::string& it : split_text(text, sep))
    if (index_of_text(kept, it) < 0) kept.push_back(std::move(it));
  std::string out;
  for (const std::string& it : kept) {
    out += it;
    out += sep;
  }
  if (!out.empty()) out.resize(out.size() - sep.size());
  return out;
}

std::string merge_cookies(std::string& kept, std::string& fresh) {
  kept = remove_spaces(kept);
  fresh = remove_spaces(fresh);
  TextList merged = split_text(fresh, ";");
  for (std::string& old : split_text(kept, ";"))
    if (!has_cookie_named(merged, cookie_name(old))) merged.push_back(std::move(old));
  std::string k;
  for (const std::string& it : merged) {
    if (it.size() >= 8 && it.compare(it.size() - 8, 8, "=deleted") == 0) continue;
    k += it;
    k += "; ";
  }
  if (!k.empty()) k.resize(k.size() - 2);
  kept = join_unique(k, "; ");
  return kept;
}

}  // namespace tavlo
