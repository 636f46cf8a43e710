// Every outside host is configuration, read once at start from an INI file: the path in
// TAVLO_HOSTS if set, else hosts.ini in the data folder, else the built-in defaults (the
// loopback addresses of tavlo-sandbox). Section [Hosts]. No Qt here.
#pragma once

#include <string>

namespace tavlo {

struct Hosts {
  std::string passport = "127.0.0.1:18443";         // HTTPS
  std::string pan_web = "127.0.0.1:18080";          // HTTP
  std::string netdisk = "127.0.0.1:18081";
  std::string netdisk_captcha = "127.0.0.1:18082";
  std::string playapi = "127.0.0.1:18083";
  std::string site[5] = {"127.0.0.1:18091", "127.0.0.1:18092", "127.0.0.1:18093",
                         "127.0.0.1:18094", "127.0.0.1:18095"};
  std::string maker = "127.0.0.1:18084";
  std::string live_tv = "127.0.0.1:18085";
  std::string update_page = "http://127.0.0.1:18086/update.html";  // a whole address
  std::string register_return = "http://127.0.0.1:18080/";
  std::string ca_file;  // "" = default_ca_file() when that file exists
};

// Where tavlo-sandbox keeps its state by default, and its CA certificate there.
std::string default_sandbox_state_dir();  // $HOME/.local/share/tavlo-sandbox
std::string default_ca_file();            // <state dir>/ca.pem

// Defaults overlaid with the keys present in `path` (missing file: defaults).
Hosts read_hosts_file(const std::string& path);
// Writes every key to `path` (used by tavlo-sandbox --hosts-out).
bool write_hosts_file(const std::string& path, const Hosts& h);

// Loads once: TAVLO_HOSTS, else <data_folder>/hosts.ini, else defaults. Also hands the
// CA file to the request engine. Later calls return the loaded value.
const Hosts& load_hosts(const std::string& data_folder);
const Hosts& hosts();  // the loaded value (defaults when load_hosts was never called)

// The data folder without Qt: XDG documents folder + "/Tavlo影音" (UTF-8 path).
std::string default_data_folder();

}  // namespace tavlo
