#pragma once

#include <string>

namespace quillet::platform {

// The user's own folders after the XDG base directory rules: the folder an
// XDG_*_HOME variable names when it is an absolute path, else one inside the
// home folder.
enum class UserFolder { Config, Data, State, Cache };

// Why $HOME names no folder to keep the user's files in: it is not set, not
// an absolute path, missing, not a folder, or neither the user's own nor
// writable for the user. Empty when it names one.
std::string HomeFolderProblem();

// The folder of that kind ("$XDG_CONFIG_HOME", else "$HOME/.config", and so
// on for ".local/share", ".local/state" and ".cache"); empty when there is
// none to use. A folder that does not exist yet counts only while the home
// folder is usable, so that nothing is ever made below a home that is not.
// Nothing is created here.
std::string UserBaseFolder(UserFolder kind);

// Why files cannot be written into folder, creating it and its parents as
// needed: the reason names the folder that stops it ("you may not write in
// the folder '/x'"). Empty when they can.
std::string FolderWriteProblem(const std::string& folder);

}  // namespace quillet::platform
