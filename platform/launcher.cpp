#include "launcher.h"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>

namespace tavlo {

std::string launcher_exec_value(const std::string& program) {
  // Inside the quotes the launcher format wants " ` $ \ escaped by a backslash, and the
  // whole value is a string whose own backslashes are escaped again; % starts field codes.
  std::string quoted = "\"";
  for (char c : program) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  quoted += '"';
  std::string value;
  for (char c : quoted) {
    if (c == '\\') value += "\\\\";
    else if (c == '\n') value += "\\n";
    else if (c == '\r') value += "\\r";
    else if (c == '\t') value += "\\t";
    else value += c;
  }
  return value;
}

bool write_launcher(const std::string& file, const std::string& name, const std::string& program) {
  const std::string tmp = file + ".part";
  {
    std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
    if (!f) return false;
    f << "[Desktop Entry]\n"
      << "Type=Application\n"
      << "Version=1.0\n"
      << "Name=" << name << "\n"
      << "Exec=" << launcher_exec_value(program) << "\n"
      << "Terminal=false\n";
    if (!f.flush()) {
      std::remove(tmp.c_str());
      return false;
    }
  }
  ::chmod(tmp.c_str(), 0755);
  if (std::rename(tmp.c_str(), file.c_str()) != 0) {
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}

}  // namespace tavlo
