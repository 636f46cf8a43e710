#include <gtest/gtest.h>

#include "http_request.h"

using namespace tavlo;

TEST(UrlHost, Cases) {
  struct Case {
    std::string url;
    bool domain, port;
    std::string want;
  };
  const Case cases[] = {
      {"HTTP://Ab.C.D/x/y", false, false, "ab.c.d"},
      {"c.d", false, false, "c.d"},
      {"https://a.b.c:81/x", false, false, "a.b.c"},
      {"https://a.b.c:81/x", false, true, "a.b.c:81"},
      {"https://a.b.c:81/x", true, false, "b.c"},
      {"https://a.b.c:81/x", true, true, "b.c:81"},
      {"http://c.d?q=1", false, false, "c.d?q=1"},
      {"localhost", true, false, "localhost"},
      {"", false, false, ""},
      // "http://" later in the text: the first one found is the scheme marker.
      {"go.to/?u=http://x.y/", false, false, "x.y"},
  };
  for (const Case& c : cases) EXPECT_EQ(url_host(c.url, c.domain, c.port), c.want) << c.url;
}

TEST(UrlPortAndPath, Cases) {
  EXPECT_EQ(url_port("http://h/x"), 80);
  EXPECT_EQ(url_port("https://h/x"), 443);
  EXPECT_EQ(url_port("http://h:81/x"), 81);
  EXPECT_EQ(url_port("h:82"), 82);
  EXPECT_EQ(url_port("http://h:x/"), 0);
  EXPECT_EQ(url_port("http://h:99999999999999999999/"), 0);  // never overflows
  EXPECT_EQ(url_path("http://Ab.C/Path?A=1"), "/Path?A=1");
  EXPECT_EQ(url_path("http://h"), "/");
  EXPECT_EQ(url_path("http://c.d?q=1"), "/");
  EXPECT_EQ(url_path("http://h:81/x"), "/x");
  EXPECT_EQ(url_path("h.com/a/b"), "/a/b");
  EXPECT_EQ(url_path("http://\xC1Tx.com/path?q=1"), "/path?q=1");  // GBK host
}

TEST(HeaderValue, Cases) {
  EXPECT_EQ(header_value("Location: http://h/p"), "http://h/p");
  EXPECT_EQ(header_value("Date:"), "");
  EXPECT_EQ(header_value("no colon"), "");
  EXPECT_EQ(header_value("A:  b: c  "), "b: c");
}

TEST(MergeCookies, Cases) {
  struct Case {
    std::string kept, fresh, want, fresh_after;
  };
  const Case cases[] = {
      {"A=1; B=2", "B=3; C=4", "B=3; C=4; A=1", "B=3;C=4"},
      {"A=1; B=2", "B=deleted", "A=1", "B=deleted"},
      {"", "X=1", "X=1", "X=1"},
      {"A=1;A=2", "", "A=1", ""},
      {"A=hello world", "", "A=helloworld", ""},
      {"A=0; C=3", "A=1; B=2", "A=1; B=2; C=3", "A=1;B=2"},
      {"", "", "", ""},
      {"A=1", "A=1;A=1", "A=1", "A=1;A=1"},  // exact repeats fold into one
      {"flag; B=2", "B=3", "B=3; flag", "B=3"},  // an item without "=" is named by itself
  };
  for (const Case& c : cases) {
    std::string k = c.kept, f = c.fresh;
    EXPECT_EQ(merge_cookies(k, f), c.want) << c.kept << " + " << c.fresh;
    EXPECT_EQ(k, c.want);
    EXPECT_EQ(f, c.fresh_after);
  }
}

TEST(CookieHelpers, NamesAndLists) {
  EXPECT_EQ(cookie_name(" BDUSS = abc"), "BDUSS");
  EXPECT_EQ(cookie_name("flag"), "flag");
  EXPECT_TRUE(has_cookie_named({"A=1", "B=2"}, "B"));
  EXPECT_FALSE(has_cookie_named({"A=1", "B=2"}, "b"));
  EXPECT_EQ(index_of_text({"x", "y", "y"}, "y"), 2);
  EXPECT_EQ(index_of_text({"x"}, "z"), -1);
  EXPECT_EQ(join_unique("a; b; a; c; b", "; "), "a; b; c");
  EXPECT_EQ(join_unique("", "; "), "");
}
