#include "text.h"

#include <cstdint>
#include <cstring>

#include "text_codecs.h"

namespace tavlo {
namespace {

using uchar = unsigned char;

inline bool is_lead(uchar c) { return c >= 0x80; }
inline uchar fold(uchar c) { return (c >= 'A' && c <= 'Z') ? uchar(c + 32) : c; }

using BoundaryCursor = TextCursor;

// True when 0-based offset p starts a character. A byte below 0x80 always ends a
// character, so the run of high bytes just before p decides by its parity; the walk back
// stops early at the last boundary this search already established.
bool at_boundary(const uchar* s, std::size_t p, BoundaryCursor& cur) {
  const std::size_t floor = cur.known <= p ? cur.known : 0;
  std::size_t i = p;
  // Eight bytes at a time through long runs of two-byte text, then byte by byte.
  while (i - floor >= 8) {
    std::uint64_t w;
    std::memcpy(&w, s + i - 8, 8);
    if ((w & 0x8080808080808080ULL) != 0x8080808080808080ULL) break;
    i -= 8;
  }
  while (i > floor && is_lead(s[i - 1])) --i;
  const bool yes = ((p - i) & 1) == 0;
  cur.known = yes ? p : p - 1;
  return yes;
}

bool equal_folded(const uchar* t, const uchar* n, std::size_t len) {
  bool trail = false;  // the needle's character structure decides which bytes fold
  for (std::size_t j = 0; j < len; ++j) {
    uchar a = t[j], b = n[j];
    if (trail) {
      if (a != b) return false;
      trail = false;
    } else if (is_lead(b)) {
      if (a != b) return false;
      trail = true;
    } else if (fold(a) != fold(b)) {
      return false;
    }
  }
  return true;
}

bool has_ascii_letter(std::string_view s) {
  for (uchar c : s)
    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') return true;
  return false;
}

// 0-based offset of the first boundary match at or after `from`, or npos.
std::size_t find_from(std::string_view text, std::string_view needle, std::size_t from,
                      bool ignore_case, BoundaryCursor& cur) {
  const std::size_t n = text.size(), m = needle.size();
  if (m == 0 || from >= n || m > n - from) return std::string_view::npos;
  const uchar* s = reinterpret_cast<const uchar*>(text.data());
  const uchar* nd = reinterpret_cast<const uchar*>(needle.data());
  if (!ignore_case || !has_ascii_letter(needle)) {
    std::size_t p = from;
    while (p + m <= n) {
      const void* hit = memmem(s + p, n - p, nd, m);
      if (!hit) return std::string_view::npos;
      std::size_t q = static_cast<const uchar*>(hit) - s;
      if (at_boundary(s, q, cur)) return q;
      p = q + 1;
    }
    return std::string_view::npos;
  }
  const uchar first = nd[0];
  const bool letter = fold(first) >= 'a' && fold(first) <= 'z';
  const uchar lo = fold(first), up = letter ? uchar(lo - 32) : first;
  std::size_t p = from;
  while (p + m <= n) {
    const uchar* a = static_cast<const uchar*>(std::memchr(s + p, lo, n - m + 1 - p));
    const uchar* b = letter ? static_cast<const uchar*>(std::memchr(s + p, up, n - m + 1 - p))
                            : nullptr;
    const uchar* hit = a && b ? (a < b ? a : b) : (a ? a : b);
    if (!hit) return std::string_view::npos;
    std::size_t q = hit - s;
    if (equal_folded(s + q, nd, m) && at_boundary(s, q, cur)) return q;
    p = q + 1;
  }
  return std::string_view::npos;
}

}  // namespace

int text_find(std::string_view text, std::string_view needle, int start, bool ignore_case,
              TextCursor& cursor) {
  if (start < 1) start = 1;
  std::size_t q = find_from(text, needle, std::size_t(start - 1), ignore_case, cursor);
  return q == std::string_view::npos ? -1 : int(q + 1);
}

int text_find(std::string_view text, std::string_view needle, int start, bool ignore_case) {
  TextCursor cur;
  return text_find(text, needle, start, ignore_case, cur);
}

int text_find_last(std::string_view text, std::string_view needle, bool ignore_case) {
  int last = -1;
  BoundaryCursor cur;
  std::size_t from = 0;
  for (;;) {
    std::size_t q = find_from(text, needle, from, ignore_case, cur);
    if (q == std::string_view::npos) return last;
    last = int(q + 1);
    from = q + 1;
  }
}

bool text_contains(std::string_view text, std::string_view needle, bool ignore_case) {
  return text_find(text, needle, 1, ignore_case) > 0;
}

namespace {
// Changes ASCII letters that are characters of their own; the second byte of a two-byte
// character is left alone even when it looks like a letter.
template <typename F>
std::string map_ascii(std::string_view s, F f) {
  std::string r(s);
  for (std::size_t i = 0; i < r.size(); ++i) {
    if (is_lead(uchar(r[i]))) {
      ++i;
      continue;
    }
    r[i] = f(r[i]);
  }
  return r;
}
}  // namespace

std::string to_lower_ascii(std::string_view s) {
  return map_ascii(s, [](char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; });
}

std::string to_upper_ascii(std::string_view s) {
  return map_ascii(s, [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; });
}

namespace {
// Length of the space character at offset i (of a boundary), or 0.
std::size_t space_at(std::string_view s, std::size_t i) {
  if (s[i] == ' ') return 1;
  if (uchar(s[i]) == 0xA1 && i + 1 < s.size() && uchar(s[i + 1]) == 0xA1) return 2;
  return 0;
}
std::size_t char_len(std::string_view s, std::size_t i) {
  return (is_lead(uchar(s[i])) && i + 1 < s.size()) ? 2 : 1;
}
}  // namespace

std::string trim_left_spaces(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t k = space_at(s, i);
    if (!k) break;
    i += k;
  }
  return std::string(s.substr(i));
}

std::string trim_right_spaces(std::string_view s) {
  // Walk forward so that A1 A1 is only taken on a character boundary.
  std::size_t i = 0, keep = 0;
  while (i < s.size()) {
    std::size_t k = space_at(s, i);
    if (k) {
      i += k;
    } else {
      i += char_len(s, i);
      keep = i;
    }
  }
  return std::string(s.substr(0, keep));
}

std::string trim_spaces(std::string_view s) { return trim_right_spaces(trim_left_spaces(s)); }

std::string remove_spaces(std::string_view s) {
  std::string r;
  r.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t k = space_at(s, i);
    if (k) {
      i += k;
      continue;
    }
    std::size_t l = char_len(s, i);
    r.append(s.substr(i, l));
    i += l;
  }
  return r;
}

TextList split_text(std::string_view s, std::string_view sep) {
  TextList out;
  if (s.empty()) return out;
  if (sep.empty()) {
    out.emplace_back(s);
    return out;
  }
  BoundaryCursor cur;
  std::size_t from = 0;
  for (;;) {
    std::size_t q = find_from(s, sep, from, false, cur);
    if (q == std::string_view::npos) break;
    out.emplace_back(s.substr(from, q - from));
    from = q + sep.size();
  }
  if (from < s.size()) out.emplace_back(s.substr(from));
  return out;
}

std::string replace_all(std::string_view s, std::string_view from, std::string_view to,
                        bool ignore_case) {
  if (from.empty()) return std::string(s);
  std::string r;
  r.reserve(s.size());
  BoundaryCursor cur;
  std::size_t pos = 0;
  for (;;) {
    std::size_t q = find_from(s, from, pos, ignore_case, cur);
    if (q == std::string_view::npos) break;
    r.append(s.substr(pos, q - pos));
    r.append(to);
    pos = q + from.size();
  }
  r.append(s.substr(pos));
  return r;
}

std::string text_of(std::string_view bytes) {
  std::size_t z = bytes.find('\0');
  return std::string(z == std::string_view::npos ? bytes : bytes.substr(0, z));
}

std::string text_left(std::string_view s, int n) {
  if (n <= 0) return {};
  return std::string(s.substr(0, std::size_t(n)));
}

std::string text_right(std::string_view s, int n) {
  if (n <= 0) return {};
  std::size_t k = std::min<std::size_t>(std::size_t(n), s.size());
  return std::string(s.substr(s.size() - k));
}

std::string text_mid(std::string_view s, int start, int count) {
  if (start < 1) start = 1;
  if (std::size_t(start - 1) >= s.size()) return {};
  std::string_view rest = s.substr(std::size_t(start - 1));
  if (count < 0) return std::string(rest);
  return std::string(rest.substr(0, std::size_t(count)));
}

std::string gbk(std::string_view utf8_literal) { return utf8_to_gbk(utf8_literal); }

}  // namespace tavlo
