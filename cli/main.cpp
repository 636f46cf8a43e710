// tavlo-cli: diagnostic commands over the program's own engine and clients.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "fetch_command.h"
#include "search_command.h"
#include "http_request.h"

int main(int argc, char** argv) {
  tavlo::http_global_init();
  if (argc < 2) {
    std::fprintf(stderr, "usage: tavlo-cli COMMAND ...  (commands: fetch, search)\n");
    return 2;
  }
  std::vector<std::string> args(argv + 2, argv + argc);
  const std::string cmd = argv[1];
  if (cmd == "fetch") return tavlo::fetch_command(args);
  if (cmd == "search") return tavlo::search_command(args);
  std::fprintf(stderr, "tavlo-cli: unknown command %s\n", cmd.c_str());
  return 2;
}
