#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <thread>

#include "http_request.h"
#include "raw_server.h"

using namespace tavlo;
using tavlo::test::answer;
using tavlo::test::RawServer;
using tavlo::test::RawRequest;

namespace {
std::string ok(const std::string& body, const std::string& headers = "") {
  return answer("200 OK", headers, body);
}
struct EngineTest : ::testing::Test {
  static void SetUpTestSuite() { http_global_init(); }
  void SetUp() override { cookie_store_clear(); }
};
}  // namespace

TEST_F(EngineTest, PlainGetSendsTheCompletedHeaderText) {
  RawServer srv([](const RawRequest&) { return ok("hello"); });
  std::string headers;
  std::string body = http_request(srv.url("/a/b?c=1"), 0, {}, nullptr, nullptr, &headers);
  EXPECT_EQ(body, "hello");
  const std::string url = srv.url("/a/b?c=1");
  EXPECT_EQ(headers, "Referer: " + url +
                         "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nContent-Type: "
                         "application/x-www-form-urlencoded");
  auto reqs = srv.requests();
  ASSERT_EQ(reqs.size(), 1u);
  EXPECT_EQ(reqs[0].method(), "GET");
  EXPECT_EQ(reqs[0].target(), "/a/b?c=1");
  EXPECT_EQ(reqs[0].header("Referer"), std::vector<std::string>{url});
  EXPECT_EQ(reqs[0].header("Accept"), std::vector<std::string>{"*/*"});
  EXPECT_EQ(reqs[0].header("Accept-Language"), std::vector<std::string>{"zh-cn"});
  EXPECT_EQ(reqs[0].header("Content-Type"),
            std::vector<std::string>{"application/x-www-form-urlencoded"});
  EXPECT_EQ(reqs[0].header("User-Agent"), std::vector<std::string>{DEFAULT_USER_AGENT});
  EXPECT_TRUE(reqs[0].header("Cookie").empty());
  EXPECT_TRUE(reqs[0].body.empty());
}

TEST_F(EngineTest, CallerHeadersAndAgent) {
  RawServer srv([](const RawRequest&) { return ok("x"); });
  struct Case {
    std::string in, agent, referer;
  };
  const Case cases[] = {
      {"referer: x", DEFAULT_USER_AGENT, ""},  // lower case: a Referer line is still added
      {"User-Agent: A", "A", ""},
      {"User-Agent: B\r\nX-Y: 1", "B", ""},
  };
  for (const Case& c : cases) {
    std::string headers = c.in;
    http_request(srv.url("/h"), 0, {}, nullptr, nullptr, &headers);
    EXPECT_TRUE(headers.find("\r\nReferer: " + srv.url("/h")) != std::string::npos) << headers;
    EXPECT_EQ(srv.requests().back().header("User-Agent").back(), c.agent);
  }
}

TEST_F(EngineTest, PostSendsBodyOrBodyBytes) {
  RawServer srv([](const RawRequest&) { return ok("done"); });
  Bytes bb;
  http_request(srv.url("/p"), 1, "a=1", nullptr, nullptr, nullptr, nullptr, false, &bb);
  EXPECT_EQ(bb, "a=1");  // filled from the body
  Bytes given("x\0y", 3);
  http_request(srv.url("/p"), 1, "ignored", nullptr, nullptr, nullptr, nullptr, false, &given);
  http_request(srv.url("/p"), 2, "q=2");  // method 2: GET carrying a body
  auto reqs = srv.requests();
  ASSERT_EQ(reqs.size(), 3u);
  EXPECT_EQ(reqs[0].method(), "POST");
  EXPECT_EQ(reqs[0].body, "a=1");
  EXPECT_EQ(reqs[1].body, std::string("x\0y", 3));
  EXPECT_EQ(reqs[2].method(), "GET");
  EXPECT_EQ(reqs[2].body, "q=2");
}

TEST_F(EngineTest, CookiesHarvestedAndMerged) {
  RawServer srv([](const RawRequest&) {
    return ok("c", "Set-Cookie: A=1; path=/\r\nSet-Cookie: B=2; path=/\r\n");
  });
  std::string returned = "old", cookies = "A=0; C=3";
  http_request(srv.url("/c"), 0, {}, &cookies, &returned);
  EXPECT_EQ(cookies, "A=1; B=2; C=3");
  EXPECT_EQ(returned, "A=1;B=2");
  EXPECT_EQ(srv.requests().back().header("Cookie"), std::vector<std::string>{"A=0; C=3"});
  // The store was bypassed: it neither sent nor kept anything.
  EXPECT_EQ(cookie_store_dump(), "");

  std::string returned2;
  http_request(srv.url("/c"), 0, {}, nullptr, &returned2);
  EXPECT_EQ(returned2, "A=1; B=2");
  // Without a cookie string of the caller's, the store keeps them and sends them next time.
  http_request(srv.url("/again"));
  auto sent = srv.requests().back().header("Cookie");
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_NE(sent[0].find("A=1"), std::string::npos);
  EXPECT_NE(sent[0].find("B=2"), std::string::npos);
}

TEST_F(EngineTest, LocationAndRawHeaders) {
  RawServer srv([](const RawRequest& r) {
    if (r.target() == "/redir")
      return answer("302 Found", "Location: http://nowhere.invalid/x\r\n", "");
    return ok("body", "X-A: 1\r\n");
  });
  std::string location, raw;
  http_request(srv.url("/redir"), 0, {}, nullptr, nullptr, nullptr, &location, true, nullptr,
               nullptr, &raw);
  EXPECT_EQ(location, "http://nowhere.invalid/x");
  EXPECT_EQ(raw.rfind("HTTP/1.1 302 Found\r\n", 0), 0u);
  EXPECT_EQ(raw.substr(raw.size() - 4), "\r\n\r\n");
  // No Location line: an empty variable receives the whole header block.
  std::string loc2, raw2;
  http_request(srv.url("/plain"), 0, {}, nullptr, nullptr, nullptr, &loc2, false, nullptr,
               nullptr, &raw2);
  EXPECT_EQ(loc2, raw2);
  EXPECT_NE(raw2.find("X-A: 1\r\n"), std::string::npos);
}

TEST_F(EngineTest, Moved301IsFollowedWithPathAppended) {
  std::string second_url;
  RawServer second([](const RawRequest&) { return ok("second"); });
  RawServer first([&](const RawRequest&) {
    return answer("301 Moved Permanently",
                  "Location: http://127.0.0.1:" + std::to_string(second.port()) + "\r\n" +
                      "Set-Cookie: S=9; path=/\r\n",
                  "");
  });
  std::string cookies = "K=1";
  std::string headers;
  std::string body = http_request(first.url("/p?q=1"), 0, {}, &cookies, nullptr, &headers,
                                  nullptr, true);
  EXPECT_EQ(body, "second");
  auto reqs = second.requests();
  ASSERT_EQ(reqs.size(), 1u);
  EXPECT_EQ(reqs[0].target(), "/p?q=1");
  EXPECT_EQ(reqs[0].header("Referer"), std::vector<std::string>{first.url("/p?q=1")});
  EXPECT_EQ(reqs[0].header("Cookie"), (std::vector<std::string>{"K=1", "S=9; K=1"}));
}

TEST_F(EngineTest, Endless301sEndInTheEmptyResult) {
  std::atomic<int> self_port{0};
  RawServer ring([&](const RawRequest&) {
    return answer("301 Moved Permanently",
                  "Location: http://127.0.0.1:" + std::to_string(self_port.load()) + "\r\n", "x");
  });
  self_port = ring.port();
  std::string b = http_request(ring.url("/z"), 0, {}, nullptr, nullptr, nullptr, nullptr, true);
  EXPECT_EQ(b, "");
  EXPECT_EQ(ring.requests().size(), size_t(1 + MAX_301_FOLLOWUPS));
}

TEST_F(EngineTest, Utf8Detection) {
  const std::string zh = "\xE4\xB8\xAD";  // 中 in UTF-8
  auto body_with_mark_at = [&](size_t pos) {
    std::string b(pos - 1, 'x');
    b += "utf-8";
    return zh + b.substr(zh.size());
  };
  struct Case {
    std::string body, headers;
    bool converted;
  };
  const Case cases[] = {
      {body_with_mark_at(499), "", true},
      {body_with_mark_at(500), "", false},
      {zh + " UTF-8", "", false},
      {zh, "Content-Type: text/html; charset=UTF-8\r\n", true},
  };
  for (const Case& c : cases) {
    RawServer srv([&](const RawRequest&) { return ok(c.body, c.headers); });
    std::string text = http_request(srv.url("/u"));
    EXPECT_EQ(text.substr(0, 2) == "\xD6\xD0", c.converted) << c.body.size();
  }
}

TEST_F(EngineTest, BytesFormKeepsZerosTextFormStopsAtThem) {
  const std::string body("ab\0cd", 5);
  RawServer srv([&](const RawRequest&) { return ok(body, "Content-Type: x; charset=utf-8\r\n"); });
  EXPECT_EQ(http_request_bytes(srv.url("/b")), body);
  EXPECT_EQ(http_request(srv.url("/b")), "ab");
}

TEST_F(EngineTest, NothingChangesWhenNoConnectionCanBeMade) {
  int port;
  {
    RawServer gone([](const RawRequest&) { return std::string(); });
    port = gone.port();
  }
  std::string cookies = "A=1", returned = "r", headers = "h", location = "l", raw = "w";
  std::string url = "http://127.0.0.1:" + std::to_string(port) + "/x";
  EXPECT_EQ(http_request(url, 0, {}, &cookies, &returned, &headers, &location, false, nullptr,
                         nullptr, &raw),
            "");
  EXPECT_EQ(cookies, "A=1");
  EXPECT_EQ(returned, "r");
  EXPECT_EQ(headers, "h");
  EXPECT_EQ(location, "l");
  EXPECT_EQ(raw, "w");
  Bytes bb;
  EXPECT_EQ(http_request(url, 1, "a=1", nullptr, nullptr, nullptr, nullptr, false, &bb), "");
  EXPECT_EQ(bb, "");
}

TEST_F(EngineTest, OversizedHeaderBlockIsNotRead) {
  std::string big = "X-Pad: " + std::string(5000, 'p') + "\r\n";
  RawServer srv([&](const RawRequest&) {
    return ok("b", "Set-Cookie: A=1; path=/\r\nLocation: http://h/\r\n" + big);
  });
  std::string returned = "r", location, raw = "w";
  http_request(srv.url("/big"), 0, {}, nullptr, &returned, nullptr, &location, true, nullptr,
               nullptr, &raw);
  EXPECT_EQ(raw.find("HTTP/"), std::string::npos);
  EXPECT_EQ(returned, "");
  EXPECT_EQ(location.find("http://h/"), std::string::npos);
}

TEST_F(EngineTest, ProxyIsUsedForPlainHttp) {
  RawServer proxy([](const RawRequest&) { return ok("via proxy"); });
  const std::string p = "127.0.0.1:" + std::to_string(proxy.port());
  EXPECT_EQ(http_request("http://example.invalid/x?y=1", 0, {}, nullptr, nullptr, nullptr,
                         nullptr, false, nullptr, &p),
            "via proxy");
  EXPECT_EQ(proxy.requests().back().target(), "http://example.invalid/x?y=1");
}

TEST_F(EngineTest, CookieStoreHoldsUnderParallelRequests) {
  std::atomic<int> n{0};
  RawServer srv([&](const RawRequest&) {
    int i = n++;
    return ok("p", "Set-Cookie: C" + std::to_string(i) + "=" + std::to_string(i) + "; path=/\r\n");
  });
  std::vector<std::thread> ts;
  for (int t = 0; t < 8; ++t)
    ts.emplace_back([&] {
      for (int k = 0; k < 5; ++k) http_request(srv.url("/par"));
    });
  for (auto& t : ts) t.join();
  std::string dump = cookie_store_dump();
  for (int i = 0; i < 40; ++i)
    EXPECT_NE(dump.find("\tC" + std::to_string(i) + "\t" + std::to_string(i)), std::string::npos)
        << i;
}

TEST_F(EngineTest, CookieStoreIsPersisted) {
  char tmpl[] = "/tmp/tavlo-cookiesXXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const std::string file = std::string(tmpl) + "/cookies.txt";
  cookie_store_set_file(file);
  RawServer srv([](const RawRequest&) { return ok("p", "Set-Cookie: P=7; path=/\r\n"); });
  http_request(srv.url("/set"));
  std::ifstream in(file);
  std::string all((std::istreambuf_iterator<char>(in)), {});
  EXPECT_NE(all.find("\tP\t7"), std::string::npos);
  struct stat st;
  ASSERT_EQ(stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  cookie_store_clear();
  cookie_store_set_file(file);  // reload from disk
  EXPECT_EQ(cookie_store_dump().find("\tP\t7"), std::string::npos);  // cleared store saved
  cookie_store_set_file("");
}
