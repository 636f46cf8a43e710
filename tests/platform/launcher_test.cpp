#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QSettings>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "launcher.h"

namespace tavlo {
namespace {

TEST(LauncherExec, QuotesAndEscapesEveryPath) {
  struct Case {
    const char* path;
    const char* exec;
  };
  const Case cases[] = {
      {"/opt/tavlo/tavlo", R"("/opt/tavlo/tavlo")"},
      {"/home/u/My Apps/tavlo", R"("/home/u/My Apps/tavlo")"},
      {"/home/u/影音/tavlo", R"("/home/u/影音/tavlo")"},
      {"/a\"b/t", R"("/a\\"b/t")"},
      {"/a$HOME/t", R"("/a\\$HOME/t")"},
      {"/a`x`/t", R"("/a\\`x\\`/t")"},
      {"/a\\b/t", R"("/a\\\\b/t")"},
      {"/100%/t", R"("/100%%/t")"},
  };
  for (const Case& c : cases) EXPECT_EQ(launcher_exec_value(c.path), c.exec) << c.path;
}

TEST(LauncherFile, IsAnExecutableDesktopEntryThatStartsTheProgram) {
  QTemporaryDir dir;
  const std::string file = dir.path().toStdString() + "/Tavlo影音盒.desktop";
  {
    std::ofstream old(file);
    old << "stale";
  }
  ASSERT_TRUE(write_launcher(file, "Tavlo影音盒", "/opt/my apps/tavlo"));
  std::ifstream f(file);
  std::stringstream s;
  s << f.rdbuf();
  const std::string text = s.str();
  EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
  EXPECT_NE(text.find("\nType=Application\n"), std::string::npos);
  EXPECT_NE(text.find("\nName=Tavlo影音盒\n"), std::string::npos);
  EXPECT_NE(text.find("\nExec=\"/opt/my apps/tavlo\"\n"), std::string::npos);
  EXPECT_EQ(text.find("stale"), std::string::npos);
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_TRUE(st.st_mode & S_IXUSR);
}

TEST(LauncherFile, FailsInAMissingFolder) {
  EXPECT_FALSE(write_launcher("/nonexistent-folder/x.desktop", "x", "/bin/true"));
}

}  // namespace
}  // namespace tavlo
