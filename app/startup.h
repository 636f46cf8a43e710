// The start-up file work of the creation handler, exposed for tests.
#pragma once

#include <string>

namespace tavlo {

inline constexpr const char* DATA_FOLDER_NAME = "Tavlo影音";
inline constexpr const char* SETTINGS_FILE_NAME = "my.kzv";
inline constexpr const char* FAVOURITES_FILE_NAME = "Favorites.mdb";
inline constexpr const char* LAUNCHER_FILE_NAME = "Tavlo影音盒.desktop";
inline constexpr const char* LAUNCHER_NAME = "Tavlo影音盒";
inline constexpr const char* UPDATER_FILE_NAME = "Updata.exe";
inline constexpr const char* COOKIE_FILE_NAME = "cookies.txt";

// Writes the blank favourites database at `path` only when nothing exists there (not even
// a dangling link). false when nothing was written.
bool write_blank_favourites(const std::string& path);
// Makes or overwrites the desktop launcher unless the program runs from the desktop folder.
// `program_folder` has no trailing "/", `desktop_folder` has one. true when written.
bool make_desktop_shortcut(const std::string& program_folder, const std::string& desktop_folder,
                           const std::string& executable_name);

}  // namespace tavlo
