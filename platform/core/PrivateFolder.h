#pragma once

#include <string>

namespace quillet::platform {

// Makes sure path is a folder of the user's own that no one else may enter:
// created with mode 0700 when missing (its parents as usual), a folder of
// ours with a wider mode narrowed to 0700. Refused, with the reason, when
// the name is taken by something else: another user's folder, a symbolic
// link, a file.
bool MakePrivateFolder(const std::string& path, std::string* reason = nullptr);

// The user's runtime folder ($XDG_RUNTIME_DIR) when it is private to the
// user, else a private folder "quillet-<uid>" in the temporary folder; empty
// when neither can be had.
std::string PrivateRuntimeFolder();

}  // namespace quillet::platform
