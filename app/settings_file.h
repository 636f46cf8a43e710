// The settings file my.kzv: the updater's entries and the remembered account.
#pragma once

#include <string>

namespace tavlo {

inline constexpr const char* UPDATA_SECTION = "Updata";
inline constexpr const char* ACCOUNT_SECTION = "Account";

// Ver = version text, then Exe = the running executable's file name.
void write_updata_entries();
// Reads the remember box, 用户名 and 密码; writes Lock (and Name, Pass when remembering).
void save_account();
// Fills the three controls from the file when Lock is "1"; otherwise changes nothing.
void restore_account();

}  // namespace tavlo
