// The substitute services through HTTP, read the way the program's clients read them:
// the same extractors, scrapers and marker texts.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "hosts.h"
#include "http_request.h"
#include "internal.h"
#include "percent.h"
#include "sandbox.h"
#include "scrapers.h"
#include "search_sites.h"
#include "text.h"
#include "text_codecs.h"

namespace {

using namespace tavlo;
using namespace tavlo::sandbox;
namespace fs = std::filesystem;

std::string temp_dir(const std::string& tag) {
  std::string d = fs::temp_directory_path() / ("tavlo-sandbox-" + tag + "-" + std::to_string(::getpid()));
  fs::remove_all(d);
  fs::create_directories(d);
  return d;
}

std::string without_quotes(std::string s) {
  s.erase(std::remove(s.begin(), s.end(), '"'), s.end());
  return s;
}

std::string quotes_to_apostrophes(std::string s) {
  std::replace(s.begin(), s.end(), '"', '\'');
  return s;
}

std::string sha1_of_first_catalogue_title() { return catalogue()[0].hash; }
size_t search_count(const std::string& utf8_keyword) { return search_catalogue(utf8_keyword).size(); }

// Between two markers of a UTF-8 answer (the program's own extractors expect GBK).
std::string between_utf8(const std::string& s, const std::string& a, const std::string& b) {
  size_t p = s.find(a);
  if (p == std::string::npos) return "";
  size_t e = s.find(b, p + a.size());
  return e == std::string::npos ? "" : s.substr(p + a.size(), e - p - a.size());
}

bool is_png(const std::string& b) { return b.size() > 8 && b.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0; }

bool is_hex40(const std::string& h) {
  return h.size() == 40 && std::all_of(h.begin(), h.end(), [](char c) { return isxdigit(static_cast<unsigned char>(c)); });
}

class SandboxTest : public ::testing::Test {
 protected:
  void start(Options o) {
    if (dir_.empty()) dir_ = temp_dir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    o.state_dir = dir_ + "/state";
    o.ports_from = 0;
    box_ = std::make_unique<Sandbox>(o);
    std::string err;
    ASSERT_TRUE(box_->start(&err)) << err;
  }
  void TearDown() override {
    if (box_) box_->stop();
    if (!dir_.empty()) fs::remove_all(dir_);
  }

  httplib::Client http(Service s) {
    httplib::Client c("127.0.0.1", box_->port(s));
    c.set_connection_timeout(5);
    c.set_read_timeout(10);
    return c;
  }
  std::unique_ptr<httplib::SSLClient> passport() {
    auto c = std::make_unique<httplib::SSLClient>("127.0.0.1", box_->port(kPassport));
    c->set_ca_cert_path(box_->ca_file().c_str());
    c->enable_server_certificate_verification(true);
    return c;
  }

  // The passport round of a login: token, then the login POST. Returns the error code cut
  // from the answer; `cookies` receives "name=value; ..." of the Set-Cookie lines.
  std::string token() {
    auto r = passport()->Get("/v2/api/?getapi&class=login&tpl=mn&tangram=true");
    if (!r || r->status != 200) return "";
    size_t p = r->body.find("token");
    return p == std::string::npos || p < 2 ? "" : r->body.substr(p + 7, 32);
  }
  std::string login(const std::string& tok, const std::string& user, const std::string& pass,
                    const std::string& verify_part, std::string* cookies = nullptr) {
    std::string body = "ppui_logintime=12345&charset=utf-8&token=" + tok +
                       "&isPhone=false&index=0&u=&safeflg=0&staticpage=http%3A%2F%2F" + box_->host(kPanWeb) +
                       "%2Fcache%2Fuser%2Fhtml%2Fjump.html&loginType=1&tpl=mn&callback=parent.bdPass.api.login."
                       "_postCallback&username=" + user + "&password=" + pass + verify_part + "&tt=1418300000123";
    auto r = passport()->Post("/v2/api/?login", body, "application/x-www-form-urlencoded");
    if (!r) return "<no answer>";
    if (cookies) {
      cookies->clear();
      for (auto it = r->headers.lower_bound("Set-Cookie"); it != r->headers.upper_bound("Set-Cookie"); ++it) {
        if (!cookies->empty()) *cookies += "; ";
        *cookies += it->second.substr(0, it->second.find(';'));
      }
    }
    return text_between(r->body, "error=", "'");
  }
  std::string log_in_ok(const std::string& user, const std::string& pass) {
    std::string cookies;
    EXPECT_EQ(login(token(), user, pass, "", &cookies), "0");
    return cookies;
  }

  std::string cloud_dl(const std::string& cookies, const std::string& body, bool add = false) {
    httplib::Headers h;
    if (!cookies.empty()) h.emplace("Cookie", cookies);
    std::string path = add ? "/rest/2.0/services/cloud_dl?bdstoken=&channel=chunlei&clienttype=0&web=1"
                           : "/rest/2.0/services/cloud_dl?app_id=250528&clienttype=8";
    auto r = http(kNetdisk).Post(path, h, body, "application/x-www-form-urlencoded");
    return r ? r->body : "";
  }
  std::string add_task(const std::string& cookies, const std::string& link, const std::string& code_part = "") {
    return without_quotes(cloud_dl(cookies,
                                   "method=add_task&app_id=250528&save_path=%2FTavlo&source_url=" +
                                       percent_encode(link, false) + code_part,
                                   true));
  }
  struct TaskList {
    std::string error;
    TextList names, statuses, ids;
  };
  TaskList list_tasks(const std::string& cookies) {
    std::string a = quotes_to_apostrophes(cloud_dl(cookies, "method=list_task&start=0&limit=100&asc=0&need_task_info=1&status=255"));
    TaskList t;
    t.error = text_between(a, "error_msg':'", "'");
    text_between_all(a, "task_name':'", "'", t.names, true);
    text_between_all(a, "status':'", "'", t.statuses, true);
    text_between_all(a, "task_id':'", "'", t.ids, true);
    return t;
  }
  struct Videos {
    TextList names, sizes, paths, md5s;
  };
  Videos category_list(const std::string& cookies) {
    httplib::Headers h;
    if (!cookies.empty()) h.emplace("Cookie", cookies);
    auto r = http(kNetdisk).Get("/api/categorylist?category=1&page=1&num=1000&clienttype=8", h);
    Videos v;
    if (!r) return v;
    std::string a = quotes_to_apostrophes(r->body);
    text_between_all(a, "server_filename':'", "'", v.names, true);
    text_between_all(a, "size':", ",", v.sizes, true);
    text_between_all(a, "path':'", "'", v.paths, true);
    text_between_all(a, "'md5':'", "'", v.md5s, true);
    for (auto& n : v.names) n = unescape_unicode(n);
    for (auto& p : v.paths) p = unescape_unicode(p);
    return v;
  }
  std::string file_manager_delete(const std::string& cookies, const std::string& filelist_item) {
    httplib::Headers h{{"Cookie", cookies}};
    auto r = http(kNetdisk).Post("/api/filemanager?opera=delete&clienttype=8&devuid=B&channel=000&version=4.4.0.6", h,
                                 "filelist=[\"" + filelist_item + "\"]", "application/x-www-form-urlencoded");
    return r ? r->body : "";
  }

  // A page of search site `site` (1-5) at the path of `url`, scraped as the program does.
  // `fetched` tells whether an answer came at all.
  SearchScrape scraped_site_page(int site, const std::string& url, bool* fetched) {
    const Service svc = static_cast<Service>(kSite1 + site - 1);
    const std::size_t scheme = url.find("://");
    const std::string path = scheme == std::string::npos ? url : url.substr(url.find('/', scheme + 3));
    auto r = http(svc).Get(path.c_str());
    SearchScrape s;
    s.site = std::to_string(site);
    s.site2_host = box_->host(svc);
    *fetched = static_cast<bool>(r);
    if (!r) return s;
    s.page = normalise_search_page(r->body);
    scrape_all(s);
    return s;
  }

  std::string dir_;
  std::unique_ptr<Sandbox> box_;
};

TEST(SandboxDefaults, PortsAreTheProgramsBuiltInHosts) {
  const Hosts builtin;
  auto at = [](Service s) { return "127.0.0.1:" + std::to_string(default_port(s)); };
  EXPECT_EQ(builtin.passport, at(kPassport));
  EXPECT_EQ(builtin.pan_web, at(kPanWeb));
  EXPECT_EQ(builtin.netdisk, at(kNetdisk));
  EXPECT_EQ(builtin.netdisk_captcha, at(kNetdiskCaptcha));
  EXPECT_EQ(builtin.playapi, at(kPlayApi));
  EXPECT_EQ(builtin.maker, at(kMaker));
  EXPECT_EQ(builtin.live_tv, at(kLiveTv));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(builtin.site[i], at(static_cast<Service>(kSite1 + i)));
  EXPECT_EQ(builtin.update_page, "http://" + at(kUpdate) + "/update.html");
  EXPECT_EQ(builtin.register_return, "http://" + at(kPanWeb) + "/");
  EXPECT_EQ(default_ca_file(), default_sandbox_state_dir() + "/ca.pem");
}

TEST_F(SandboxTest, HostsFileNamesEveryServiceAndTheAuthorityThePassportUses) {
  start({});
  std::string path = dir_ + "/hosts.ini";
  ASSERT_TRUE(box_->write_hosts(path));
  Hosts h = read_hosts_file(path);
  EXPECT_EQ(h.passport, box_->host(kPassport));
  EXPECT_EQ(h.pan_web, box_->host(kPanWeb));
  EXPECT_EQ(h.netdisk, box_->host(kNetdisk));
  EXPECT_EQ(h.netdisk_captcha, box_->host(kNetdiskCaptcha));
  EXPECT_EQ(h.playapi, box_->host(kPlayApi));
  EXPECT_EQ(h.maker, box_->host(kMaker));
  EXPECT_EQ(h.live_tv, box_->host(kLiveTv));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(h.site[i], box_->host(static_cast<Service>(kSite1 + i)));
  EXPECT_EQ(h.update_page, "http://" + box_->host(kUpdate) + "/update.html");
  EXPECT_EQ(h.register_return, "http://" + box_->host(kPanWeb) + "/");
  EXPECT_EQ(h.ca_file, box_->ca_file());
  // The passport's certificate verifies against that authority, and the token answer
  // holds the 32-character token two bytes after "token".
  std::string t = token();
  EXPECT_EQ(t.size(), 32u);
  EXPECT_TRUE(std::all_of(t.begin(), t.end(), [](char c) { return isxdigit(static_cast<unsigned char>(c)); })) << t;
  // A second sandbox on ports already served refuses to start, and the first keeps serving.
  {
    Options o;
    o.state_dir = dir_ + "/state2";
    o.ports_from = box_->port(kPassport);
    Sandbox second(o);
    std::string err;
    EXPECT_FALSE(second.start(&err));
    EXPECT_NE(err.find(std::to_string(box_->port(kPassport))), std::string::npos) << err;
    EXPECT_EQ(token().size(), 32u);
  }
  // A second sandbox on the same state folder keeps the authority the program trusts.
  std::string ca_before;
  {
    std::ifstream in(box_->ca_file());
    ca_before.assign(std::istreambuf_iterator<char>(in), {});
  }
  const std::string old_token = token();
  box_->stop();
  start({});
  std::ifstream in(box_->ca_file());
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), ca_before);
  // ... and still accepts a token it handed out before (the program keeps its token).
  EXPECT_EQ(login(old_token, "empty", "empty123", ""), "0");
}

TEST_F(SandboxTest, LoginCodesCookiesAndTheCategoryListTheyOpen) {
  Options o;
  o.login_failures_before_code = 2;
  start(o);
  const std::string tok = token();
  struct Case {
    const char* user;
    const char* pass;
    const char* code;
  } cases[] = {
      {"tavlo", "wrong", "4"}, {"nobody", "x", "2"}, {"", "x", "1"}, {"tavlo", "wrong2", "4"},
      {"tavlo", "tavlo123", "257"},  // two failures of this user name: a code is now demanded
      {"nobody", "x", "2"},          // the other name has failed once only
  };
  for (const Case& c : cases) EXPECT_EQ(login(tok, c.user, c.pass, ""), c.code) << c.user << "/" << c.pass;
  // A token the passport never issued is refused whatever the account.
  EXPECT_NE(login("0123456789abcdef0123456789abcdef", "empty", "empty123", ""), "0");

  // The code round: code string, image, a wrong code, then the right one.
  auto cs = passport()->Get(("/v2/?reggetcodestr&token=" + tok + "&tpl=netdisk&apiver=v3&tt=1418300000123").c_str());
  ASSERT_TRUE(cs);
  std::string rest = text_between(cs->body, "captchaservice", "\"");
  ASSERT_FALSE(rest.empty());
  auto img = passport()->Get(("/cgi-bin/genimage?captchaservice" + rest).c_str());
  ASSERT_TRUE(img);
  EXPECT_TRUE(is_png(img->body));
  const std::string code = box_->code_of(rest);
  ASSERT_EQ(code.size(), 4u);
  const std::string wrong = code == "0000" ? "1111" : "0000";
  EXPECT_EQ(login(tok, "tavlo", "tavlo123", "&verifycode=" + wrong + "&codestring=captchaservice" + rest), "6");
  std::string cookies;
  EXPECT_EQ(login(tok, "tavlo", "tavlo123", "&verifycode=" + code + "&codestring=captchaservice" + rest, &cookies), "0");
  EXPECT_NE(cookies.find("BDUSS="), std::string::npos) << cookies;

  // The cookies open the account's videos; names and paths arrive \u-escaped.
  Videos v = category_list(cookies);
  ASSERT_GE(v.names.size(), 3u);
  EXPECT_EQ(v.sizes.size(), v.names.size());
  EXPECT_EQ(v.paths.size(), v.names.size());
  EXPECT_EQ(v.md5s.size(), v.names.size());
  EXPECT_NE(std::find(v.names.begin(), v.names.end(), gbk("让子弹飞 2010 BD1080P 国语中字.mkv")), v.names.end());
  EXPECT_NE(std::find(v.paths.begin(), v.paths.end(), gbk("/我的视频/让子弹飞 2010 BD1080P 国语中字.mkv")), v.paths.end());
  EXPECT_NE(std::find(v.sizes.begin(), v.sizes.end(), "1610612736"), v.sizes.end());
  for (const auto& n : v.names) EXPECT_EQ(n.find(".txt"), std::string::npos) << "only videos are listed";
  // Without cookies, or with a forged session, nothing is listed.
  EXPECT_TRUE(category_list("").names.empty());
  EXPECT_TRUE(category_list("BDUSS=74617676c6fx00").names.empty());

  // A flagged account needs a code on its very first attempt; the user name may come in GBK.
  EXPECT_EQ(login(token(), "captcha", "captcha123", ""), "257");
  EXPECT_EQ(login(token(), gbk("影迷"), "yingmi123", ""), "0");
}

TEST_F(SandboxTest, OfflineTaskRunsFinishesAndLandsInTheCloudFolder) {
  Options o;
  o.task_seconds = 0.3;
  o.vcode_every = 0;
  start(o);
  const std::string cookies = log_in_ok("empty", "empty123");
  const std::string hash = sha1_of_first_catalogue_title();

  EXPECT_EQ(text_between(add_task("", "magnet:?xt=urn:btih:" + hash), "error_msg:", ","), "no permission");
  EXPECT_EQ(list_tasks("").error, "no permission");
  EXPECT_EQ(text_between(add_task(cookies, "http://example.org/film.mkv"), "error_msg:", ","), "magnet cannot parse");
  EXPECT_EQ(text_between(add_task(cookies, "magnet:?xt=urn:btih:XYZ"), "error_msg:", ","), "magnet cannot parse");

  std::string a = add_task(cookies, "magnet:?xt=urn:btih:" + hash);
  EXPECT_EQ(text_between(a, "error_msg:", ","), "") << a;
  TaskList t = list_tasks(cookies);
  ASSERT_EQ(t.names.size(), 1u);
  EXPECT_EQ(t.statuses, TextList{"1"});
  ASSERT_EQ(t.ids.size(), 1u);
  const std::string name = t.names[0];
  EXPECT_TRUE(category_list(cookies).names.empty()) << "nothing in the cloud before the task ends";

  for (int i = 0; i < 200 && list_tasks(cookies).statuses != TextList{"0"}; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(list_tasks(cookies).statuses, TextList{"0"});
  Videos v = category_list(cookies);
  ASSERT_EQ(v.paths.size(), 1u);
  EXPECT_EQ(v.paths[0], "/Tavlo/" + unescape_unicode(name) + ".mkv");

  // Cancel stops a running task for good; delete removes tasks from the list.
  add_task(cookies, "magnet:?xt=urn:btih:" + std::string(40, 'A') + "&dn=Other");
  t = list_tasks(cookies);
  ASSERT_EQ(t.ids.size(), 2u);
  const std::string running = t.ids[0];  // newest first
  EXPECT_EQ(t.names[0], "Other");
  cloud_dl(cookies, "method=cancel_task&task_id=" + running);
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  t = list_tasks(cookies);
  EXPECT_EQ(t.statuses[0], "7");
  EXPECT_EQ(category_list(cookies).paths.size(), 1u) << "a cancelled task delivers nothing";
  for (const auto& id : t.ids) cloud_dl(cookies, "method=delete_task&task_id=" + id);
  EXPECT_TRUE(list_tasks(cookies).ids.empty());

  // File manager: one file by its encoded path, then the whole folder.
  add_task(cookies, "magnet:?xt=urn:btih:" + std::string(40, 'B') + "&dn=Second");
  box_->stop();  // restart: sessions and the CA survive, state starts afresh
  start(o);
  EXPECT_EQ(list_tasks(cookies).error, "") << "the session outlives a restart";
  EXPECT_TRUE(list_tasks(cookies).ids.empty());
  const std::string cookies2 = log_in_ok("tavlo", "tavlo123");
  Videos before = category_list(cookies2);
  ASSERT_GE(before.paths.size(), 2u);
  file_manager_delete(cookies2, percent_encode(before.paths[0], true));
  Videos after = category_list(cookies2);
  EXPECT_EQ(after.paths.size(), before.paths.size() - 1);
  EXPECT_EQ(std::find(after.paths.begin(), after.paths.end(), before.paths[0]), after.paths.end());
  file_manager_delete(cookies2, "/Tavlo");
  for (const auto& p : category_list(cookies2).paths) EXPECT_NE(p.rfind("/Tavlo/", 0), 0u) << p;
}

TEST_F(SandboxTest, OfflineCodeIsDemandedThenCheckedAndLimitsAnswerTheirTexts) {
  Options o;
  o.vcode_every = 2;
  o.concurrency = 2;
  start(o);
  const std::string cookies = log_in_ok("tavlo", "tavlo123");
  const std::string link = "magnet:?xt=urn:btih:" + sha1_of_first_catalogue_title();
  EXPECT_EQ(text_between(add_task(cookies, link), "error_msg:", ","), "");
  std::string a = add_task(cookies, link);
  ASSERT_EQ(text_between(a, "error_msg:", ","), "vcode is needed") << a;
  std::string vcode = text_between(a, "vcode:", ",");
  std::string id = text_between(a, "genimage?", ",");
  ASSERT_FALSE(vcode.empty());
  auto img = http(kNetdiskCaptcha).Get(("/genimage?" + id).c_str());
  ASSERT_TRUE(img);
  EXPECT_TRUE(is_png(img->body));
  std::string code = box_->code_of(vcode);
  ASSERT_EQ(code.size(), 4u);
  // A wrong code brings a fresh demand with a new id.
  std::string wrong = code == "0000" ? "1111" : "0000";
  a = add_task(cookies, link, "&type=4&input=" + wrong + "&vcode=" + vcode);
  ASSERT_EQ(text_between(a, "error_msg:", ","), "vcode is needed");
  std::string vcode2 = text_between(a, "vcode:", ",");
  EXPECT_NE(vcode2, vcode);
  a = add_task(cookies, link, "&type=4&input=" + box_->code_of(vcode2) + "&vcode=" + vcode2);
  EXPECT_EQ(text_between(a, "error_msg:", ","), "") << a;
  // Two running tasks is this VIP's limit.
  a = add_task(cookies, link);
  EXPECT_EQ(text_between(a, "error_msg:", ","), "user is vip and exceed concurrency");
  // The non-VIP account has no quota left.
  a = add_task(log_in_ok("novip", "novip123"), link);
  EXPECT_EQ(text_between(a, "error_msg:", ","), "user is not vip and exceed quota");
}

TEST_F(SandboxTest, EverySiteAnswersWithItsMarkersAndPagesUntilResultsRunOut) {
  start({});
  const std::string keyword = "2014";  // more than any site's page holds
  for (int site = 1; site <= 5; ++site) {
    SCOPED_TRACE("site " + std::to_string(site));
    const std::string index = std::to_string(site);
    const std::string host = box_->host(static_cast<Service>(kSite1 + site - 1));
    const std::string K = percent_encode(keyword, true);
    std::set<std::string> seen;
    bool more = true;
    int page = 1;
    for (; more && page <= 40; ++page) {
      std::string url = page == 1 ? search_first_page_address(index, host, K) : search_next_page_address(index, host, K, page);
      bool fetched = false;
      SearchScrape s = scraped_site_page(site, url, &fetched);
      ASSERT_TRUE(fetched);
      more = search_page_has_more(s);
      ASSERT_GE(s.names.size(), 1u) << url;
      EXPECT_LE(s.names.size(), 30u);
      if (more) {
        EXPECT_GE(s.names.size(), 10u);
      }
      ASSERT_EQ(s.sizes.size(), s.names.size());
      ASSERT_EQ(s.hashes.size(), s.names.size());
      for (size_t i = 0; i < s.names.size(); ++i) {
        EXPECT_TRUE(is_hex40(s.hashes[i])) << s.hashes[i];
        EXPECT_NE(s.names[i].find("2014"), std::string::npos) << s.names[i];
        EXPECT_EQ(s.names[i].find('<'), std::string::npos) << s.names[i];
        EXPECT_TRUE(!s.sizes[i].empty() && s.sizes[i].back() == 'B' && isdigit(static_cast<unsigned char>(s.sizes[i][0]))) << s.sizes[i];
        EXPECT_TRUE(seen.insert(s.hashes[i]).second) << "repeated on a later page: " << s.hashes[i];
      }
    }
    EXPECT_GT(page, 2) << "the keyword spans several pages";
    EXPECT_FALSE(more) << "the last page shows no more marker";
    EXPECT_EQ(seen.size(), search_count(keyword));
  }
  // Chinese keyword on site 3: names come back percent-decoded, and a keyword that matches
  // nothing gives no rows and no more marker on any site.
  for (int site = 1; site <= 5; ++site) {
    const std::string index = std::to_string(site);
    const std::string host = box_->host(static_cast<Service>(kSite1 + site - 1));
    for (const std::string& kw_utf8 : {std::string("星际穿越"), std::string("zzqqxx")}) {
      const std::string kw = gbk(kw_utf8);
      std::string url = search_first_page_address(index, host, percent_encode(kw, true));
      bool fetched = false;
      SearchScrape s = scraped_site_page(site, url, &fetched);
      ASSERT_TRUE(fetched);
      EXPECT_FALSE(search_page_has_more(s)) << site;
      ASSERT_EQ(s.names.size(), search_count(kw_utf8)) << site;
      EXPECT_EQ(s.hashes.size(), s.names.size());
      for (auto& n : s.names) EXPECT_NE(n.find(kw), std::string::npos) << site << " " << n;
    }
  }
}

TEST_F(SandboxTest, FaultsOnDemandHitTheChosenRouteOnly) {
  start({});
  ASSERT_TRUE(box_->add_fault_spec("maker:/SOFT/Main.html=500x1", nullptr));
  auto c = http(kMaker);
  auto r = c.Get("/SOFT/Main.html");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->status, 500);
  EXPECT_EQ(c.Get("/SOFT/Main.html")->status, 200) << "x1 hits once";
  EXPECT_EQ(c.Get("/SOFT/pop.html")->status, 200);

  // Through the admin endpoint of any server: drop, garbage.
  auto admin = http(kSite1);
  ASSERT_EQ(admin.Get("/__sandbox/fault?service=netdisk&path=/api/categorylist&kind=drop")->status, 200);
  auto dropped = http(kNetdisk).Get("/api/categorylist?category=1");
  EXPECT_FALSE(dropped) << "the connection ends without an answer";
  ASSERT_EQ(admin.Get("/__sandbox/fault?service=site2&path=/search/&kind=garbage")->status, 200);
  bool fetched = false;
  SearchScrape s = scraped_site_page(2, "/search/2014", &fetched);
  ASSERT_TRUE(fetched);
  EXPECT_TRUE(s.names.empty());
  ASSERT_EQ(admin.Get("/__sandbox/fault/clear")->status, 200);
  EXPECT_TRUE(http(kNetdisk).Get("/api/categorylist?category=1"));
  EXPECT_EQ(admin.Get("/__sandbox/fault?kind=nonsense")->status, 400);

  // Slowness: a client that waits less than the delay gives up; without the fault it does not.
  ASSERT_TRUE(box_->add_fault_spec("live_tv:/images/=slow:4000x1", nullptr));
  auto impatient = http(kLiveTv);
  impatient.set_read_timeout(1);
  EXPECT_FALSE(impatient.Get("/images/img/100/"));
  EXPECT_TRUE(impatient.Get("/images/img/100/"));
}

TEST_F(SandboxTest, UpdatePlayApiAndFixedPagesCarryWhatTheProgramReads) {
  Options o;
  o.update_version = "Ver 1.3.6";
  o.update_name = "NewName";
  start(o);
  auto up = http(kUpdate).Get("/update.html");
  ASSERT_TRUE(up);
  std::string page = utf8_bytes_to_gbk_bytes(up->body);
  EXPECT_EQ(text_between(page, gbk("版本：["), "]"), "Ver 1.3.6");
  EXPECT_EQ(text_between(page, gbk("名称：["), "]"), "NewName");
  EXPECT_EQ(text_between(page, gbk("状态：["), "]"), "0");
  std::string notes = text_between(page, gbk("更新内容：["), "</p><p style");
  EXPECT_EQ(split_text(notes, "</p><p>").size(), 3u) << notes;
  std::string addr = text_between(page, gbk("地址：["), "]");
  ASSERT_EQ(addr.rfind("http://" + box_->host(kUpdate) + "/", 0), 0u) << addr;
  EXPECT_NE(addr.find("NewName.exe"), std::string::npos);
  auto dl = http(kUpdate).Get(addr.substr(addr.find('/', 7)).c_str());
  ASSERT_TRUE(dl);
  EXPECT_EQ(dl->status, 200);
  EXPECT_FALSE(dl->body.empty());
  // The announced version can change while running.
  http(kSite4).Get("/__sandbox/update?version=Ver%201.3.5&status=1");
  page = utf8_bytes_to_gbk_bytes(http(kUpdate).Get("/update.html")->body);
  EXPECT_EQ(text_between(page, gbk("版本：["), "]"), "Ver 1.3.5");
  EXPECT_EQ(text_between(page, gbk("状态：["), "]"), "1");

  auto play = http(kPlayApi).Get("/playapi.php?method=high&u=magnet%3A%3Fxt%3Durn%3Abtih%3AABC");
  ASSERT_TRUE(play);
  EXPECT_NE(play->body.find("magnet:?xt=urn:btih:ABC"), std::string::npos);
  EXPECT_NE(play->body.find("<iframe"), std::string::npos);
  EXPECT_NE(play->body.find("window.open("), std::string::npos);
  auto frame_src = between_utf8(play->body, "<iframe id=\"player\" name=\"player\" src=\"", "\"");
  ASSERT_FALSE(frame_src.empty());
  EXPECT_EQ(http(kPlayApi).Get(frame_src.c_str())->status, 200);

  EXPECT_EQ(http(kMaker).Get("/SOFT/Main.html")->status, 200);
  EXPECT_EQ(http(kMaker).Get("/SOFT/pop.html")->status, 200);
  EXPECT_EQ(http(kLiveTv).Get("/images/img/100/")->status, 200);

  // The registration link of the program: link-redirect page to the passport's form.
  std::string ret = percent_encode(percent_encode("http://" + box_->host(kPanWeb) + "/", false), false);
  auto ulink = http(kPanWeb).Get(("/ulink?url=https%3A%2F%2F" + box_->host(kPassport) +
                                  "%2Fv2%2F%3Freg%26regType%3D1%26tpl%3Dmn%26u%3D" + ret + "&").c_str());
  ASSERT_TRUE(ulink);
  EXPECT_NE(ulink->body.find("https://" + box_->host(kPassport) + "/v2/?reg"), std::string::npos) << ulink->body;
  auto reg = passport()->Post("/v2/?regsubmit", "username=newbie&password=secret99&u=", "application/x-www-form-urlencoded");
  ASSERT_TRUE(reg);
  EXPECT_EQ(login(token(), "newbie", "secret99", ""), "0");
}

// The program's own request engine: the passport's cookies land in the shared cookie store
// and open the category list on the netdisk host (another port of the same address), while
// the add-task request carries the login answer's cookies explicitly.
TEST_F(SandboxTest, ProgramRequestEngineCarriesTheLoginToTheCloud) {
  start({});
  static std::once_flag once;
  std::call_once(once, [] { http_global_init(); });
  http_set_extra_ca_file(box_->ca_file());
  cookie_store_set_file("");
  cookie_store_clear();
  const std::string passport = "https://" + box_->host(kPassport);
  Bytes tok = http_request_bytes(passport + "/v2/api/?getapi&class=login&tpl=mn&tangram=true");
  size_t p = tok.find("token");
  ASSERT_NE(p, std::string::npos);
  const std::string token = tok.substr(p + 7, 32);
  std::string account_cookies;
  std::string answer = http_request(passport + "/v2/api/?login", 1,
                                    "ppui_logintime=12345&charset=utf-8&token=" + token +
                                        "&loginType=1&tpl=mn&username=tavlo&password=tavlo123&tt=1418300000123",
                                    nullptr, &account_cookies);
  ASSERT_EQ(text_between(answer, "error=", "'"), "0");
  EXPECT_NE(account_cookies.find("BDUSS="), std::string::npos);

  std::string list = quotes_to_apostrophes(http_request_bytes(
      "http://" + box_->host(kNetdisk) + "/api/categorylist?category=1&page=1&num=1000&clienttype=8"));
  TextList names;
  text_between_all(list, "server_filename':'", "'", names, true);
  EXPECT_GE(names.size(), 3u) << list;

  std::string add = without_quotes(http_request(
      "http://" + box_->host(kNetdisk) + "/rest/2.0/services/cloud_dl?bdstoken=&channel=chunlei&clienttype=0&web=1", 1,
      "method=add_task&app_id=250528&save_path=%2FTavlo&source_url=" +
          percent_encode("magnet:?xt=urn:btih:" + sha1_of_first_catalogue_title(), false),
      &account_cookies));
  EXPECT_EQ(text_between(add, "error_msg:", ","), "") << add;
  EXPECT_NE(add.find("task_id:"), std::string::npos) << add;
  cookie_store_clear();
  http_set_extra_ca_file("");
}

TEST(SandboxExecutable, StartsWritesTheHostsFileAndStopsOnSigterm) {
  std::string dir = temp_dir("exe");
  int out[2];
  ASSERT_EQ(::pipe(out), 0);
  pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::dup2(out[1], 1);
    ::close(out[0]);
    std::string hosts = dir + "/hosts.ini", state = dir + "/state";
    ::execl(TAVLO_SANDBOX, TAVLO_SANDBOX, "--hosts-out", hosts.c_str(), "--state-dir", state.c_str(), "--ports-from",
            "0", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(out[1]);
  std::string text;
  char buf[512];
  while (text.find("ready") == std::string::npos) {
    ssize_t n = ::read(out[0], buf, sizeof buf);
    if (n <= 0) break;
    text.append(buf, static_cast<size_t>(n));
  }
  ::close(out[0]);
  ASSERT_NE(text.find("tavlo-sandbox ready"), std::string::npos) << text;
  Hosts h = read_hosts_file(dir + "/hosts.ini");
  std::string site1 = h.site[0];
  ASSERT_EQ(site1.rfind("127.0.0.1:", 0), 0u);
  httplib::Client c("127.0.0.1", std::stoi(site1.substr(10)));
  auto r = c.Get("/search/Inception/");
  ASSERT_TRUE(r);
  EXPECT_NE(r->body.find("<td class=\"name\">"), std::string::npos);
  ::kill(pid, SIGTERM);
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  fs::remove_all(dir);
}

}  // namespace
