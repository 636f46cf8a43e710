#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "profile.h"
#include "text.h"

using namespace tavlo;

namespace {
struct ProfileTest : ::testing::Test {
  std::string dir, path;
  void SetUp() override {
    char tmpl[] = "/tmp/tavlo-profileXXXXXX";
    dir = mkdtemp(tmpl);
    path = dir + "/my.kzv";
  }
  void write(const std::string& s) { std::ofstream(path, std::ios::binary) << s; }
  std::string read() {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
};
}  // namespace

TEST_F(ProfileTest, MissingFileSectionOrKeyReadsEmpty) {
  EXPECT_EQ(profile_read(path, "Updata", "Ver"), "");
  write("[Updata]\nVer=1\n");
  EXPECT_EQ(profile_read(path, "Other", "Ver"), "");
  EXPECT_EQ(profile_read(path, "Updata", "Exe"), "");
}

TEST_F(ProfileTest, ReadingFollowsProfileRules) {
  write("[Updata]\r\nVer = Ver 1.3.5 \r\n[ACCOUNT]\r\nname=  \"quoted\"  \r\npass='x'\r\n"
        "half=\"a\r\nLock=1\r\n");
  struct Case {
    std::string section, key, want;
  };
  const Case cases[] = {
      {"Updata", "Ver", "Ver 1.3.5"},   // blanks around the value go
      {"updata", "VER", "Ver 1.3.5"},   // names match without regard to case
      {"account", "Name", "quoted"},    // enclosing quotes go
      {"Account", "pass", "x"},
      {"Account", "half", "\"a"},       // a lone quote stays
      {"Account", "lock", "1"},
  };
  for (const Case& c : cases) EXPECT_EQ(profile_read(path, c.section, c.key), c.want) << c.key;
}

TEST_F(ProfileTest, ValuesAreCutAt10239Bytes) {
  write("[S]\nK=" + std::string(20000, 'v') + "\n");
  EXPECT_EQ(profile_read(path, "S", "K").size(), PROFILE_VALUE_MAX);
}

TEST_F(ProfileTest, WritesReplaceOrAddOneLineAndKeepTheRest) {
  ASSERT_TRUE(profile_write(path, "Updata", "Ver", "Ver 1.3.5"));
  ASSERT_TRUE(profile_write(path, "Updata", "Exe", "tavlo"));
  ASSERT_TRUE(profile_write(path, "Account", "Lock", "1"));
  ASSERT_TRUE(profile_write(path, "Account", "Name", gbk("用户")));
  EXPECT_EQ(read(), "[Updata]\nVer=Ver 1.3.5\nExe=tavlo\n[Account]\nLock=1\nName=" + gbk("用户") +
                        "\n");
  ASSERT_TRUE(profile_write(path, "UPDATA", "exe", "renamed"));
  EXPECT_EQ(read(), "[Updata]\nVer=Ver 1.3.5\nexe=renamed\n[Account]\nLock=1\nName=" +
                        gbk("用户") + "\n");
  EXPECT_EQ(profile_read(path, "Account", "Name"), gbk("用户"));  // GBK bytes on disk
}

TEST_F(ProfileTest, ForeignLinesAndLineEndsSurvive) {
  write("; comment\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
  ASSERT_TRUE(profile_write(path, "A", "z", "3"));
  EXPECT_EQ(read(), "; comment\r\n[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n");
}

TEST_F(ProfileTest, LineBreaksInNamesOrValuesAreRefused) {
  write("[A]\nName=old\n");
  EXPECT_FALSE(profile_write(path, "A", "Name", "evil\r\n[Updata]\r\nExe=x"));
  EXPECT_FALSE(profile_write(path, "A", "Na\nme", "v"));
  EXPECT_FALSE(profile_write(path, "A\r", "Name", "v"));
  EXPECT_EQ(read(), "[A]\nName=old\n");
}

TEST_F(ProfileTest, UnwritableFolderIsReported) {
  EXPECT_FALSE(profile_write(dir + "/missing/my.kzv", "A", "k", "v"));
}
