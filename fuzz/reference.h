// Slow, obviously-correct models of the extractors for differential fuzzing: every
// search walks the text character by character from its first byte.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ref {

inline size_t char_len(std::string_view s, size_t i) {
  return (static_cast<unsigned char>(s[i]) >= 0x80 && i + 1 < s.size()) ? 2 : 1;
}

inline unsigned char fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

// Needle at offset i of text; ASCII letters of single-byte characters compared without case.
inline bool match_at(std::string_view text, size_t i, std::string_view needle, bool ignore_case) {
  if (i + needle.size() > text.size()) return false;
  size_t j = 0;
  while (j < needle.size()) {
    const size_t len = char_len(needle, j);
    if (len == 1) {
      const unsigned char a = text[i + j], b = needle[j];
      if (ignore_case ? fold(a) != fold(b) : a != b) return false;
    } else if (text.substr(i + j, 2) != needle.substr(j, 2)) {
      return false;
    }
    j += len;
  }
  return true;
}

// 1-based position of the first match on a character boundary at or after `start`, or -1.
inline int find(std::string_view text, std::string_view needle, int start, bool ignore_case) {
  if (needle.empty()) return -1;
  if (start < 1) start = 1;
  for (size_t i = 0; i < text.size(); i += char_len(text, i))
    if (i + 1 >= static_cast<size_t>(start) && match_at(text, i, needle, ignore_case))
      return static_cast<int>(i + 1);
  return -1;
}

inline std::string replace(std::string_view s, std::string_view from, std::string_view to) {
  std::string out;
  size_t i = 0;
  while (i < s.size()) {
    if (!from.empty() && s.substr(i, from.size()) == from) {
      out += to;
      i += from.size();
    } else {
      const size_t len = char_len(s, i);
      out += s.substr(i, len);
      i += len;
    }
  }
  return out;
}

inline std::string piece(std::string_view text, int from, int end) {
  return from <= end ? std::string(text.substr(from - 1, end - from)) : std::string();
}

inline std::string text_between(std::string_view text, std::string start, std::string end,
                                int start_position, bool case_sensitive,
                                std::string_view quote_placeholder) {
  start = replace(start, quote_placeholder, "\"");
  end = replace(end, quote_placeholder, "\"");
  const int p = find(text, start, start_position, !case_sensitive);
  if (p < 0) return {};
  const int from = p + static_cast<int>(start.size());
  const int e = find(text, end, from, !case_sensitive);
  if (e < 0) return {};
  return piece(text, from, e);
}

inline std::vector<std::string> text_between_all(std::string_view text, std::string_view start,
                                                 std::string_view end, bool find_all) {
  std::vector<std::string> pieces;
  const int sl = static_cast<int>(start.size()), el = static_cast<int>(end.size());
  int s = find(text, start, 1, false);
  int e = 0;
  while (s > 0 && s > e) {
    e = find(text, end, s + sl, false);
    if (e < 0 || e <= s) break;
    const int again = find(text, start, s + sl, false);
    if (again > s && again < e) s = again;
    pieces.push_back(piece(text, s + sl, e));
    if (!find_all) break;
    s = find(text, start, e + el, false);
  }
  return pieces;
}

}  // namespace ref
