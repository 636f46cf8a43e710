// tavlo-cli search KEYWORD [--site N] [--page N]
#pragma once

#include <string>
#include <vector>

namespace tavlo {

// `args` are the words after "search". Returns the process exit code.
int search_command(const std::vector<std::string>& args);

}  // namespace tavlo
