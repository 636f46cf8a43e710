// The desktop shortcut: a freedesktop launcher file, executable bit set.
#pragma once

#include <string>

namespace tavlo {

// The Exec= value for `program`: quoted and escaped so that any path survives.
std::string launcher_exec_value(const std::string& program);
// Creates or overwrites `file` (UTF-8 path) as a launcher named `name` that starts
// `program` with no arguments. false on failure.
bool write_launcher(const std::string& file, const std::string& name, const std::string& program);

}  // namespace tavlo
