// Start-up time of the program against the floor (a minimal Qt WebEngine window program):
// from spawning the process to its window's first paint, several runs each, alternating;
// and the resident memory of each process tree at that moment.
//   startup_bench TAVLO FLOOR [RUNS]     (needs a display or QT_QPA_PLATFORM=offscreen)
#include <dirent.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Run {
  double ms = -1;
  long rss_kb = 0;
};

std::map<int, int> parents() {
  std::map<int, int> out;
  DIR* d = opendir("/proc");
  if (!d) return out;
  while (dirent* e = readdir(d)) {
    int pid = std::atoi(e->d_name);
    if (pid <= 0) continue;
    std::ifstream f("/proc/" + std::to_string(pid) + "/stat");
    std::string s((std::istreambuf_iterator<char>(f)), {});
    auto close = s.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream rest(s.substr(close + 2));
    char state;
    int ppid;
    rest >> state >> ppid;
    out[pid] = ppid;
  }
  closedir(d);
  return out;
}

long rss_kb(int pid) {
  std::ifstream f("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(f, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return 0;
}

std::vector<int> tree(int root) {
  std::map<int, int> pp = parents();
  std::vector<int> out{root};
  for (std::size_t i = 0; i < out.size(); ++i)
    for (const auto& [pid, parent] : pp)
      if (parent == out[i]) out.push_back(pid);
  return out;
}

Run run_once(const std::string& exe) {
  int pipefd[2];
  if (pipe(pipefd) != 0) return {};
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_adddup2(&fa, pipefd[1], 1);
  posix_spawn_file_actions_addclose(&fa, pipefd[0]);
  char* argv[] = {const_cast<char*>(exe.c_str()), nullptr};
  pid_t pid;
  const auto t0 = std::chrono::steady_clock::now();
  if (posix_spawn(&pid, exe.c_str(), &fa, nullptr, argv, environ) != 0) return {};
  close(pipefd[1]);
  Run r;
  std::string got;
  char buf[256];
  ssize_t n;
  while ((n = read(pipefd[0], buf, sizeof buf)) > 0) {
    got.append(buf, std::size_t(n));
    if (got.find("shown\n") != std::string::npos) {
      r.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
      break;
    }
  }
  // Let the process settle a moment for the memory figure (its helpers have started).
  usleep(1500 * 1000);
  for (int p : tree(pid)) r.rss_kb += rss_kb(p);
  std::vector<int> all = tree(pid);
  for (int p : all) kill(p, SIGKILL);
  waitpid(pid, nullptr, 0);
  close(pipefd[0]);
  posix_spawn_file_actions_destroy(&fa);
  usleep(300 * 1000);
  return r;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s TAVLO FLOOR [RUNS]\n", argv[0]);
    return 2;
  }
  const int runs = argc > 3 ? std::atoi(argv[3]) : 7;
  setenv("TAVLO_STARTUP_PROBE", "1", 1);
  run_once(argv[1]);  // warm the file cache and write the first-start files
  run_once(argv[2]);
  std::vector<double> t_app, t_floor;
  std::vector<double> m_app, m_floor;
  for (int i = 0; i < runs; ++i) {
    Run a = run_once(argv[1]);
    Run f = run_once(argv[2]);
    if (a.ms < 0 || f.ms < 0) {
      std::fprintf(stderr, "a run did not show its window\n");
      return 1;
    }
    t_app.push_back(a.ms);
    t_floor.push_back(f.ms);
    m_app.push_back(double(a.rss_kb) / 1024);
    m_floor.push_back(double(f.rss_kb) / 1024);
    std::printf("run %d: tavlo %.0f ms, floor %.0f ms\n", i + 1, a.ms, f.ms);
  }
  const double ta = median(t_app), tf = median(t_floor);
  std::printf("median time to window shown: tavlo %.0f ms, floor %.0f ms, ratio %.2f\n", ta, tf, ta / tf);
  std::printf("min time: tavlo %.0f ms, floor %.0f ms\n", *std::min_element(t_app.begin(), t_app.end()),
              *std::min_element(t_floor.begin(), t_floor.end()));
  std::printf("median resident memory (process tree, 1.5 s after shown): tavlo %.0f MB, floor %.0f MB\n",
              median(m_app), median(m_floor));
  return 0;
}
