// Site table address forms, the site draw, and the fetch driver against a loopback server.
#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "search_driver.h"
#include "search_sites.h"
#include "text.h"
#include "text_codecs.h"

namespace tavlo {
namespace {

TEST(SearchSites, AddressForms) {
  const std::string k = "%E7%94%B5%E5%BD%B1%202014";
  const struct {
    const char* site;
    long long page;  // 1: first-page form
    const char* want;
  } cases[] = {
      {"1", 1, "http://h:1/search/%E7%94%B5%E5%BD%B1%202014/"},
      {"1", 2, "http://h:1/search/%E7%94%B5%E5%BD%B1%202014/2"},
      {"2", 1, "http://h:1/search/%E7%94%B5%E5%BD%B1%202014"},
      {"2", 3, "http://h:1/search/%E7%94%B5%E5%BD%B1%202014/currentPage/3"},
      {"3", 1, "http://h:1/?keyword=%E7%94%B5%E5%BD%B1%202014"},
      {"3", 12, "http://h:1/?keyword=%E7%94%B5%E5%BD%B1%202014&page=12"},
      {"4", 1, "http://h:1/s/?q=%E7%94%B5%E5%BD%B1%202014&f=_all&m=yes"},
      {"4", 2, "http://h:1/s/index.php?q=%E7%94%B5%E5%BD%B1%202014&m=&f=_all&s=&p=2"},
      {"5", 1, "http://h:1/search/%E7%94%B5%E5%BD%B1%202014"},
      {"5", 4, "http://h:1/search/%E7%94%B5%E5%BD%B1%202014/4"},
  };
  for (const auto& c : cases) {
    const std::string got = c.page < 2 ? search_first_page_address(c.site, "h:1", k)
                                       : search_next_page_address(c.site, "h:1", k, c.page);
    EXPECT_EQ(got, c.want) << "site " << c.site << " page " << c.page;
  }
  EXPECT_EQ(search_first_page_address("0", "h:1", k), "");
  EXPECT_EQ(search_next_page_address("6", "h:1", k, 2), "");
  EXPECT_EQ(search_site_row("12"), nullptr);
}

TEST(SearchSites, MoreMarkersAreGbk) {
  EXPECT_EQ(search_more_marker("1"), "current");
  EXPECT_EQ(search_more_marker("3"), "<span>1</span>");
  EXPECT_EQ(search_more_marker("5"), gbk("下一页"));
  EXPECT_EQ(search_more_marker("5").size(), 6u);
  EXPECT_EQ(search_more_marker("x"), "");
}

TEST(SearchSites, DrawGivesEveryOneOfTheFiveSites) {
  std::set<std::string> seen;
  for (int i = 0; i < 2000 && seen.size() < 5; ++i) {
    const std::string s = draw_search_site();
    ASSERT_NE(search_site_row(s), nullptr) << s;
    seen.insert(s);
  }
  EXPECT_EQ(seen.size(), 5u);
}

TEST(SearchDriver, JobEncodesTheGbkKeywordAsUtf8AndUsesTheSiteHost) {
  const SearchJob first = make_search_job("1", gbk("电影 2014"), 1);
  EXPECT_EQ(first.url, "http://" + search_site_host("1") + "/search/%E7%94%B5%E5%BD%B1%202014/");
  EXPECT_EQ(first.site, "1");
  EXPECT_EQ(first.site2_host, search_site_host("2"));
  const SearchJob next = make_search_job("4", "a&b", 7);
  EXPECT_EQ(next.url, "http://" + search_site_host("4") + "/s/index.php?q=a%26b&m=&f=_all&s=&p=7");
  EXPECT_EQ(next.page, 7);
}

class LoopbackSite : public ::testing::Test {
 protected:
  void SetUp() override {
    server_.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
      {
        std::lock_guard<std::mutex> g(mu_);
        targets_.push_back(req.target);
      }
      res.set_content(body_, "text/html; charset=utf-8");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    ASSERT_GT(port_, 0);
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  void TearDown() override {
    server_.stop();
    thread_.join();
  }
  std::string host() const { return "127.0.0.1:" + std::to_string(port_); }

  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  std::string body_;
  std::mutex mu_;
  std::vector<std::string> targets_;
};

TEST_F(LoopbackSite, FetchesTheAddressAndScrapesTheAnswer) {
  body_ = R"(<a class="btn" title="电影" target="_blank">Detail</a><td class="files-size">1 GB</td>
<td><a href="http://)" + host() + R"(/magnet/detail/hash/H2" title="m">Next)";
  SearchJob job;
  job.site = "2";
  job.site2_host = host();
  job.url = search_next_page_address("2", host(), "k%20w", 2);
  const SearchOutcome out = run_search_job(job);
  ASSERT_EQ(targets_.size(), 1u);
  EXPECT_EQ(targets_[0], "/search/k%20w/currentPage/2");
  EXPECT_TRUE(out.fetched);
  EXPECT_EQ(out.http_status, 200);
  const auto rows = result_rows(out.scrape);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].name, gbk("电影"));
  EXPECT_EQ(rows[0].size, "1 GB");
  EXPECT_EQ(rows[0].hash, "H2");
  EXPECT_TRUE(out.more);
}

TEST_F(LoopbackSite, DeadServerGivesAnEmptyPage) {
  SearchJob job;
  job.site = "1";
  job.url = "http://" + host() + "/search/x/";
  server_.stop();
  thread_.join();
  thread_ = std::thread([] {});
  const SearchOutcome out = run_search_job(job);
  EXPECT_FALSE(out.fetched);
  EXPECT_TRUE(out.scrape.page.empty());
  EXPECT_TRUE(result_rows(out.scrape).empty());
  EXPECT_FALSE(out.more);
}

}  // namespace
}  // namespace tavlo
