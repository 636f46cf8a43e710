// tavlo-cli search against five loopback sites serving hand-written pages.
#include <gtest/gtest.h>
#include <httplib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "hosts.h"

namespace tavlo {
namespace {

namespace fs = std::filesystem;

const std::string K = "%E7%94%B5%E5%BD%B1%202014";  // 电影 2014

struct SiteCase {
  const char* site;
  std::string first_target;
  std::string first_body;  // "{H2}" stands for site 2's host
  std::string first_out;
  std::string next_target;  // page 3
  std::string next_body;
  std::string next_out;
};

std::vector<SiteCase> site_cases() {
  return {
      {"1", "/search/" + K + "/",
       R"(<tr><td class="name">First Film</td><td class="size">1.0 GB</td><td><a href="/information/H1A">i</a></td></tr>
<tr><td class="name">第二 部</td><td class="size">2 GB</td><td><a href="/information/H1B">i</a></td></tr>
<p><span class="current">1</span></p>)",
       "10002\t第二 部\t2 GB\tH1B\n10001\tFirst Film\t1.0 GB\tH1A\nmore: yes\n",
       "/search/" + K + "/3",
       R"(<td class="name">Last</td><td class="size">5 MB</td><a href="/information/H1Z">)",
       "10001\tLast\t5 MB\tH1Z\nmore: no\n"},
      {"2", "/search/" + K,
       R"(<tr><td><a class="btn" title="Two A" target="_blank">Detail</a></td><td class="files-size">700 MB</td>
<td><a href="http://{H2}/magnet/detail/hash/H2A" title="m">m</a></td></tr>
<tr><td><a class="btn" title="二号 B" target="_blank">Detail</a></td><td class="files-size">1.3 GB</td>
<td><a href="http://{H2}/magnet/detail/hash/H2B" title="m">m</a></td></tr><a>Next</a>)",
       "10002\t二号 B\t1.3 GB\tH2B\n10001\tTwo A\t700 MB\tH2A\nmore: yes\n",
       "/search/" + K + "/currentPage/3",
       R"(<a class="btn" title="Two Z" target="_blank">Detail</a><td class="files-size">1 KB</td>
<td><a href="http://{H2}/magnet/detail/hash/H2Z" title="m">m</a></td>)",
       "10001\tTwo Z\t1 KB\tH2Z\nmore: no\n"},
      {"3", "/?keyword=" + K,
       R"(<table><thead><tr><th>n</th></tr></thead>
<tr><td><span><em>1</em></span></td><td>4.5 GB</td><td><a href="magnet:?xt=urn:btih:H3A&dn=%E4%B8%89%20A">m</a></td></tr>
<tr><td><span><em>2</em></span></td><td>300 MB</td><td><a href="magnet:?xt=urn:btih:H3B&dn=Three%20B">m</a></td></tr>
</table><div><span>1</span></div><div id="recommend"><a href="magnet:?xt=urn:btih:R&dn=R">r</a></div>)",
       "10002\tThree B\t300MB\tH3B\n10001\t三 A\t4.5GB\tH3A\nmore: yes\n",
       "/?keyword=" + K + "&page=3",
       R"(<table><thead></thead><tr><td><span><em>1</em></span></td><td>8 KB</td>
<td><a href="magnet:?xt=urn:btih:H3Z&dn=Z">m</a></td></tr></table><div id="recommend"></div>)",
       "10001\tZ\t8KB\tH3Z\nmore: no\n"},
      {"4", "/s/?q=" + K + "&f=_all&m=yes",
       R"(<div><a href="/1"><h4><em>Four</em> A</h4></a><p><strong>hash:</strong>H4A</p>
<p><a href="/r"><strong>[帐号]</strong></a><strong>[2.2 GB]</strong></p></div>
<div><a href="/2"><h4>四 <EM>B</EM></h4></a><p><strong>hash:</strong>H4B</p>
<p><a href="/r"><strong>[帐号]</strong></a><strong>[90 MB]</strong></p></div><li class="disabled">)",
       "10002\t四 B\t90 MB\tH4B\n10001\tFour A\t2.2 GB\tH4A\nmore: yes\n",
       "/s/index.php?q=" + K + "&m=&f=_all&s=&p=3",
       R"(<a href="/9"><h4>Four Z</h4></a><p><strong>hash:</strong>H4Z</p>
<p><a href="/r"><strong>[帐号]</strong></a><strong>[3 MB]</strong></p>)",
       "10001\tFour Z\t3 MB\tH4Z\nmore: no\n"},
      {"5", "/search/" + K,
       R"(<img alt="下载 Five A"><span>大小: 1.7 GB&nbsp;</span><a href="magnet:?xt=urn:btih:H5A&dn=x">
<img alt="下载 五 B"><span>大小: 20 MB&nbsp;</span><a href="magnet:?xt=urn:btih:H5B&dn=y">
<a href="/search/k/2">下一页</a>)",
       "10002\t五 B\t20 MB\tH5B\n10001\tFive A\t1.7 GB\tH5A\nmore: yes\n",
       "/search/" + K + "/3",
       R"(<img alt="下载 Five Z"><span>大小: 6 GB&nbsp;</span><a href="magnet:?xt=urn:btih:H5Z&dn=z">)",
       "10001\tFive Z\t6 GB\tH5Z\nmore: no\n"},
  };
}

struct FakeSite {
  httplib::Server server;
  std::thread thread;
  int port = 0;
  std::map<std::string, std::string> pages;  // target -> body
  std::mutex mu;
  std::vector<std::string> targets;
};

struct CliRun {
  int status = -1;
  std::string out, err;
};

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class SearchCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tavlo-search-cli-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    Hosts h;
    for (int i = 0; i < 5; ++i) {
      auto& s = sites_[i];
      s = std::make_unique<FakeSite>();
      FakeSite* raw = s.get();
      s->server.Get(".*", [raw](const httplib::Request& req, httplib::Response& res) {
        std::lock_guard<std::mutex> g(raw->mu);
        raw->targets.push_back(req.target);
        auto it = raw->pages.find(req.target);
        if (it == raw->pages.end()) {
          res.status = 404;
          res.set_content("no such page", "text/plain");
        } else {
          res.set_content(it->second, "text/html; charset=utf-8");
        }
      });
      s->port = s->server.bind_to_any_port("127.0.0.1");
      ASSERT_GT(s->port, 0);
      s->thread = std::thread([raw] { raw->server.listen_after_bind(); });
      while (!s->server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      h.site[i] = "127.0.0.1:" + std::to_string(s->port);
    }
    const std::string h2 = h.site[1];
    for (auto& c : site_cases()) {
      FakeSite& s = *sites_[c.site[0] - '1'];
      for (auto* body : {&c.first_body, &c.next_body}) {
        for (auto p = body->find("{H2}"); p != std::string::npos; p = body->find("{H2}")) {
          body->replace(p, 4, h2);
        }
      }
      std::lock_guard<std::mutex> g(s.mu);  // the server threads already run
      s.pages[c.first_target] = c.first_body;
      s.pages[c.next_target] = c.next_body;
    }
    hosts_file_ = (dir_ / "hosts.ini").string();
    ASSERT_TRUE(write_hosts_file(hosts_file_, h));
  }

  void TearDown() override {
    for (auto& s : sites_) {
      s->server.stop();
      if (s->thread.joinable()) s->thread.join();
    }
    fs::remove_all(dir_);
  }

  CliRun run(std::vector<std::string> args) {
    args.insert(args.begin(), {TAVLO_CLI_PATH, "search"});
    const fs::path out = dir_ / "out", err = dir_ / "err";
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::setenv("TAVLO_HOSTS", hosts_file_.c_str(), 1);
      ::setenv("HOME", dir_.c_str(), 1);
      const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ::dup2(o, 1);
      ::dup2(e, 2);
      std::vector<char*> argv;
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    CliRun r;
    int ws = 0;
    ::waitpid(pid, &ws, 0);
    r.status = WIFEXITED(ws) ? WEXITSTATUS(ws) : -1;
    r.out = slurp(out);
    r.err = slurp(err);
    return r;
  }

  std::vector<std::string> targets_of(int site_index) {
    std::lock_guard<std::mutex> g(sites_[site_index]->mu);
    return sites_[site_index]->targets;
  }

  fs::path dir_;
  std::string hosts_file_;
  std::unique_ptr<FakeSite> sites_[5];
};

TEST_F(SearchCli, FirstPageOfEverySite) {
  for (const auto& c : site_cases()) {
    const CliRun r = run({"电影 2014", "--site", c.site});
    EXPECT_EQ(r.status, 0) << c.site << ": " << r.err;
    EXPECT_EQ(r.out, c.first_out) << "site " << c.site;
    EXPECT_EQ(targets_of(c.site[0] - '1'), std::vector<std::string>{c.first_target}) << c.site;
  }
}

TEST_F(SearchCli, NextPageFormOfEverySite) {
  for (const auto& c : site_cases()) {
    const CliRun r = run({"--page", "3", "电影 2014", "--site=" + std::string(c.site)});
    EXPECT_EQ(r.status, 0) << c.site << ": " << r.err;
    EXPECT_EQ(r.out, c.next_out) << "site " << c.site;
    EXPECT_EQ(targets_of(c.site[0] - '1'), std::vector<std::string>{c.next_target}) << c.site;
  }
}

TEST_F(SearchCli, WithoutSiteOneDrawnSiteIsAsked) {
  const auto cases = site_cases();
  std::size_t before[5] = {};
  for (int round = 0; round < 4; ++round) {
    const CliRun r = run({"电影 2014"});
    ASSERT_EQ(r.status, 0) << r.err;
    int asked = -1, new_hits = 0;
    for (int i = 0; i < 5; ++i) {
      const std::size_t n = targets_of(i).size();
      if (n > before[i]) asked = i;
      new_hits += static_cast<int>(n - before[i]);
      before[i] = n;
    }
    ASSERT_EQ(new_hits, 1);
    EXPECT_EQ(r.out, cases[asked].first_out) << "drawn site " << asked + 1;
    EXPECT_EQ(targets_of(asked).back(), cases[asked].first_target);
  }
}

TEST_F(SearchCli, UnknownPageIsAFailedFetch) {
  const CliRun r = run({"other", "--site", "2"});
  EXPECT_NE(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err, "");
}

TEST_F(SearchCli, DeadSiteFailsWithAMessageOnStandardError) {
  sites_[3]->server.stop();
  sites_[3]->thread.join();
  const CliRun r = run({"电影 2014", "--site", "4"});
  EXPECT_NE(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("failed"), std::string::npos) << r.err;
}

TEST_F(SearchCli, BadArgumentsAskNothing) {
  const std::vector<std::vector<std::string>> bad = {
      {}, {""}, {"x", "--site", "6"}, {"x", "--site"}, {"x", "--page", "0"},
      {"x", "--page", "two"}, {"x", "y"}, {"x", "--colour"}};
  for (const auto& args : bad) {
    const CliRun r = run(args);
    EXPECT_NE(r.status, 0) << (args.empty() ? "" : args[0]);
    EXPECT_EQ(r.out, "");
  }
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(targets_of(i).empty());
}

}  // namespace
}  // namespace tavlo
