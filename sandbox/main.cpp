// tavlo-sandbox --hosts-out FILE [--state-dir DIR] [options]: serves every outside service on
// loopback until SIGINT or SIGTERM.
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sandbox.h"

namespace {

const char* kUsage =
    "usage: tavlo-sandbox [--hosts-out FILE] [--state-dir DIR] [options]\n"
    "  --hosts-out FILE        write the hosts file that points the program here\n"
    "  --state-dir DIR         certificates and secret (default ~/.local/share/tavlo-sandbox)\n"
    "  --ports-from N          listen on N..N+12 instead of the built-in ports (0: any free ports)\n"
    "  --task-seconds S        offline tasks finish after S seconds (default 20)\n"
    "  --vcode-every N         every Nth add_task of an account demands a code (default 3, 0 never)\n"
    "  --login-failures N      failed logins before the passport demands a code (default 3, 0 never)\n"
    "  --fixed-code DIGITS     every verification code is DIGITS, 1-6 (default: random 4 digits)\n"
    "  --concurrency N         unfinished tasks a VIP account may have (default 5)\n"
    "  --quota N               tasks a non-VIP account may hold (default 20)\n"
    "  --update-version TEXT   version announced by the update page (default \"Ver 1.3.5\")\n"
    "  --update-status S       status field of the update page (default 0; 1 = suspended)\n"
    "  --update-name NAME      name field; the download is NAME.exe (default Tavlo)\n"
    "  --update-file PATH      file served as the download (default: a small shell script)\n"
    "  --fault SPEC            [service:]path=slow[:ms]|500|drop|garbage[xN], repeatable\n"
    "  --latency MS            wait MS before every answer (default 0)\n"
    "  --verbose               log every request on stderr\n";

bool write_hosts_atomically(const tavlo::sandbox::Sandbox& box, const std::string& path) {
  std::string tmp = path + ".tmp";
  std::remove(tmp.c_str());
  if (!box.write_hosts(tmp)) return false;
  return std::rename(tmp.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tavlo::sandbox;
  Options opt;
  opt.quiet = true;
  std::string hosts_out;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](const char* name) -> std::string {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "%s needs a value\n%s", name, kUsage);
        std::exit(2);
      }
      return argv[++i];
    };
    auto number = [&](const char* name) {
      std::string v = value(name);
      char* end = nullptr;
      double d = std::strtod(v.c_str(), &end);
      if (v.empty() || *end != '\0' || d < 0) {
        std::fprintf(stderr, "%s needs a number >= 0, not \"%s\"\n", name, v.c_str());
        std::exit(2);
      }
      return d;
    };
    if (a == "--hosts-out") hosts_out = value("--hosts-out");
    else if (a == "--state-dir") opt.state_dir = value("--state-dir");
    else if (a == "--ports-from") opt.ports_from = static_cast<int>(number("--ports-from"));
    else if (a == "--task-seconds") opt.task_seconds = number("--task-seconds");
    else if (a == "--vcode-every") opt.vcode_every = static_cast<int>(number("--vcode-every"));
    else if (a == "--login-failures") opt.login_failures_before_code = static_cast<int>(number("--login-failures"));
    else if (a == "--fixed-code") opt.fixed_code = value("--fixed-code");
    else if (a == "--concurrency") opt.concurrency = static_cast<int>(number("--concurrency"));
    else if (a == "--quota") opt.quota = static_cast<int>(number("--quota"));
    else if (a == "--update-version") opt.update_version = value("--update-version");
    else if (a == "--update-status") opt.update_status = value("--update-status");
    else if (a == "--update-name") opt.update_name = value("--update-name");
    else if (a == "--update-file") opt.update_file = value("--update-file");
    else if (a == "--fault") opt.faults.push_back(value("--fault"));
    else if (a == "--latency") opt.latency_ms = static_cast<int>(std::min(60000.0, number("--latency")));
    else if (a == "--verbose") opt.quiet = false;
    else if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else {
      std::fprintf(stderr, "unknown argument %s\n%s", a.c_str(), kUsage);
      return 2;
    }
  }
  if (opt.ports_from > 65535 - kServiceCount) {
    std::fprintf(stderr, "--ports-from must leave room for %d ports\n", static_cast<int>(kServiceCount));
    return 2;
  }
  bool digits = opt.fixed_code.size() <= 6;
  for (char c : opt.fixed_code) digits = digits && c >= '0' && c <= '9';
  if (!digits) {
    std::fprintf(stderr, "--fixed-code takes one to six digits\n");
    return 2;
  }

  // Every thread the servers start inherits this mask, so sigwait below gets the signal.
  sigset_t sigs;
  sigemptyset(&sigs);
  sigaddset(&sigs, SIGINT);
  sigaddset(&sigs, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &sigs, nullptr);
  signal(SIGPIPE, SIG_IGN);

  Sandbox box(opt);
  std::string error;
  if (!box.start(&error)) {
    std::fprintf(stderr, "tavlo-sandbox: %s\n", error.c_str());
    return 1;
  }
  if (!hosts_out.empty() && !write_hosts_atomically(box, hosts_out)) {
    std::fprintf(stderr, "tavlo-sandbox: cannot write %s\n", hosts_out.c_str());
    box.stop();
    return 1;
  }
  for (int i = 0; i < kServiceCount; ++i) {
    Service s = static_cast<Service>(i);
    std::printf("%-16s %s://%s\n", service_name(s), s == kPassport ? "https" : "http", box.host(s).c_str());
  }
  std::printf("ca_file          %s\n", box.ca_file().c_str());
  if (!hosts_out.empty()) std::printf("hosts file       %s\n", hosts_out.c_str());
  std::printf("tavlo-sandbox ready\n");
  std::fflush(stdout);

  int sig = 0;
  sigwait(&sigs, &sig);
  box.stop();
  return 0;
}
