// Shared state and helpers of the sandbox services (not installed, not used outside sandbox/).
#pragma once

#include <httplib.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "sandbox.h"

namespace tavlo::sandbox {

// ---- catalogue of search results (catalogue.cpp) ----
struct Title {
  std::string name;       // UTF-8 torrent name
  std::string hash;       // 40 upper-case hex digits
  long long bytes = 0;    // size in bytes
  std::string size_text;  // "1.37 GB", "700.5 MB"
  std::string date;       // "2014-05-01"
  int heat = 0;           // a popularity number
};
const std::vector<Title>& catalogue();
const Title* title_by_hash(std::string_view hash);  // case-insensitive, nullptr if unknown
// Titles whose name holds every space-separated word of the keyword (ASCII case folded;
// dots, dashes and underscores in names count as spaces).
std::vector<const Title*> search_catalogue(std::string_view keyword_utf8);

// ---- verification image (png.cpp) ----
std::string code_png(const std::string& code);  // a PNG file showing the digits

// ---- certificates (tls.cpp) ----
// Makes <dir>/ca.pem, ca.key, server.pem, server.key unless they are there and usable.
bool ensure_certificates(const std::string& dir, std::string* error);

// ---- helpers (util.cpp) ----
std::string url_decode(std::string_view s, bool plus_as_space);
std::string url_encode(std::string_view s);  // everything but A-Za-z0-9-._~ as %XX
std::string html_escape(std::string_view s);
// JSON string body: non-ASCII as \uXXXX, quotes as \u0022 / \u0027, "/" as "\/".
std::string json_escape(std::string_view utf8);
// Raw query of the request: the target after the first "?" ("" when none).
std::string raw_query(const httplib::Request& req);
// Form fields of an x-www-form-urlencoded body, values percent-decoded (or raw when asked).
std::multimap<std::string, std::string> parse_form(std::string_view body, bool decode);
std::string form_value(const std::multimap<std::string, std::string>& f, const std::string& key);
// Cookies of every Cookie header line; a later line wins.
std::map<std::string, std::string> request_cookies(const httplib::Request& req);
std::string hex_of(std::string_view bytes, bool upper = false);
std::string sha1_hex(std::string_view data, bool upper = false);
std::string md5_hex(std::string_view data);
std::string hmac_hex(std::string_view key, std::string_view data);
bool is_utf8(std::string_view s);
std::string to_utf8(std::string_view maybe_gbk);  // GBK bytes become UTF-8; UTF-8 unchanged
double now_seconds();
std::string lower_ascii(std::string s);
bool read_file(const std::string& path, std::string* out);
bool write_file(const std::string& path, const std::string& data, int mode = 0644);
// The Host header of the request, or "127.0.0.1:<local port>".
std::string request_host(const httplib::Request& req);
std::string page(const std::string& title, const std::string& body, const std::string& head = "");

// ---- state ----
struct CloudFile {
  std::string path;  // UTF-8, absolute, "/Tavlo/x.mkv"
  long long size = 0;
  std::string md5;
  long long fs_id = 0;
  long long mtime = 0;
  bool isdir = false;
};

struct Task {
  std::string id;
  std::string name;
  std::string source_url;
  std::string save_path;
  long long size = 0;
  double created = 0;
  std::string status = "1";  // 1 running, 0 finished, 3 not found, 7 cancelled
  bool fails = false;        // finishes as "3" (resource not found) instead of "0"
};

struct Account {
  std::string name;  // UTF-8
  std::string password;
  bool vip = true;
  bool flagged = false;  // every login needs a verification code
  int quota = -1;        // -1: the sandbox's quota option
  std::vector<CloudFile> files;
  std::vector<Task> tasks;
  int add_count = 0;
  std::string vcode_id, vcode_code;  // an outstanding offline verification code
};

struct Fault {
  std::string service;  // "" = every server
  std::string path;     // prefix
  std::string kind;     // slow, 500, drop, garbage
  int ms = 0;
  int remaining = -1;   // -1 = unlimited
};

struct Sandbox::Impl {
  Options opt;
  std::string state_dir;
  std::string secret;
  std::unique_ptr<httplib::Server> servers[kServiceCount];
  int ports[kServiceCount] = {};
  std::vector<std::thread> threads;
  bool running = false;
  std::atomic<bool> stopping{false};  // ends injected slowness early

  mutable std::mutex mu;  // guards everything below
  std::map<std::string, Account> accounts;
  std::map<std::string, int> login_failures;
  std::map<std::string, std::string> passport_codes;  // code-string id -> code
  std::vector<Fault> faults;
  std::string update_version, update_status;
  long long next_task_id = 0;
  long long next_fs_id = 0;
  std::mt19937_64 rng;

  std::string host(Service s) const { return opt.bind_host + ":" + std::to_string(ports[s]); }
  std::string random_hex(size_t n);    // caller holds mu
  std::string random_digits(size_t n); // caller holds mu
  std::string new_code();              // caller holds mu; honours fixed_code
  void seed_accounts();                // caller holds mu
  // Session cookie value of an account, and the account it names ("" if none / forged).
  std::string session_of(const std::string& user) const;
  std::string user_of_session(const std::string& bduss) const;
  // The account the request's BDUSS cookie names, nullptr if none. Caller holds mu.
  Account* account_of(const httplib::Request& req);
  void advance_tasks(Account& a);      // caller holds mu: finishes tasks whose time is up
  void add_file(Account& a, const std::string& path, long long size);  // caller holds mu
};

void setup_passport(Sandbox::Impl& s, httplib::Server& srv);
void setup_netdisk(Sandbox::Impl& s, httplib::Server& srv);
void setup_netdisk_captcha(Sandbox::Impl& s, httplib::Server& srv);
void setup_pan_web(Sandbox::Impl& s, httplib::Server& srv);
void setup_site(Sandbox::Impl& s, httplib::Server& srv, int site);  // 1..5
void setup_playapi(Sandbox::Impl& s, httplib::Server& srv);
void setup_maker(Sandbox::Impl& s, httplib::Server& srv);
void setup_live_tv(Sandbox::Impl& s, httplib::Server& srv);
void setup_update(Sandbox::Impl& s, httplib::Server& srv);

}  // namespace tavlo::sandbox
