#include <QFile>
#include <QLineEdit>
#include <fstream>
#include <sstream>

#include "gui_fixture.h"
#include "profile.h"
#include "settings_file.h"
#include "text.h"

namespace tavlo::test {
namespace {

std::string file_bytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

QLineEdit* name_box() { return control<QLineEdit>("用户名"); }
QLineEdit* pass_box() { return control<QLineEdit>("密码"); }
PictureButton* remember() { return control<PictureButton>("记住账号BN"); }

void visit_login_page() {
  QTest::mouseClick(control<PictureButton>("云在线播放器BN"), Qt::LeftButton);
  QTest::mouseClick(control<PictureButton>("登录百度账号BN"), Qt::LeftButton);
}

void type_account(const QString& name, const QString& pass, bool tick) {
  name_box()->setText(name);
  pass_box()->setText(pass);
  if (remember()->isChecked() != tick) QTest::mouseClick(remember(), Qt::LeftButton);
  ASSERT_EQ(remember()->isChecked(), tick);
}

TEST_F(GuiTest, FirstStartWroteTheUpdaterEntries) {
  const std::string path = app_state().settings_path;
  EXPECT_EQ(profile_read(path, "Updata", "Ver"), "Ver 1.3.5");
  EXPECT_EQ(profile_read(path, "Updata", "Exe"), "app_gui_tests");
  EXPECT_EQ(file_bytes(path).rfind("[Updata]", 0), 0u);
}

TEST_F(GuiTest, RememberedAccountComesBackOnTheLoginPage) {
  struct Case {
    const char* name;
    const char* pass;
    const char* name_back;
    const char* pass_back;
  };
  const Case cases[] = {
      {"alice", "secret", "alice", "secret"},
      {"张三", "密码123", "张三", "密码123"},
      {"  bob  ", " pw ", "bob", "pw"},  // blanks at the ends do not survive the file
      {"\"carol\"", "'x'", "carol", "x"},  // nor quotes around the whole value
      {"dave", "", "dave", ""},
  };
  for (const Case& c : cases) {
    type_account(QString::fromUtf8(c.name), QString::fromUtf8(c.pass), true);
    save_account();
    type_account("typed meanwhile", "typed meanwhile", false);
    visit_login_page();
    EXPECT_TRUE(remember()->isChecked()) << c.name;
    EXPECT_EQ(name_box()->text(), QString::fromUtf8(c.name_back)) << c.name;
    EXPECT_EQ(pass_box()->text(), QString::fromUtf8(c.pass_back)) << c.name;
  }
  // Stored as GBK on disk.
  type_account(QString::fromUtf8("张三"), "x", true);
  save_account();
  EXPECT_NE(file_bytes(app_state().settings_path).find("Name=" + gbk("张三")), std::string::npos);
}

TEST_F(GuiTest, UntickedLoginKeepsTheOldAccountInTheFileButDoesNotFillTheFields) {
  type_account("erin", "one", true);
  save_account();
  type_account("frank", "two", false);
  save_account();
  const std::string path = app_state().settings_path;
  EXPECT_EQ(profile_read(path, ACCOUNT_SECTION, "Lock"), "0");
  EXPECT_EQ(profile_read(path, ACCOUNT_SECTION, "Name"), "erin");
  EXPECT_EQ(profile_read(path, ACCOUNT_SECTION, "Pass"), "one");
  type_account("typed", "typed", false);
  visit_login_page();
  EXPECT_EQ(name_box()->text(), QStringLiteral("typed"));
  EXPECT_FALSE(remember()->isChecked());
}

TEST_F(GuiTest, AnAccountWithALineBreakIsNotRememberedAndTheFileStaysWhole) {
  type_account("grace", "good", true);
  save_account();
  const std::string path = app_state().settings_path;
  for (const char* pass : {"bad\r\n[Updata]\r\nExe=evil.exe", "two\nlines", "cr\ronly"}) {
    type_account("mallory", QString::fromUtf8(pass), true);
    save_account();
    EXPECT_EQ(profile_read(path, ACCOUNT_SECTION, "Lock"), "0") << pass;
    EXPECT_EQ(profile_read(path, ACCOUNT_SECTION, "Name"), "grace") << pass;
    EXPECT_EQ(profile_read(path, "Updata", "Exe"), "app_gui_tests") << pass;
  }
  type_account("line\nname", "pw", true);
  save_account();
  EXPECT_EQ(profile_read(path, ACCOUNT_SECTION, "Lock"), "0");
  EXPECT_EQ(file_bytes(path).find("evil"), std::string::npos);
}

TEST_F(GuiTest, FileAfterStartAndOneRememberedLoginHoldsBothSectionsInOrder) {
  type_account("heidi", "pw", true);
  save_account();
  const std::string text = file_bytes(app_state().settings_path);
  const auto updata = text.find("[Updata]");
  const auto account = text.find(std::string("[") + ACCOUNT_SECTION + "]");
  ASSERT_NE(updata, std::string::npos);
  ASSERT_NE(account, std::string::npos);
  EXPECT_LT(updata, account);
  EXPECT_LT(text.find("Ver="), text.find("Exe="));
  EXPECT_LT(text.find("Lock="), text.find("Name="));
  EXPECT_LT(text.find("Name="), text.find("Pass="));
}

}  // namespace
}  // namespace tavlo::test
