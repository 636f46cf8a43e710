// The real program started as a process in a fresh home folder: the files of its first and
// later starts.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "profile.h"

namespace fs = std::filesystem;

namespace {

std::string read_bytes(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

void write_bytes(const fs::path& p, const std::string& b) {
  std::ofstream f(p, std::ios::binary | std::ios::trunc);
  f << b;
}

class Home {
 public:
  Home() {
    char t[] = "/tmp/tavlo-start-test-XXXXXX";
    root_ = ::mkdtemp(t);
  }
  ~Home() {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  fs::path root() const { return root_; }
  fs::path data() const { return root_ / "Documents" / "Tavlo影音"; }
  fs::path settings() const { return data() / "my.kzv"; }
  fs::path launcher() const { return root_ / "Desktop" / "Tavlo影音盒.desktop"; }
  // A copy of the program at `folder`/`name`.
  fs::path install(const fs::path& folder, const std::string& name) const {
    fs::create_directories(folder);
    fs::path exe = folder / name;
    // A new file, not an overwrite: a helper process of an earlier start may still be
    // mapping the old one ("text file busy").
    fs::remove(exe);
    fs::copy_file(TAVLO_EXE, exe);
    fs::permissions(exe, fs::perms::owner_all);
    return exe;
  }

  // Starts `exe` with this home and ends it once the settings file names it: by then every
  // start-up file step has run.
  bool start(const fs::path& exe) const {
    const std::string want = "Exe=" + exe.filename().string();
    std::error_code ec;
    fs::remove(settings(), ec);
    pid_t pid = ::fork();
    if (pid == 0) {
      ::setenv("HOME", root_.c_str(), 1);
      ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
      ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
      ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox", 0);
      for (const char* v : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME",
                            "XDG_DOCUMENTS_DIR", "XDG_DESKTOP_DIR"})
        ::unsetenv(v);
      const std::string hosts = (root_ / "no-hosts.ini").string();
      ::setenv("TAVLO_HOSTS", hosts.c_str(), 1);
      ::execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    bool seen = false;
    for (int i = 0; i < 1200 && !seen; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      seen = read_bytes(settings()).find(want) != std::string::npos;
      int status;
      if (::waitpid(pid, &status, WNOHANG) == pid) return seen;
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return seen;
  }

 private:
  fs::path root_;
};

std::vector<std::string> columns_of_sc(const fs::path& db_path) {
  std::vector<std::string> cols;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(db_path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return cols;
  }
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, "PRAGMA table_info(sc)", -1, &st, nullptr) == SQLITE_OK) {
    while (sqlite3_step(st) == SQLITE_ROW)
      cols.push_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return cols;
}

TEST(FirstStart, CreatesTheDataFolderSettingsDatabaseAndLauncher) {
  Home home;
  const fs::path exe = home.install(home.root() / "programs", "tavlo");
  ASSERT_TRUE(home.start(exe));

  EXPECT_EQ(read_bytes(home.settings()), "[Updata]\nVer=Ver 1.3.5\nExe=tavlo\n");

  const fs::path db = home.data() / "Favorites.mdb";
  EXPECT_EQ(read_bytes(db).substr(0, 16), std::string("SQLite format 3\0", 16));
  EXPECT_EQ(columns_of_sc(db), (std::vector<std::string>{"ID", "Name", "Size", "Hash"}));

  const std::string launcher = read_bytes(home.launcher());
  EXPECT_NE(launcher.find("[Desktop Entry]"), std::string::npos);
  EXPECT_NE(launcher.find("Exec=\"" + exe.string() + "\"\n"), std::string::npos) << launcher;
  struct stat st {};
  ASSERT_EQ(::stat(home.launcher().c_str(), &st), 0);
  EXPECT_TRUE(st.st_mode & S_IXUSR);
}

TEST(LaterStart, KeepsAnyExistingDatabaseRemovesTheOldUpdaterAndRenamesExe) {
  Home home;
  const fs::path exe = home.install(home.root() / "programs", "tavlo");
  ASSERT_TRUE(home.start(exe));
  const fs::path db = home.data() / "Favorites.mdb";
  for (const std::string& content :
       {std::string("not a database at all\n"), std::string(), read_bytes(db) + "tail"}) {
    write_bytes(db, content);
    write_bytes(exe.parent_path() / "Updata.exe", "#!/bin/sh\n");
    const fs::path renamed = home.install(exe.parent_path(), "tavlo-renamed");
    ASSERT_TRUE(home.start(renamed));
    EXPECT_EQ(read_bytes(db), content);
    EXPECT_FALSE(fs::exists(exe.parent_path() / "Updata.exe"));
    EXPECT_EQ(tavlo::profile_read(home.settings().string(), "Updata", "Exe"), "tavlo-renamed");
    EXPECT_EQ(tavlo::profile_read(home.settings().string(), "Updata", "Ver"), "Ver 1.3.5");
  }
}

TEST(LaterStart, RunningFromTheDesktopMakesNoLauncherButACaseVariantDoes) {
  Home home;
  const fs::path on_desktop = home.install(home.root() / "Desktop", "tavlo");
  ASSERT_TRUE(home.start(on_desktop));
  EXPECT_FALSE(fs::exists(home.launcher()));

  const fs::path variant = home.install(home.root() / "desktop", "tavlo");
  ASSERT_TRUE(home.start(variant));
  EXPECT_TRUE(fs::exists(home.launcher()));
  // Overwritten at every start.
  write_bytes(home.launcher(), "stale");
  ASSERT_TRUE(home.start(variant));
  EXPECT_NE(read_bytes(home.launcher()).find(variant.string()), std::string::npos);
}

}  // namespace
