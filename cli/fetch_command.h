// tavlo-cli fetch URL [options]: one request through the engine, every out value as JSON.
#pragma once

#include <string>
#include <vector>

namespace tavlo {

int fetch_command(const std::vector<std::string>& args);

}  // namespace tavlo
