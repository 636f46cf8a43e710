// Folders of the desktop session (XDG) and of the running program. UTF-8 paths.
#pragma once

#include <string>

namespace tavlo {

std::string documents_folder();  // no trailing "/"; "" when it cannot be determined
std::string desktop_folder();    // always ends in "/"; "" when it cannot be determined
std::string program_folder();    // folder of the running executable, no trailing "/"
std::string executable_name();   // file name only
std::string executable_path();

}  // namespace tavlo
