#include "hosts.h"

#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sys/stat.h>

#include "http_request.h"
#include "profile.h"

namespace tavlo {
namespace {

bool file_exists(const std::string& p) {
  struct stat st;
  return !p.empty() && ::stat(p.c_str(), &st) == 0;
}

std::string home() {
  const char* h = std::getenv("HOME");
  return h ? h : "";
}

Hosts& loaded() {
  static Hosts h;
  return h;
}

// Pairs of key name and field, in the order the file is written.
template <typename H, typename F>
void each_key(H& h, F&& f) {
  f("passport", h.passport);
  f("pan_web", h.pan_web);
  f("netdisk", h.netdisk);
  f("netdisk_captcha", h.netdisk_captcha);
  f("playapi", h.playapi);
  for (int i = 0; i < 5; ++i) f("site" + std::to_string(i + 1), h.site[i]);
  f("maker", h.maker);
  f("live_tv", h.live_tv);
  f("update_page", h.update_page);
  f("register_return", h.register_return);
  f("ca_file", h.ca_file);
}

}  // namespace

std::string default_sandbox_state_dir() { return home() + "/.local/share/tavlo-sandbox"; }
std::string default_ca_file() { return default_sandbox_state_dir() + "/ca.pem"; }

Hosts read_hosts_file(const std::string& path) {
  Hosts h;
  if (!file_exists(path)) return h;
  each_key(h, [&](const std::string& key, std::string& field) {
    std::string v = profile_read(path, "Hosts", key);
    if (!v.empty()) field = v;
  });
  return h;
}

bool write_hosts_file(const std::string& path, const Hosts& h) {
  bool ok = true;
  Hosts copy = h;
  each_key(copy, [&](const std::string& key, std::string& field) {
    ok = profile_write(path, "Hosts", key, field) && ok;
  });
  return ok;
}

const Hosts& load_hosts(const std::string& data_folder) {
  static std::once_flag once;
  std::call_once(once, [&] {
    const char* env = std::getenv("TAVLO_HOSTS");
    std::string path;
    if (env && *env)
      path = env;
    else if (!data_folder.empty() && file_exists(data_folder + "/hosts.ini"))
      path = data_folder + "/hosts.ini";
    Hosts h = path.empty() ? Hosts{} : read_hosts_file(path);
    if (h.ca_file.empty() && file_exists(default_ca_file())) h.ca_file = default_ca_file();
    loaded() = h;
    http_set_extra_ca_file(h.ca_file);
  });
  return loaded();
}

const Hosts& hosts() { return loaded(); }

std::string default_data_folder() {
  std::string docs;
  const char* cfg = std::getenv("XDG_CONFIG_HOME");
  std::string dirs = (cfg && *cfg ? std::string(cfg) : home() + "/.config") + "/user-dirs.dirs";
  std::ifstream in(dirs);
  std::string line;
  while (std::getline(in, line)) {
    const std::string key = "XDG_DOCUMENTS_DIR=";
    if (line.rfind(key, 0) != 0) continue;
    std::string v = line.substr(key.size());
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    if (v.rfind("$HOME", 0) == 0) v = home() + v.substr(5);
    if (!v.empty() && v[0] == '/') docs = v;
  }
  if (docs.empty()) docs = home() + "/Documents";
  return docs + "/Tavlo影音";
}

}  // namespace tavlo
