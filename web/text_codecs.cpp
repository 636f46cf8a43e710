#include "text_codecs.h"

#include <unicode/normalizer2.h>
#include <unicode/ucnv.h>
#include <unicode/utf16.h>

#include <memory>
#include <mutex>

namespace tavlo {
namespace {

// ---- ICU plumbing ----------------------------------------------------------------

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// One converter per thread and code page: ICU converters are not thread-safe.
UConverter* converter(int code_page) {
  thread_local ConverterPtr gbk_cnv, utf8_cnv;
  ConverterPtr& slot = code_page == CP_UTF8 ? utf8_cnv : gbk_cnv;
  if (!slot) {
    UErrorCode err = U_ZERO_ERROR;
    slot.reset(ucnv_open(code_page == CP_UTF8 ? "UTF-8" : "windows-936", &err));
    if (U_FAILURE(err)) return nullptr;
    err = U_ZERO_ERROR;
    ucnv_setSubstChars(slot.get(), "?", 1, &err);
  }
  ucnv_reset(slot.get());
  return slot.get();
}

std::u16string decode(std::string_view bytes, int code_page) {
  std::u16string out;
  if (bytes.empty()) return out;
  UConverter* c = converter(code_page);
  if (!c) return out;
  out.resize(bytes.size() + 1);
  UErrorCode err = U_ZERO_ERROR;
  int32_t n = ucnv_toUChars(c, out.data(), int32_t(out.size()), bytes.data(),
                            int32_t(bytes.size()), &err);
  if (err == U_BUFFER_OVERFLOW_ERROR) {
    out.resize(std::size_t(n) + 1);
    err = U_ZERO_ERROR;
    n = ucnv_toUChars(converter(code_page), out.data(), int32_t(out.size()), bytes.data(),
                      int32_t(bytes.size()), &err);
  }
  if (U_FAILURE(err) && err != U_STRING_NOT_TERMINATED_WARNING) return {};
  out.resize(std::size_t(n));
  return out;
}

std::string encode(std::u16string_view units, int code_page) {
  std::string out;
  if (units.empty()) return out;
  UConverter* c = converter(code_page);
  if (!c) return out;
  out.resize(units.size() * std::size_t(ucnv_getMaxCharSize(c)) + 1);
  UErrorCode err = U_ZERO_ERROR;
  int32_t n = ucnv_fromUChars(c, out.data(), int32_t(out.size()), units.data(),
                              int32_t(units.size()), &err);
  if (err == U_BUFFER_OVERFLOW_ERROR) {
    out.resize(std::size_t(n) + 1);
    err = U_ZERO_ERROR;
    n = ucnv_fromUChars(converter(code_page), out.data(), int32_t(out.size()), units.data(),
                        int32_t(units.size()), &err);
  }
  if (U_FAILURE(err) && err != U_STRING_NOT_TERMINATED_WARNING) return {};
  out.resize(std::size_t(n));
  return out;
}

Bytes units_to_bytes(std::u16string_view u) {
  Bytes b;
  b.resize(u.size() * 2);
  for (std::size_t i = 0; i < u.size(); ++i) {
    b[2 * i] = char(u[i] & 0xFF);
    b[2 * i + 1] = char(u[i] >> 8);
  }
  return b;
}

// Joins a base character with the combining marks that follow it where a precomposed
// form exists; nothing else is normalised (compatibility ideographs stay as they are).
std::u16string compose_marks(const std::u16string& in) {
  UErrorCode err = U_ZERO_ERROR;
  const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(err);
  if (U_FAILURE(err)) return in;
  std::u16string out;
  out.reserve(in.size());
  std::size_t i = 0;
  const std::size_t n = in.size();
  while (i < n) {
    UChar32 base;
    U16_NEXT(in.data(), i, n, base);
    for (;;) {
      if (i >= n) break;
      std::size_t j = i;
      UChar32 mark;
      U16_NEXT(in.data(), j, n, mark);
      UChar32 composed = nfc->composePair(base, mark);
      if (composed < 0) break;
      base = composed;
      i = j;
    }
    if (base <= 0xFFFF) {
      out.push_back(char16_t(base));
    } else {
      out.push_back(char16_t(U16_LEAD(base)));
      out.push_back(char16_t(U16_TRAIL(base)));
    }
  }
  return out;
}

std::string cut_at_zero(std::string s) {
  std::size_t z = s.find('\0');
  if (z != std::string::npos) s.resize(z);
  return s;
}

std::u16string units_from_bytes(std::string_view utf16le) {
  std::u16string u;
  for (std::size_t i = 0; i + 1 < utf16le.size(); i += 2) {
    char16_t c = char16_t(uint8_t(utf16le[i]) | (uint8_t(utf16le[i + 1]) << 8));
    if (c == 0) break;
    u.push_back(c);
  }
  return u;
}

int effective(int code_page) { return code_page == CP_UTF8 ? CP_UTF8 : CP_GBK; }

}  // namespace

// ---- conversions -----------------------------------------------------------------

Bytes utf8_bytes_to_utf16(std::string_view utf8) { return units_to_bytes(decode(utf8, CP_UTF8)); }

Bytes utf8_bytes_to_gbk_bytes(std::string_view utf8) {
  return cut_at_zero(encode(compose_marks(decode(utf8, CP_UTF8)), CP_GBK));
}

Bytes text_to_utf16(std::string_view text, int code_page) {
  std::string t = text_of(text);
  Bytes b = units_to_bytes(decode(t, effective(code_page)));
  b.append(2, '\0');
  return b;
}

std::string utf16_to_text(std::string_view utf16le, int code_page) {
  return cut_at_zero(encode(units_from_bytes(utf16le), effective(code_page)));
}

std::string gbk_to_utf8(std::string_view gbk_text) {
  return cut_at_zero(encode(decode(text_of(gbk_text), CP_GBK), CP_UTF8));
}

std::string utf8_to_gbk(std::string_view utf8_text) {
  return cut_at_zero(encode(decode(text_of(utf8_text), CP_UTF8), CP_GBK));
}

// ---- extraction ------------------------------------------------------------------

namespace {
std::string quote_marker(std::string_view marker) {
  static const std::string kQuote = gbk("#引号");
  if (marker.find('#') == std::string_view::npos) return std::string(marker);
  return replace_all(marker, kQuote, "\"");
}
}  // namespace

std::string text_between(std::string_view text, std::string_view start_marker,
                         std::string_view end_marker, int start_position, bool case_sensitive) {
  const std::string sm = quote_marker(start_marker), em = quote_marker(end_marker);
  int p = text_find(text, sm, start_position, !case_sensitive);
  if (p < 0) return {};
  int piece = p + int(sm.size());
  int e = text_find(text, em, piece, !case_sensitive);
  if (e < 0) return {};
  return std::string(text.substr(std::size_t(piece - 1), std::size_t(e - piece)));
}

std::string text_between_all(std::string_view text, std::string_view start_marker,
                             std::string_view end_marker, TextList& pieces, bool find_all) {
  pieces.clear();
  const int sl = int(start_marker.size()), el = int(end_marker.size());
  // Start-marker and end-marker searches each move forward: one cursor apiece.
  TextCursor starts, ends;
  int s = text_find(text, start_marker, 1, false, starts);
  int e = 0;
  while (s > 0 && s > e) {
    e = text_find(text, end_marker, s + sl, false, ends);
    if (e < 0 || e <= s) break;
    int again = text_find(text, start_marker, s + sl, false, starts);
    if (again > s && again < e) s = again;
    int from = s + sl;
    // A start marker overlapping the end marker leaves nothing between them.
    pieces.emplace_back(from <= e ? text.substr(std::size_t(from - 1), std::size_t(e - from))
                                  : std::string_view());
    if (!find_all) break;
    // The look-ahead already found the next start marker when it lies past this end
    // marker; searching again would find the same one.
    s = (again < 0 || again >= e + el) ? again : text_find(text, start_marker, e + el, false, starts);
  }
  return pieces.empty() ? std::string() : pieces.front();
}

}  // namespace tavlo
