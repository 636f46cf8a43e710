#include "sandbox.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/rand.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "hosts.h"
#include "internal.h"

namespace tavlo::sandbox {

namespace {

const char* const kNames[kServiceCount] = {"passport", "pan_web", "netdisk", "netdisk_captcha",
                                           "playapi",  "maker",   "live_tv", "update",
                                           "site1",    "site2",   "site3",   "site4",
                                           "site5"};
const int kPorts[kServiceCount] = {18443, 18080, 18081, 18082, 18083, 18084, 18085,
                                   18086, 18091, 18092, 18093, 18094, 18095};

bool make_dirs(const std::string& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  struct stat st;
  return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Closes the connection a request came in on, without answering: the client sees the
// connection end (curl: "Empty reply from server").
void drop_connection(const httplib::Request& req) {
  int fd = -1;
  if (req.ssl) fd = SSL_get_fd(req.ssl);
  for (int cand = 3; fd < 0 && cand < 4096; ++cand) {
    sockaddr_storage local{}, peer{};
    socklen_t ll = sizeof local, pl = sizeof peer;
    if (::getsockname(cand, reinterpret_cast<sockaddr*>(&local), &ll) != 0) continue;
    if (::getpeername(cand, reinterpret_cast<sockaddr*>(&peer), &pl) != 0) continue;
    if (local.ss_family != AF_INET || peer.ss_family != AF_INET) continue;
    auto* l4 = reinterpret_cast<sockaddr_in*>(&local);
    auto* p4 = reinterpret_cast<sockaddr_in*>(&peer);
    if (ntohs(l4->sin_port) == req.local_port && ntohs(p4->sin_port) == req.remote_port) fd = cand;
  }
  if (fd >= 0) ::shutdown(fd, SHUT_RDWR);
}

std::string services_index(const Sandbox::Impl& s) {
  std::string out;
  for (int i = 0; i < kServiceCount; ++i)
    out += std::string(kNames[i]) + " " + (i == kPassport ? "https://" : "http://") +
           s.host(static_cast<Service>(i)) + "\n";
  return out;
}

}  // namespace

const char* service_name(Service s) { return s >= 0 && s < kServiceCount ? kNames[s] : ""; }
int default_port(Service s) { return s >= 0 && s < kServiceCount ? kPorts[s] : 0; }

// ---- Impl ----

std::string Sandbox::Impl::random_hex(size_t n) {
  static const char* hex = "0123456789abcdef";
  std::string out;
  for (size_t i = 0; i < n; ++i) out += hex[rng() % 16];
  return out;
}

std::string Sandbox::Impl::random_digits(size_t n) {
  std::string out;
  for (size_t i = 0; i < n; ++i) out += static_cast<char>('0' + rng() % 10);
  return out;
}

std::string Sandbox::Impl::new_code() { return opt.fixed_code.empty() ? random_digits(4) : opt.fixed_code; }

std::string Sandbox::Impl::session_of(const std::string& user) const {
  return hex_of(user) + "x" + hmac_hex(secret, "BDUSS:" + user).substr(0, 40);
}

std::string Sandbox::Impl::user_of_session(const std::string& bduss) const {
  size_t x = bduss.find('x');
  if (x == std::string::npos || x % 2 != 0 || x > 256) return "";
  std::string user;
  for (size_t i = 0; i < x; i += 2) {
    unsigned v = 0;
    if (std::sscanf(bduss.substr(i, 2).c_str(), "%2x", &v) != 1) return "";
    user += static_cast<char>(v);
  }
  return session_of(user) == bduss ? user : "";
}

Account* Sandbox::Impl::account_of(const httplib::Request& req) {
  auto cookies = request_cookies(req);
  auto it = cookies.find("BDUSS");
  if (it == cookies.end()) return nullptr;
  std::string user = user_of_session(it->second);
  auto a = accounts.find(user);
  if (user.empty() || a == accounts.end()) return nullptr;
  advance_tasks(a->second);
  return &a->second;
}

void Sandbox::Impl::add_file(Account& a, const std::string& path, long long size) {
  // Parent folders first, as a real file system has them.
  for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
    std::string dir = path.substr(0, slash);
    bool have = false;
    for (auto& f : a.files) have = have || f.path == dir;
    if (!have) {
      CloudFile d;
      d.path = dir;
      d.isdir = true;
      d.fs_id = ++next_fs_id;
      d.mtime = static_cast<long long>(time(nullptr));
      a.files.push_back(d);
    }
  }
  for (auto& f : a.files)
    if (f.path == path) return;
  CloudFile f;
  f.path = path;
  f.size = size;
  f.md5 = md5_hex(path + "|" + std::to_string(size));
  f.fs_id = ++next_fs_id;
  f.mtime = static_cast<long long>(time(nullptr));
  a.files.push_back(f);
}

void Sandbox::Impl::advance_tasks(Account& a) {
  double now = now_seconds();
  for (Task& t : a.tasks) {
    if (t.status != "1" || now - t.created < opt.task_seconds) continue;
    if (t.fails) {
      t.status = "3";
      continue;
    }
    t.status = "0";
    std::string file = t.name;
    static const char* exts[] = {".mkv", ".mp4", ".avi", ".rmvb", ".wmv", ".flv", ".ts", ".mov"};
    bool video = false;
    for (const char* e : exts) {
      std::string le = lower_ascii(file);
      video = video || (le.size() > strlen(e) && le.compare(le.size() - strlen(e), strlen(e), e) == 0);
    }
    if (!video) file += ".mkv";
    add_file(a, t.save_path + "/" + file, t.size);
  }
}

void Sandbox::Impl::seed_accounts() {
  auto make = [&](const std::string& name, const std::string& pass, bool vip, bool flagged, int quota) -> Account& {
    Account& a = accounts[name];
    a.name = name;
    a.password = pass;
    a.vip = vip;
    a.flagged = flagged;
    a.quota = quota;
    return a;
  };
  const long long GB = 1024LL * 1024 * 1024;
  Account& t = make("tavlo", "tavlo123", true, false, -1);
  add_file(t, "/我的视频/让子弹飞 2010 BD1080P 国语中字.mkv", GB + GB / 2);  // 1.5GB
  add_file(t, "/我的视频/Inception.2010.1080p.BluRay.x264.mkv", 3 * GB);
  add_file(t, "/Tavlo/星际穿越 Interstellar 2014 720p 中英双字.mp4", 1288490189);
  add_file(t, "/我的视频/花絮 clip.mp4", 5242880);
  add_file(t, "/文档/说明.txt", 2048);
  Account& n = make("novip", "novip123", false, false, 0);
  add_file(n, "/我的视频/功夫 2004 DVDRip.avi", 734003200);
  Account& c = make("captcha", "captcha123", true, true, -1);
  add_file(c, "/我的视频/英雄 Hero 2002 BD720P.mkv", 2254857830LL);
  make("empty", "empty123", true, false, -1);
  Account& y = make("影迷", "yingmi123", true, false, -1);
  add_file(y, "/Tavlo/霸王别姬 1993 BD1080P 国语中字.mkv", 2 * GB);
}

// ---- Sandbox ----

Sandbox::Sandbox(Options options) : impl_(std::make_unique<Impl>()) {
  impl_->opt = std::move(options);
  impl_->update_version = impl_->opt.update_version;
  impl_->update_status = impl_->opt.update_status;
}

Sandbox::~Sandbox() { stop(); }

int Sandbox::port(Service s) const { return impl_->ports[s]; }
std::string Sandbox::host(Service s) const { return impl_->host(s); }
std::string Sandbox::state_dir() const { return impl_->state_dir; }
std::string Sandbox::ca_file() const { return impl_->state_dir + "/ca.pem"; }

std::string Sandbox::code_of(const std::string& id) const {
  std::lock_guard<std::mutex> lock(impl_->mu);
  auto it = impl_->passport_codes.find(id);
  if (it != impl_->passport_codes.end()) return it->second;
  for (auto& [name, a] : impl_->accounts)
    if (!a.vcode_id.empty() && a.vcode_id == id) return a.vcode_code;
  return "";
}

bool Sandbox::add_fault_spec(const std::string& spec, std::string* error) {
  std::string dummy;
  if (!error) error = &dummy;
  // [service:]path=kind[:ms][xN]
  size_t eq = spec.rfind('=');
  if (eq == std::string::npos) {
    *error = "fault must read [service:]path=kind[:ms][xN]: " + spec;
    return false;
  }
  Fault f;
  std::string where = spec.substr(0, eq), what = spec.substr(eq + 1);
  size_t colon = where.find(':');
  if (colon != std::string::npos && where[0] != '/') {
    f.service = where.substr(0, colon);
    where = where.substr(colon + 1);
  }
  f.path = where.empty() ? "/" : where;
  size_t x = what.find('x');
  if (x != std::string::npos) {
    f.remaining = std::atoi(what.c_str() + x + 1);
    what = what.substr(0, x);
  }
  size_t c = what.find(':');
  if (c != std::string::npos) {
    f.ms = std::atoi(what.c_str() + c + 1);
    what = what.substr(0, c);
  }
  f.kind = what;
  if (f.kind != "slow" && f.kind != "500" && f.kind != "drop" && f.kind != "garbage") {
    *error = "fault kind must be slow, 500, drop or garbage: " + spec;
    return false;
  }
  bool known = f.service.empty();
  for (const char* n : kNames) known = known || f.service == n;
  if (!known) {
    *error = "unknown service in fault: " + f.service;
    return false;
  }
  if (f.kind == "slow" && f.ms <= 0) f.ms = 5000;
  if (f.ms > 600000) f.ms = 600000;
  std::lock_guard<std::mutex> lock(impl_->mu);
  impl_->faults.push_back(f);
  return true;
}

void Sandbox::clear_faults() {
  std::lock_guard<std::mutex> lock(impl_->mu);
  impl_->faults.clear();
}

bool Sandbox::write_hosts(const std::string& path) const {
  tavlo::Hosts h;
  h.passport = host(kPassport);
  h.pan_web = host(kPanWeb);
  h.netdisk = host(kNetdisk);
  h.netdisk_captcha = host(kNetdiskCaptcha);
  h.playapi = host(kPlayApi);
  for (int i = 0; i < 5; ++i) h.site[i] = host(static_cast<Service>(kSite1 + i));
  h.maker = host(kMaker);
  h.live_tv = host(kLiveTv);
  h.update_page = "http://" + host(kUpdate) + "/update.html";
  h.register_return = "http://" + host(kPanWeb) + "/";
  h.ca_file = ca_file();
  return tavlo::write_hosts_file(path, h);
}

namespace {

// Faults and the admin endpoints, in front of every server.
void install_common(Sandbox& box, Sandbox::Impl& s, httplib::Server& srv, Service which,
                    std::atomic<bool>* stopping) {
  const std::string me = kNames[which];
  srv.set_pre_routing_handler([&s, me, stopping](const httplib::Request& req, httplib::Response& res) {
    if (req.path.rfind("/__sandbox/", 0) == 0) return httplib::Server::HandlerResponse::Unhandled;
    for (int waited = 0; waited < s.opt.latency_ms && !stopping->load(); waited += 20)
      std::this_thread::sleep_for(std::chrono::milliseconds(std::min(20, s.opt.latency_ms - waited)));
    Fault hit;
    bool found = false;
    {
      std::lock_guard<std::mutex> lock(s.mu);
      for (auto it = s.faults.begin(); it != s.faults.end(); ++it) {
        if ((!it->service.empty() && it->service != me) || req.path.rfind(it->path, 0) != 0) continue;
        hit = *it;
        found = true;
        if (it->remaining > 0 && --it->remaining == 0) s.faults.erase(it);
        break;
      }
    }
    if (!found) return httplib::Server::HandlerResponse::Unhandled;
    if (hit.kind == "slow") {
      for (int waited = 0; waited < hit.ms && !stopping->load(); waited += 50)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(50, hit.ms - waited)));
      return httplib::Server::HandlerResponse::Unhandled;
    }
    if (hit.kind == "500") {
      res.status = 500;
      res.set_content("<html><body><h1>500 Internal Server Error</h1></body></html>", "text/html");
    } else if (hit.kind == "garbage") {
      std::string junk;
      {
        std::lock_guard<std::mutex> lock(s.mu);
        for (int i = 0; i < 1500; ++i) junk += static_cast<char>(s.rng() & 0xFF);
      }
      res.status = 200;
      res.set_content(junk, "text/html; charset=utf-8");
    } else {  // drop
      drop_connection(req);
      res.status = 500;
    }
    return httplib::Server::HandlerResponse::Handled;
  });

  auto admin = [&srv](const std::string& path, httplib::Server::Handler h) {
    srv.Get(path, h);
    srv.Post(path, h);
  };
  admin("/__sandbox/health", [me](const httplib::Request&, httplib::Response& res) {
    res.set_content("ok " + me + "\n", "text/plain");
  });
  admin("/__sandbox/services", [&s](const httplib::Request&, httplib::Response& res) {
    res.set_content(services_index(s), "text/plain");
  });
  admin("/__sandbox/fault", [&box](const httplib::Request& req, httplib::Response& res) {
    std::string spec = req.get_param_value("service");
    if (!spec.empty()) spec += ":";
    spec += req.get_param_value("path").empty() ? "/" : req.get_param_value("path");
    spec += "=" + req.get_param_value("kind");
    if (req.has_param("ms")) spec += ":" + req.get_param_value("ms");
    if (req.has_param("times")) spec += "x" + req.get_param_value("times");
    std::string err;
    if (box.add_fault_spec(spec, &err)) {
      res.set_content("ok " + spec + "\n", "text/plain");
    } else {
      res.status = 400;
      res.set_content(err + "\n", "text/plain");
    }
  });
  admin("/__sandbox/fault/clear", [&box](const httplib::Request&, httplib::Response& res) {
    box.clear_faults();
    res.set_content("ok\n", "text/plain");
  });
  admin("/__sandbox/faults", [&s](const httplib::Request&, httplib::Response& res) {
    std::lock_guard<std::mutex> lock(s.mu);
    std::string out;
    for (auto& f : s.faults)
      out += (f.service.empty() ? "*" : f.service) + " " + f.path + " " + f.kind + " " +
             std::to_string(f.ms) + "ms " + std::to_string(f.remaining) + "\n";
    res.set_content(out, "text/plain");
  });
  admin("/__sandbox/code", [&box](const httplib::Request& req, httplib::Response& res) {
    std::string id = req.get_param_value("id");
    if (id.rfind("captchaservice", 0) == 0) id = id.substr(14);
    std::string code = box.code_of(id);
    if (code.empty()) res.status = 404;
    res.set_content(code, "text/plain");
  });
  admin("/__sandbox/update", [&s](const httplib::Request& req, httplib::Response& res) {
    std::lock_guard<std::mutex> lock(s.mu);
    if (req.has_param("version")) s.update_version = req.get_param_value("version");
    if (req.has_param("status")) s.update_status = req.get_param_value("status");
    res.set_content(s.update_version + " " + s.update_status + "\n", "text/plain; charset=utf-8");
  });
  admin("/__sandbox/accounts", [&s](const httplib::Request&, httplib::Response& res) {
    std::lock_guard<std::mutex> lock(s.mu);
    std::string out;
    for (auto& [name, a] : s.accounts) {
      s.advance_tasks(a);
      int files = 0, running = 0;
      for (auto& f : a.files) files += f.isdir ? 0 : 1;
      for (auto& t : a.tasks) running += t.status == "1" ? 1 : 0;
      out += name + " vip=" + (a.vip ? "1" : "0") + " flagged=" + (a.flagged ? "1" : "0") + " files=" +
             std::to_string(files) + " tasks=" + std::to_string(a.tasks.size()) + " running=" + std::to_string(running) +
             (a.vcode_id.empty() ? "" : " vcode=" + a.vcode_id) + "\n";
    }
    res.set_content(out, "text/plain; charset=utf-8");
  });
  admin("/__sandbox/finish-tasks", [&s](const httplib::Request&, httplib::Response& res) {
    std::lock_guard<std::mutex> lock(s.mu);
    int n = 0;
    for (auto& [name, a] : s.accounts) {
      for (auto& t : a.tasks)
        if (t.status == "1") t.created = -1e12, ++n;
      s.advance_tasks(a);
    }
    res.set_content("finished " + std::to_string(n) + "\n", "text/plain");
  });
}

}  // namespace

bool Sandbox::start(std::string* error) {
  std::string dummy;
  if (!error) error = &dummy;
  Impl& s = *impl_;
  if (s.running) return true;
  s.state_dir = s.opt.state_dir.empty() ? tavlo::default_sandbox_state_dir() : s.opt.state_dir;
  {
    // ca_file in the hosts file must work from any working directory.
    std::error_code ec;
    std::string abs = std::filesystem::absolute(s.state_dir, ec).lexically_normal().string();
    if (!ec && !abs.empty()) s.state_dir = abs;
    while (s.state_dir.size() > 1 && s.state_dir.back() == '/') s.state_dir.pop_back();
  }
  if (!make_dirs(s.state_dir)) {
    *error = "cannot create the state folder " + s.state_dir;
    return false;
  }
  if (!read_file(s.state_dir + "/secret", &s.secret) || s.secret.size() < 32) {
    unsigned char b[24];
    RAND_bytes(b, sizeof b);
    s.secret = hex_of(std::string_view(reinterpret_cast<char*>(b), sizeof b));
    if (!write_file(s.state_dir + "/secret", s.secret, 0600)) {
      *error = "cannot write " + s.state_dir + "/secret";
      return false;
    }
  }
  if (!ensure_certificates(s.state_dir, error)) return false;
  {
    std::lock_guard<std::mutex> lock(s.mu);
    std::random_device rd;
    s.rng.seed((static_cast<uint64_t>(rd()) << 32) ^ rd());
    s.next_task_id = 2700000000LL + static_cast<long long>(s.rng() % 100000000);
    s.next_fs_id = 100000000000LL + static_cast<long long>(s.rng() % 1000000000);
    if (s.accounts.empty()) s.seed_accounts();
  }
  for (const std::string& f : s.opt.faults)
    if (!add_fault_spec(f, error)) return false;

  s.stopping = false;
  for (int i = 0; i < kServiceCount; ++i) {
    Service which = static_cast<Service>(i);
    if (which == kPassport) {
      auto ssl = std::make_unique<httplib::SSLServer>((s.state_dir + "/server.pem").c_str(),
                                                      (s.state_dir + "/server.key").c_str());
      if (!ssl->is_valid()) {
        *error = "cannot load the server certificate from " + s.state_dir;
        stop();
        return false;
      }
      s.servers[i] = std::move(ssl);
    } else {
      s.servers[i] = std::make_unique<httplib::Server>();
    }
    httplib::Server& srv = *s.servers[i];
    srv.new_task_queue = [] { return new httplib::ThreadPool(6); };
    // No SO_REUSEPORT (the library's default): a second sandbox on the same ports must
    // fail to start rather than share the traffic.
    srv.set_socket_options([](socket_t sock) {
      int yes = 1;
      ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    srv.set_keep_alive_timeout(5);
    srv.set_read_timeout(10);
    srv.set_write_timeout(10);
    srv.set_payload_max_length(4 * 1024 * 1024);
    if (!s.opt.quiet) {
      srv.set_logger([which](const httplib::Request& req, const httplib::Response& res) {
        std::fprintf(stderr, "[%s] %s %s -> %d\n", kNames[which], req.method.c_str(), req.target.c_str(),
                     res.status);
      });
    }
    install_common(*this, s, srv, which, &s.stopping);
    switch (which) {
      case kPassport: setup_passport(s, srv); break;
      case kPanWeb: setup_pan_web(s, srv); break;
      case kNetdisk: setup_netdisk(s, srv); break;
      case kNetdiskCaptcha: setup_netdisk_captcha(s, srv); break;
      case kPlayApi: setup_playapi(s, srv); break;
      case kMaker: setup_maker(s, srv); break;
      case kLiveTv: setup_live_tv(s, srv); break;
      case kUpdate: setup_update(s, srv); break;
      default: setup_site(s, srv, i - kSite1 + 1); break;
    }
    int port = -1;
    if (s.opt.ports_from == 0) {
      port = srv.bind_to_any_port(s.opt.bind_host);
    } else {
      int want = s.opt.ports_from < 0 ? kPorts[i] : s.opt.ports_from + i;
      if (srv.bind_to_port(s.opt.bind_host, want)) port = want;
    }
    if (port <= 0) {
      int want = s.opt.ports_from < 0 ? kPorts[i] : s.opt.ports_from + i;
      *error = std::string("cannot listen on ") + s.opt.bind_host + ":" +
               (s.opt.ports_from == 0 ? std::string("any port") : std::to_string(want)) + " for " + kNames[i] +
               " (is another sandbox running? try --ports-from)";
      s.servers[i].reset();
      stop();
      return false;
    }
    s.ports[i] = port;
  }
  for (int i = 0; i < kServiceCount; ++i) {
    httplib::Server* srv = s.servers[i].get();
    s.threads.emplace_back([srv] { srv->listen_after_bind(); });
  }
  // A server stopped before its loop has begun would never end: wait until all run.
  for (int waited = 0; waited < 5000; ++waited) {
    bool all = true;
    for (auto& srv : s.servers) all = all && srv->is_running();
    if (all) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  s.running = true;
  return true;
}

void Sandbox::stop() {
  Impl& s = *impl_;
  s.stopping = true;
  for (auto& srv : s.servers)
    if (srv) srv->stop();
  for (auto& t : s.threads)
    if (t.joinable()) t.join();
  s.threads.clear();
  for (auto& srv : s.servers) srv.reset();
  s.running = false;
}

}  // namespace tavlo::sandbox
