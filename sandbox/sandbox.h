// tavlo-sandbox: substitute outside services on loopback (passport over HTTPS, the cloud
// endpoints, five search sites, play-API page, fixed pages, update page), with real state.
// The executable wraps this class; tests start it in-process on free ports.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tavlo::sandbox {

// One listening server per role. The order is the order of --ports-from N (N, N+1, ...).
enum Service {
  kPassport,
  kPanWeb,
  kNetdisk,
  kNetdiskCaptcha,
  kPlayApi,
  kMaker,
  kLiveTv,
  kUpdate,
  kSite1,
  kSite2,
  kSite3,
  kSite4,
  kSite5,
  kServiceCount
};

const char* service_name(Service s);  // "passport", "pan_web", ..., "update", "site1".."site5"
int default_port(Service s);          // the program's built-in defaults (18443, 18080, ...)

struct Options {
  std::string state_dir;          // "" = $HOME/.local/share/tavlo-sandbox
  int ports_from = -1;            // -1: built-in default ports; 0: any free ports; N: N..N+12
  std::string bind_host = "127.0.0.1";
  double task_seconds = 20;       // how long an offline task runs before it finishes
  int vcode_every = 3;            // every Nth add_task of an account demands a code; 0 = never
  int login_failures_before_code = 3;  // failed logins of a user name before a code is demanded
  std::string fixed_code;         // every verification code equals this (digits); "" = random
  int concurrency = 5;            // unfinished tasks a VIP account may have
  int quota = 20;                 // tasks a non-VIP account may hold
  std::string update_version = "Ver 1.3.5";
  std::string update_status = "0";  // "1" announces a suspension
  std::string update_name = "Tavlo";
  std::string update_file;        // file served as the download; "" = a small built-in script
  std::vector<std::string> faults;  // "[service:]path=kind[:ms][xN]", see add_fault_spec
  int latency_ms = 0;             // added before every answer (admin endpoints excepted)
  bool quiet = true;              // no request log on stderr
};

class Sandbox {
 public:
  explicit Sandbox(Options options);
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  // Creates the state folder and certificates, binds every port and starts serving.
  // False with a reason in *error when something cannot be set up (nothing keeps running).
  bool start(std::string* error);
  void stop();

  int port(Service s) const;
  std::string host(Service s) const;  // "127.0.0.1:PORT"
  std::string ca_file() const;        // <state dir>/ca.pem
  std::string state_dir() const;

  // The hosts file that points the program at this sandbox.
  bool write_hosts(const std::string& path) const;

  // "[service:]path=kind[:ms][xN]": kind slow|500|drop|garbage; service "" matches every
  // server; path is a prefix of the request path; N limits how many requests it hits.
  bool add_fault_spec(const std::string& spec, std::string* error);
  void clear_faults();

  // The code behind a verification id (passport code string without "captchaservice", or an
  // offline vcode), "" when unknown. For tests that cannot read the image.
  std::string code_of(const std::string& id) const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace tavlo::sandbox
