// unescape_unicode: the text read as a JScript string literal, then unescape(), in GBK.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text.h"
#include "text_codecs.h"

namespace tavlo {
namespace {

struct Case {
  const char* what;
  std::string input;
  std::string expected;
};

std::string hex(const std::string& s) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : s) {
    out += digits[c >> 4];
    out += digits[c & 15];
    out += ' ';
  }
  return out;
}

void run(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    const std::string got = unescape_unicode(c.input);
    EXPECT_EQ(got, c.expected) << c.what << "\n  input:    " << hex(c.input)
                               << "\n  got:      " << hex(got)
                               << "\n  expected: " << hex(c.expected);
  }
}

TEST(UnescapeUnicode, DocumentedExamples) {
  run({
      {"unicode escapes", "\\u4e2d\\u6587", gbk("中文")},
      {"apostrophe survives", "it's", "it's"},
      {"percent escape", "50%25", "50%"},
      {"escaped slash", "a\\/b", "a/b"},
      {"marker becomes CR LF", "x{$}y", "x\r\ny"},
      {"right quote becomes apostrophe", gbk("’"), "'"},
      {"\\u without hex digits", "\\user", "%user"},
      {"CR LF kept in place", "a\r\nb\r\n", "a\r\nb\r\n"},
      {"empty", "", ""},
  });
}

TEST(UnescapeUnicode, TextsTheLiteralRejectsGiveEmpty) {
  run({
      {"bare LF", "a\nb", ""},
      {"bare LF alone", "\n", ""},
      {"bare CR inside", "a\rb", ""},
      {"LF before CR", "a\n\rb", ""},
      {"two leading CRs: only one is removed", "\r\rab", ""},
      {"trailing single backslash", "ab\\", ""},
      {"trailing three backslashes", "ab\\\\\\", ""},
      {"only a backslash", "\\", ""},
      {"valid escapes do not rescue a bare LF", "\\u4e2d\n", ""},
      // JScript rejects a \x without two hex digits (other engines read a plain "x").
      {"one hex digit at the end", "ab\\x4", ""},
      {"non-hex after x", "\\xZZ", ""},
      {"one hex digit then non-hex", "\\x4g", ""},
  });
}

TEST(UnescapeUnicode, CarriageReturnsAndMarkers) {
  run({
      {"leading CR removed", "\rab", "ab"},
      {"leading CR alone", "\r", ""},
      {"CR before a CR LF pair at the start", "\r\r\nx", "\r\nx"},
      {"pairs back to back", "\r\n\r\n", "\r\n\r\n"},
      {"markers back to back", "{$}{$}", "\r\n\r\n"},
      {"marker inside braces", "{{$}}", "{\r\n}"},
      {"marker spelled with escapes", "%7B%24%7D", "\r\n"},
      {"incomplete marker kept", "{$", "{$"},
  });
}

TEST(UnescapeUnicode, BackslashUIsReplacedBeforeTheLiteralIsRead) {
  run({
      {"upper-case hex", "\\u4E2D", gbk("中")},
      {"escaped backslash before u still decodes", "\\\\u4e2d", gbk("中")},
      {"percent-u form", "%u4e2d%u6587", gbk("中文")},
      {"escaped percent", "\\%u6587", gbk("文")},
      {"capital U is no escape", "\\U4E2D", "U4E2D"},
      {"short hex after \\u", "\\u12", "%u12"},
      {"mixed with text", gbk("电影") + "\\u4e2d" + "abc", gbk("电影中") + "abc"},
  });
}

TEST(UnescapeUnicode, ScriptLiteralEscapes) {
  run({
      {"escaped backslash", "a\\\\b", "a\\b"},
      {"two trailing backslashes", "ab\\\\", "ab\\"},
      {"newline escape", "a\\nb", "a\nb"},
      {"CR LF escapes", "a\\r\\nb", "a\r\nb"},
      {"tab, backspace, form feed", "\\t\\b\\f", "\t\b\f"},
      {"no vertical tab in JScript", "\\v", "v"},
      {"escaped apostrophe", "\\'", "'"},
      {"escaped double quote", "\\\"", "\""},
      {"escaped right quote", "\\" + gbk("’"), "'"},
      {"escaped Chinese character", "\\" + gbk("中"), gbk("中")},
      {"hex escape", "\\x41\\x62", "Ab"},
      {"octal three digits", "\\101", "A"},
      {"octal stops after three digits", "\\1411", "a1"},
      {"octal 4-7 takes one more digit", "\\477", "'7"},
      {"octal 40 then 0", "\\400", " 0"},
      {"octal stops at 8", "\\618", "18"},
      {"zero escape ends the text", "a\\0b", "a"},
      {"eight and nine stand for themselves", "\\8\\9", "89"},
      {"identity escapes", "\\q\\{\\%", "q{%"},
      {"backslash before CR LF leaves the pair", "a\\\r\nb", "a\r\nb"},
      {"line continuation over LF", "a\\\nb", "ab"},
      {"line continuation over CR", "a\\\rb", "ab"},
  });
}

TEST(UnescapeUnicode, AnnexBUnescape) {
  run({
      {"two hex digits", "%41%42", "AB"},
      {"lower-case hex", "%7e", "~"},
      {"four hex digits", "%u0041", "A"},
      {"percent before escape", "%%41", "%A"},
      {"lone percent", "%", "%"},
      {"percent with one digit", "%4", "%4"},
      {"percent with non-hex", "%zz", "%zz"},
      {"percent-u too short", "%u12", "%u12"},
      {"percent-u then two-digit escape", "%u%41", "%uA"},
      {"apostrophe escape", "%27", "'"},
      {"right quote escape", "%u2019", "'"},
      {"code unit, not a byte: middle dot", "%B7", gbk("·")},
      {"code unit, not a byte: no GBK form", "%E4", "?"},
      {"lone surrogate", "%uD800x", "?x"},
      {"zero code unit ends the text", "a%00b", "a"},
      {"escapes are decoded once", "%2541", "%41"},
  });
}

TEST(UnescapeUnicode, GbkCharacterBoundaries) {
  // 0x81 0x5C is one character whose trail byte is a backslash: no escape starts there.
  const std::string trail_backslash = "\x81\x5C" "u4e2d";
  // 0x81 0x7B is one character whose trail byte is "{": no marker starts there.
  const std::string trail_brace = "\x81\x7B" "$}";
  run({
      {"trail byte backslash", trail_backslash, trail_backslash},
      {"trail byte brace", trail_brace, trail_brace},
      {"Chinese with apostrophes", gbk("中'文’"), gbk("中'文'")},
      // The euro sign is one byte, 0x80: the quote and the marker after it still count.
      {"euro then right quote", gbk("€’"), gbk("€'")},
      {"euro then marker", gbk("€{$}"), gbk("€") + "\r\n"},
  });
}

TEST(UnescapeUnicode, ApostropheAfterBrokenLeadByteCannotEndTheLiteral) {
  // A stray lead byte must not hide the apostrophe from the protection step.
  const std::string got = unescape_unicode("\x81';x='");
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.substr(got.size() - 5), "';x='");
}

TEST(UnescapeUnicode, ApostropheAfterOddRunOfHighSingleBytes) {
  // 0xFF is no lead byte in code page 936; however it is decoded, the apostrophe after an
  // odd run of them must come back as an apostrophe, not as half of a character.
  const std::string got = unescape_unicode("it\xFF\xFF\xFF's");
  ASSERT_GE(got.size(), 4u);
  EXPECT_EQ(got.substr(0, 2), "it");
  EXPECT_EQ(got.substr(got.size() - 2), "'s");
}

TEST(UnescapeUnicode, StopsAtTheFirstZeroByte) {
  EXPECT_EQ(unescape_unicode(std::string("ab\0\n", 4)), "ab");
}

TEST(UnescapeUnicode, LongText) {
  std::string in;
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    in += "\\u4e2d%41\r\n";
    expected += gbk("中") + "A\r\n";
  }
  EXPECT_EQ(unescape_unicode(in), expected);
}

}  // namespace
}  // namespace tavlo
