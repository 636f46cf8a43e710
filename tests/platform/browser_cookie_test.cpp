#include <gtest/gtest.h>

#include "browser.h"

namespace tavlo {
namespace {

TEST(NetscapeCookieLine, ParsesTheEngineStoreLines) {
  NetscapeCookie c;
  ASSERT_TRUE(parse_netscape_cookie_line(".pan.example\tTRUE\t/\tFALSE\t1900000000\tBDUSS\tabc=def", c));
  EXPECT_EQ(c.domain, ".pan.example");
  EXPECT_TRUE(c.include_subdomains);
  EXPECT_EQ(c.path, "/");
  EXPECT_FALSE(c.secure);
  EXPECT_EQ(c.expires, 1900000000);
  EXPECT_EQ(c.name, "BDUSS");
  EXPECT_EQ(c.value, "abc=def");
  EXPECT_FALSE(c.http_only);

  ASSERT_TRUE(parse_netscape_cookie_line("#HttpOnly_127.0.0.1\tFALSE\t/a\tTRUE\t0\tSID\t\r\n", c));
  EXPECT_TRUE(c.http_only);
  EXPECT_EQ(c.domain, "127.0.0.1");
  EXPECT_FALSE(c.include_subdomains);
  EXPECT_TRUE(c.secure);
  EXPECT_EQ(c.name, "SID");
  EXPECT_EQ(c.value, "");
}

TEST(NetscapeCookieLine, RejectsCommentsAndShortLines) {
  NetscapeCookie c;
  for (const char* line : {"", "# Netscape HTTP Cookie File", "a\tTRUE\t/\tFALSE\t0\tname",
                           "\tTRUE\t/\tFALSE\t0\tn\tv", "a\tTRUE\t/\tFALSE\t0\t\tv"})
    EXPECT_FALSE(parse_netscape_cookie_line(line, c)) << line;
  // A bad expiry is a session cookie, not a failure.
  ASSERT_TRUE(parse_netscape_cookie_line("a\tFALSE\t/\tFALSE\tsoon\tn\tv", c));
  EXPECT_EQ(c.expires, 0);
}

}  // namespace
}  // namespace tavlo
