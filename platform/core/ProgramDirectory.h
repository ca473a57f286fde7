#pragma once

#include <string>

namespace quillet::platform {

// The directory of the running executable, ending in '/'. The program's own
// files (word lists, java.ini, Output, help pages) are found here, never in
// the current directory.
std::string ProgramDirectory();

}  // namespace quillet::platform
