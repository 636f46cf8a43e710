#include <gtest/gtest.h>

#include "text.h"
#include "text_codecs.h"

using namespace tavlo;

namespace {
// GBK bytes written out so that the byte patterns that fool a byte-wise search are visible.
const std::string kZhong = "\xD6\xD0";        // 中
const std::string kSpaceW = "\xA1\xA1";       // ideographic space
}  // namespace

TEST(TextFind, PositionsAndBoundaries) {
  struct Case {
    std::string text, needle;
    int start;
    bool ignore_case;
    int want;
  };
  const Case cases[] = {
      {"abcabc", "c", 1, false, 3},
      {"abcabc", "c", 4, false, 6},
      {"abcabc", "c", 7, false, -1},
      {"abcabc", "c", 0, false, 3},  // below 1 means 1
      {"abcabc", "C", 1, false, -1},
      {"abcabc", "C", 1, true, 3},
      {"abc", "", 1, false, -1},
      // 0xB0 0xA1 ("啊"): "\xA1" must not match the trail byte.
      {"\xB0\xA1\xA1\xA1", "\xA1\xA1", 1, false, 3},
      // "\xC6\x40" is one character; "@" (0x40) as its trail byte is not a match.
      {"\xC6\x40@", "@", 1, false, 3},
      // A trail byte that is an ASCII letter is not folded: 0x81 0x41 vs 0x81 0x61.
      {"\x81\x41", "\x81\x61", 1, true, -1},
      {"x\x81\x41", "X\x81\x41", 1, true, 1},
      // Searching from the middle of a character still respects the text's boundaries.
      {"\xB0\xA1" "a", "a", 2, false, 3},
  };
  for (const Case& c : cases)
    EXPECT_EQ(text_find(c.text, c.needle, c.start, c.ignore_case), c.want)
        << c.text << " / " << c.needle;
}

TEST(TextFind, LongRunOfTwoByteCharacters) {
  // 3,000 two-byte characters then an odd-offset pattern: the parity walk must hold past
  // the short backward scan.
  std::string t;
  for (int i = 0; i < 3000; ++i) t += "\xB0\xA1";
  std::string shifted = "\xB0" + t;  // everything now misaligned after the first pair
  EXPECT_EQ(text_find(t, "\xA1\xB0"), -1);
  EXPECT_EQ(text_find(t + "z", "z"), 6001);
  EXPECT_EQ(text_find_last(t, "\xB0\xA1"), 5999);
  EXPECT_GT(text_find(shifted, "\xA1\xB0"), 0);
}

TEST(TextCase, OnlyLettersThatAreCharactersFold) {
  EXPECT_EQ(to_lower_ascii("AbC\xC1TZ"), "abc\xC1Tz");  // C1 54 is one character
  EXPECT_EQ(to_upper_ascii("a\x81\x61" "b"), "A\x81\x61" "B");
}

TEST(TextTrim, SpacesAreAsciiAndIdeographicOnly) {
  EXPECT_EQ(trim_spaces("  a b  "), "a b");
  EXPECT_EQ(trim_spaces(kSpaceW + "a" + kSpaceW + " "), "a");
  EXPECT_EQ(trim_spaces("\ta\r\n"), "\ta\r\n");
  // "\xB0\xA1\xA1" ends in A1 but the last A1 A1 is not a character: kept.
  EXPECT_EQ(trim_spaces("\xB0\xA1\xA1\xA1"), "\xB0\xA1");
  EXPECT_EQ(trim_spaces("\xB0\xA1\xA1"), "\xB0\xA1\xA1");
  EXPECT_EQ(remove_spaces(" a " + kSpaceW + "b\t"), "ab\t");
  EXPECT_EQ(remove_spaces("\xB0\xA1\xA1\xA1"), "\xB0\xA1");
  EXPECT_EQ(trim_spaces(""), "");
}

TEST(TextSplit, EmptyAndTrailingPieces) {
  EXPECT_TRUE(split_text("", ";").empty());
  EXPECT_EQ(split_text("a;b", ";"), (TextList{"a", "b"}));
  EXPECT_EQ(split_text("a;;b;", ";"), (TextList{"a", "", "b"}));
  EXPECT_EQ(split_text(";", ";"), (TextList{""}));
  EXPECT_EQ(split_text("a\r\nb\r\n", "\r\n"), (TextList{"a", "b"}));
  EXPECT_EQ(split_text("\xB0;x;y", ";"), (TextList{"\xB0;x", "y"}));  // ";" is a trail byte
}

TEST(TextReplace, BoundaryRuleAndIgnoreCase) {
  EXPECT_EQ(replace_all("aXbxc", "x", "-"), "aXb-c");
  EXPECT_EQ(replace_all("aXbxc", "x", "-", true), "a-b-c");
  EXPECT_EQ(replace_all("\xC6\x40@", "@", "#"), "\xC6\x40#");
  EXPECT_EQ(replace_all("aaa", "", "b"), "aaa");
  EXPECT_EQ(replace_all("aaaa", "aa", "a"), "aa");
}

TEST(TextGbk, LiteralHelper) {
  EXPECT_EQ(gbk("中"), kZhong);
  EXPECT_EQ(gbk("a中b"), "a" + kZhong + "b");
  EXPECT_EQ(gbk(""), "");
}

TEST(TextBetween, Cases) {
  struct Case {
    std::string text, a, b;
    int start;
    bool cs;
    std::string want;
  };
  const std::string quote = gbk("#引号");
  const Case cases[] = {
      {"a<b>c", "<", ">", 1, false, "b"},
      {"<>", "<", ">", 1, false, ""},
      {"a>b", "<", ">", 1, false, ""},
      {"a<b", "<", ">", 1, false, ""},
      {"Set-Cookie: a=1;", "set-cookie:", ";", 1, false, " a=1"},
      {"Set-Cookie: a=1;", "set-cookie:", ";", 1, true, ""},
      {"x\"y\"z", quote, quote, 1, false, "y"},
      {"<a><b>", "<", ">", 2, false, "b"},
      {"<a><b>", "<", ">", 99, false, ""},
      {"k=" + kZhong + ";", "=", ";", 1, false, kZhong},
      // The end marker is searched from the piece start, so it may not overlap the start.
      {"aXa", "aX", "Xa", 1, false, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(text_between(c.text, c.a, c.b, c.start, c.cs), c.want) << c.text;
}

TEST(TextBetweenAll, Cases) {
  struct Case {
    std::string text, a, b;
    bool all;
    TextList want;
  };
  const Case cases[] = {
      {"[a][b][c]", "[", "]", true, {"a", "b", "c"}},
      {"[a][b][c]", "[", "]", false, {"a"}},
      {"[a[b]c]", "[", "]", true, {"b"}},
      {"[[[a]", "[", "]", true, {"[a"}},
      {"[]", "[", "]", true, {""}},
      {"no markers", "[", "]", true, {}},
      {"]x[", "[", "]", true, {}},
      {"<td>1</td><td>2</td>", "<td>", "</td>", true, {"1", "2"}},
      // Case-sensitive always.
      {"<TD>1</td>", "<td>", "</td>", true, {}},
      // Overlapping markers never produce a negative piece.
      {"abab", "ab", "b", true, {""}},
      // The start marker's first byte is a GBK trail byte here: not a match.
      {"\xB0[a][b]", "[", "]", true, {"b"}},
  };
  for (const Case& c : cases) {
    TextList pieces{"stale"};
    std::string first = text_between_all(c.text, c.a, c.b, pieces, c.all);
    EXPECT_EQ(pieces, c.want) << c.text;
    EXPECT_EQ(first, c.want.empty() ? "" : c.want.front()) << c.text;
  }
}

TEST(Codecs, GbkUtf8RoundTrip) {
  EXPECT_EQ(gbk_to_utf8(kZhong), "\xE4\xB8\xAD");
  EXPECT_EQ(utf8_to_gbk("\xE4\xB8\xAD"), kZhong);
  EXPECT_EQ(gbk_to_utf8(""), "");
  EXPECT_EQ(utf8_to_gbk(""), "");
  EXPECT_EQ(utf8_to_gbk("\xE2\x82\xAC"), "\x80");          // euro sign, code page 936
  EXPECT_EQ(utf8_to_gbk("a\xF0\x9F\x98\x80" "b"), "a?b");   // no GBK form
  EXPECT_EQ(utf8_to_gbk("ab\0cd"), "ab");                    // text ends at its zero
}

TEST(Codecs, Utf16Forms) {
  EXPECT_EQ(utf8_bytes_to_utf16("A\xE4\xB8\xAD"), std::string("A\0\x2D\x4E", 4));
  EXPECT_EQ(utf8_bytes_to_utf16(std::string("a\0b", 3)), std::string("a\0\0\0b\0", 6));
  EXPECT_EQ(text_to_utf16(kZhong, CP_GBK), std::string("\x2D\x4E\0\0", 4));
  EXPECT_EQ(text_to_utf16("", CP_UTF8), std::string("\0\0", 2));
  EXPECT_EQ(utf16_to_text(std::string("\x2D\x4E\0\0A\0", 6), CP_GBK), kZhong);
  EXPECT_EQ(utf16_to_text(std::string("\x2D\x4E", 2), CP_UTF8), "\xE4\xB8\xAD");
}

TEST(Codecs, Utf8ToGbkBytesComposesMarks) {
  // "e" + combining acute -> é (A8 A6 in GBK); a lone combining mark has no GBK form.
  EXPECT_EQ(utf8_bytes_to_gbk_bytes("e\xCC\x81"), "\xA8\xA6");
  EXPECT_EQ(utf8_bytes_to_gbk_bytes("\xE4\xB8\xAD" "a"), kZhong + "a");
  EXPECT_EQ(utf8_bytes_to_gbk_bytes(std::string("a\0b", 3)), "a");
  EXPECT_EQ(utf8_bytes_to_gbk_bytes(""), "");
  // A compatibility ideograph that GBK carries is kept, not normalised away.
  EXPECT_EQ(utf8_bytes_to_gbk_bytes("\xEF\xA8\x8C"), utf8_to_gbk("\xEF\xA8\x8C"));
  EXPECT_NE(utf8_bytes_to_gbk_bytes("\xEF\xA8\x8C"), "?");
}
