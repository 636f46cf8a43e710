#include "percent.h"

#include "text_codecs.h"

namespace tavlo {

namespace {
bool unreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.';
}
// 0-15 for a hex digit of either case, -1 otherwise.
int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
}  // namespace

std::string percent_encode(std::string_view text, bool as_utf8) {
  static const char kHex[] = "0123456789ABCDEF";
  const std::string bytes = as_utf8 ? gbk_to_utf8(text) : text_of(text);
  std::string out;
  out.reserve(bytes.size() * 3);
  for (unsigned char c : bytes) {
    if (unreserved(c)) {
      out.push_back(char(c));
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    }
  }
  return out;
}

std::string percent_decode(std::string_view text, bool from_utf8) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '%') {
      out.push_back(text[i++]);
      continue;
    }
    // A malformed escape (a non-hex digit, or cut short at the end) gives "?": a zero
    // byte would end the text. The two bytes after "%" are consumed, never more than exist.
    int hi = i + 1 < text.size() ? hex_value(text[i + 1]) : -1;
    int lo = i + 2 < text.size() ? hex_value(text[i + 2]) : -1;
    out.push_back(hi < 0 || lo < 0 ? '?' : char(hi * 16 + lo));
    i += 3;
  }
  if (from_utf8) return utf8_to_gbk(out);
  return out;
}

}  // namespace tavlo
