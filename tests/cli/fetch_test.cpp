#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "raw_server.h"

using tavlo::test::answer;
using tavlo::test::RawRequest;
using tavlo::test::RawServer;

namespace {
// Runs tavlo-cli with the given shell-quoted arguments; returns stdout and the exit code.
std::string run(const std::string& args, int* code) {
  std::string cmd = std::string(TAVLO_CLI) + " " + args + " 2>/dev/null";
  FILE* p = popen(cmd.c_str(), "r");
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  int st = pclose(p);
  *code = WEXITSTATUS(st);
  return out;
}
}  // namespace

TEST(CliFetch, ReportsEveryOutValueAndSendsWhatItSays) {
  RawServer srv([](const RawRequest&) {
    return answer("200 OK", "Set-Cookie: S=1; path=/\r\nContent-Type: text/html; charset=utf-8\r\n",
                  "\xE4\xB8\xAD ok");
  });
  int code = -1;
  std::string out = run("fetch " + srv.url("/q?x=1") + " --post 'a=1&b=2' --cookies 'K=0; S=0' --header 'X-T: 9'",
                        &code);
  ASSERT_EQ(code, 0);
  auto j = nlohmann::json::parse(out);
  EXPECT_EQ(j["body"], "\xE4\xB8\xAD ok");
  EXPECT_EQ(j["returned_cookies"], "S=1");
  EXPECT_EQ(j["cookies"], "S=1; K=0");
  EXPECT_EQ(j["location"], j["raw_headers"]);
  EXPECT_EQ(std::string(j["raw_headers"]).rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
  const std::string h = j["headers"];
  EXPECT_EQ(h.rfind("X-T: 9\r\nReferer: " + srv.url("/q?x=1"), 0), 0u);
  EXPECT_NE(h.find("\r\nCookie: K=0; S=0"), std::string::npos);
  auto reqs = srv.requests();
  ASSERT_EQ(reqs.size(), 1u);
  EXPECT_EQ(reqs[0].method(), "POST");
  EXPECT_EQ(reqs[0].target(), "/q?x=1");
  EXPECT_EQ(reqs[0].body, "a=1&b=2");
  EXPECT_EQ(reqs[0].header("X-T"), std::vector<std::string>{"9"});
  EXPECT_EQ(reqs[0].header("Cookie"), std::vector<std::string>{"K=0; S=0"});
}

TEST(CliFetch, WithoutCookiesTheKeyIsAbsentAndGbkArgumentsAreSentAsGbk) {
  RawServer srv([](const RawRequest&) { return answer("200 OK", "", "plain"); });
  int code = -1;
  std::string out = run("fetch " + srv.url("/g") + " --post 'k=\xE4\xB8\xAD' --bytes", &code);
  ASSERT_EQ(code, 0);
  auto j = nlohmann::json::parse(out);
  EXPECT_FALSE(j.contains("cookies"));
  EXPECT_EQ(j["body"], "plain");
  EXPECT_EQ(srv.requests().at(0).body, "k=\xD6\xD0");  // UTF-8 argument, GBK on the wire
}

TEST(CliFetch, BadUsageFailsWithoutOutput) {
  int code = 0;
  EXPECT_EQ(run("--no-such-option", &code), "");
  EXPECT_NE(code, 0);
}
