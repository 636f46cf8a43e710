#include <gtest/gtest.h>

#include "percent.h"
#include "text.h"

using namespace tavlo;

TEST(PercentEncode, Cases) {
  struct Case {
    std::string in;
    bool utf8;
    std::string want;
  };
  const Case cases[] = {
      {"magnet:?xt=urn:btih:ABC", true, "magnet%3A%3Fxt%3Durn%3Abtih%3AABC"},
      {gbk("中"), true, "%E4%B8%AD"},
      {gbk("中"), false, "%D6%D0"},
      {"a_b~c/d e", true, "a%5Fb%7Ec%2Fd%20e"},
      {"-.09AZaz", false, "-.09AZaz"},
      {"\n+%", false, "%0A%2B%25"},
      {"", true, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(percent_encode(c.in, c.utf8), c.want) << c.in;
}

TEST(PercentDecode, Cases) {
  struct Case {
    std::string in;
    bool utf8;
    std::string want;
  };
  const Case cases[] = {
      {"%e4%b8%ad", true, gbk("中")},
      {"%E4%B8%AD", true, gbk("中")},
      {"a+b", true, "a+b"},
      {"%41%4a", false, "AJ"},
      // Malformed escapes: the two bytes after "%" are consumed, nothing past the end read.
      {"x%zzy", false, "x?y"},
      {"x%4", false, "x?"},
      {"x%", false, "x?"},
      {"", false, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(percent_decode(c.in, c.utf8), c.want) << c.in;
}

TEST(Percent, RoundTripOfEveryByte) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(char(b));
  EXPECT_EQ(percent_decode(percent_encode(all, false), false), all);
}
