// unescape_unicode without a script engine. The result is the one JScript gives when the
// protected text is the body of a single-quoted string literal passed to unescape():
// the literal as the classic JScript lexer reads it, Annex B unescape, the conversion
// back to GBK. A literal that lexer would reject gives "".
//
// The protecting and restoring steps work on the decoded characters rather than on the
// GBK bytes. For two-byte characters that is the same thing (the bytes we look for are
// never trail bytes), but a broken lead byte decodes to U+FFFD followed by the next byte
// as its own character, and an apostrophe there must still be protected or it would end
// the literal early; and a single-byte character at or above 0x80 (the euro sign) must
// not swallow the quote or marker after it.
#include <cstdint>
#include <string>
#include <string_view>

#include "text_codecs.h"

namespace tavlo {

namespace {

using U16 = std::u16string;

constexpr char16_t CR = u'\r';
constexpr char16_t LF = u'\n';
constexpr char16_t LS = 0x2028;
constexpr char16_t PS = 0x2029;
constexpr char16_t RIGHT_QUOTE = 0x2019;  // GBK A1 AF

bool is_line_terminator(char16_t c) { return c == CR || c == LF || c == LS || c == PS; }

int hex_value(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

bool is_octal(char16_t c) { return c >= u'0' && c <= u'7'; }

U16 decode_gbk(std::string_view text) {
  const Bytes le = text_to_utf16(text, CP_GBK);
  U16 out;
  out.reserve(le.size() / 2);
  for (size_t i = 0; i + 1 < le.size(); i += 2) {
    const char16_t c = static_cast<char16_t>(static_cast<unsigned char>(le[i]) |
                                             (static_cast<unsigned char>(le[i + 1]) << 8));
    if (c == 0) break;
    out.push_back(c);
  }
  return out;
}

std::string encode_gbk(const U16& s) {
  Bytes le;
  le.reserve(s.size() * 2 + 2);
  for (char16_t c : s) {
    le.push_back(static_cast<char>(c & 0xFF));
    le.push_back(static_cast<char>(c >> 8));
  }
  le.append(2, '\0');
  return utf16_to_text(le, CP_GBK);
}

// CR LF -> "{$}", a leading CR dropped, "\u" -> "%u", "'" -> U+2019.
U16 protect(const U16& in) {
  U16 crlf;
  crlf.reserve(in.size() + 8);
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] == CR && i + 1 < in.size() && in[i + 1] == LF) {
      crlf += u"{$}";
      ++i;
    } else {
      crlf.push_back(in[i]);
    }
  }
  size_t from = (!crlf.empty() && crlf[0] == CR) ? 1 : 0;
  U16 out;
  out.reserve(crlf.size());
  for (size_t i = from; i < crlf.size(); ++i) {
    const char16_t c = crlf[i];
    if (c == u'\\' && i + 1 < crlf.size() && crlf[i + 1] == u'u') {
      out += u"%u";
      ++i;
    } else if (c == u'\'') {
      out.push_back(RIGHT_QUOTE);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

// The value of '<body>' as the classic JScript lexer reads it; false when it would not
// parse. The body never holds an apostrophe here, so the literal ends at the appended
// quote unless the body ends in an unpaired backslash, which escapes that quote and
// leaves the literal unterminated.
bool read_literal(const U16& body, U16& value) {
  value.clear();
  value.reserve(body.size());
  const size_t n = body.size();
  size_t i = 0;
  while (i < n) {
    const char16_t c = body[i];
    if (c == u'\'' || is_line_terminator(c)) return false;
    if (c != u'\\') {
      value.push_back(c);
      ++i;
      continue;
    }
    if (i + 1 >= n) return false;
    const char16_t e = body[i + 1];
    i += 2;
    switch (e) {
      case u'b': value.push_back(0x08); break;
      case u'f': value.push_back(0x0C); break;
      case u'n': value.push_back(0x0A); break;
      case u'r': value.push_back(0x0D); break;
      case u't': value.push_back(0x09); break;
      // JScript 5.x has no \v: it reads as a plain "v".
      case u'v': value.push_back(u'v'); break;
      case u'x':
        if (i + 1 < n && hex_value(body[i]) >= 0 && hex_value(body[i + 1]) >= 0) {
          value.push_back(static_cast<char16_t>(hex_value(body[i]) * 16 + hex_value(body[i + 1])));
          i += 2;
        } else {
          return false;  // JScript rejects an incomplete \x (other engines read "x")
        }
        break;
      case u'u':
        if (i + 3 < n && hex_value(body[i]) >= 0 && hex_value(body[i + 1]) >= 0 &&
            hex_value(body[i + 2]) >= 0 && hex_value(body[i + 3]) >= 0) {
          value.push_back(static_cast<char16_t>((hex_value(body[i]) << 12) |
                                                (hex_value(body[i + 1]) << 8) |
                                                (hex_value(body[i + 2]) << 4) |
                                                hex_value(body[i + 3])));
          i += 4;
        } else {
          return false;  // as for \x; cannot occur, every "\u" became "%u" above
        }
        break;
      case CR:
        // Line continuation: the backslash and the line end vanish.
        if (i < n && body[i] == LF) ++i;
        break;
      case LF:
      case LS:
      case PS:
        break;
      default:
        if (is_octal(e)) {
          // \0 .. \377: a 0-3 takes up to two more octal digits, a 4-7 one more.
          unsigned v = e - u'0';
          const int more = e <= u'3' ? 2 : 1;
          for (int k = 0; k < more && i < n && is_octal(body[i]); ++k, ++i)
            v = v * 8 + (body[i] - u'0');
          value.push_back(static_cast<char16_t>(v));
        } else {
          value.push_back(e);  // any other character stands for itself, \8 and \9 included
        }
    }
  }
  return true;
}

// ECMA-262 Annex B unescape.
U16 annex_b_unescape(const U16& s) {
  U16 out;
  out.reserve(s.size());
  const size_t n = s.size();
  for (size_t k = 0; k < n; ++k) {
    const char16_t c = s[k];
    if (c == u'%') {
      if (k + 6 <= n && s[k + 1] == u'u' && hex_value(s[k + 2]) >= 0 &&
          hex_value(s[k + 3]) >= 0 && hex_value(s[k + 4]) >= 0 && hex_value(s[k + 5]) >= 0) {
        out.push_back(static_cast<char16_t>((hex_value(s[k + 2]) << 12) |
                                            (hex_value(s[k + 3]) << 8) |
                                            (hex_value(s[k + 4]) << 4) | hex_value(s[k + 5])));
        k += 5;
        continue;
      }
      if (k + 3 <= n && hex_value(s[k + 1]) >= 0 && hex_value(s[k + 2]) >= 0) {
        out.push_back(static_cast<char16_t>((hex_value(s[k + 1]) << 4) | hex_value(s[k + 2])));
        k += 2;
        continue;
      }
    }
    out.push_back(c);
  }
  return out;
}

// U+2019 back to an apostrophe, then "{$}" back to CR LF. Done on the characters, not
// on the GBK bytes: single-byte characters of code page 936 at or above 0x80 (the euro
// sign 0x80, 0xFF) would otherwise pair with the next byte and hide a quote or marker.
U16 restore(const U16& s) {
  U16 out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == RIGHT_QUOTE) {
      out.push_back(u'\'');
    } else if (s[i] == u'{' && i + 2 < s.size() && s[i + 1] == u'$' && s[i + 2] == u'}') {
      out += u"\r\n";
      i += 2;
    } else {
      out.push_back(s[i]);
    }
  }
  return out;
}

}  // namespace

std::string unescape_unicode(std::string_view text) {
  const size_t zero = text.find('\0');
  if (zero != std::string_view::npos) text = text.substr(0, zero);

  U16 value;
  if (!read_literal(protect(decode_gbk(text)), value)) return {};

  return encode_gbk(restore(annex_b_unescape(value)));
}

}  // namespace tavlo
