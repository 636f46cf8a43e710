// INI ("profile") files with Windows profile semantics: section and key names match
// without regard to ASCII case; values are trimmed of blanks and lose enclosing quotes;
// at most 10,239 bytes are read; a write replaces or adds one line and leaves the others.
// Files are GBK on disk; names and values here are GBK too. Writes go to a temporary file
// that is renamed into place. No Qt here: the CLI and the updater use it as well.
#pragma once

#include <string>

namespace tavlo {

inline constexpr std::size_t PROFILE_VALUE_MAX = 10239;

// "" when the file, the section or the key is missing.
std::string profile_read(const std::string& path, const std::string& section,
                         const std::string& key);
// false when the file could not be written (callers usually ignore it).
bool profile_write(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value);

}  // namespace tavlo
