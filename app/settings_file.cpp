#include "settings_file.h"

#include <QLineEdit>

#include "app_state.h"
#include "paths.h"
#include "picture_button.h"
#include "profile.h"
#include "qt_text.h"
#include "text_codecs.h"
#include "ui.h"
#include "ui_call.h"

namespace tavlo {

namespace {
bool has_line_break(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }
}  // namespace

void write_updata_entries() {
  const std::string& path = app_state().settings_path;
  profile_write(path, UPDATA_SECTION, "Ver", VERSION_TEXT);
  profile_write(path, UPDATA_SECTION, "Exe", utf8_to_gbk(executable_name()));
}

void save_account() {
  // The login worker calls this; the controls are read on the UI thread.
  if (!on_ui_thread()) {
    ui_call(save_account);
    return;
  }
  Ui& u = ui();
  const std::string& path = app_state().settings_path;
  const std::string name = gbk_of(u.用户名->text());
  const std::string pass = gbk_of(u.密码->text());
  // A line break would split the entry in the file; such an account is not remembered
  // (Lock becomes "0" and the stored Name and Pass stay as they were).
  const bool remember = u.记住账号BN->isChecked() && !has_line_break(name) && !has_line_break(pass);
  if (remember) {
    profile_write(path, ACCOUNT_SECTION, "Lock", "1");
    profile_write(path, ACCOUNT_SECTION, "Name", name);
    profile_write(path, ACCOUNT_SECTION, "Pass", pass);
  } else {
    profile_write(path, ACCOUNT_SECTION, "Lock", "0");
  }
}

void restore_account() {
  Ui& u = ui();
  const std::string& path = app_state().settings_path;
  const std::string lock = profile_read(path, ACCOUNT_SECTION, "Lock");
  const std::string name = profile_read(path, ACCOUNT_SECTION, "Name");
  const std::string pass = profile_read(path, ACCOUNT_SECTION, "Pass");
  if (lock != "1") return;
  u.记住账号BN->setChecked(true);
  u.用户名->setText(qs_gbk(name));
  u.密码->setText(qs_gbk(pass));
}

}  // namespace tavlo
