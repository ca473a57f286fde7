#pragma once

#include <string>
#include <vector>

// Every ".java" file under a source root, at any depth, as full paths in
// sorted order: what Build All hands to the compiler. Folders whose names
// start with '.' (version control, editor state) are left out, and a folder
// reached again through a link is walked only once, so a link loop ends.
// root may end in '/'; the paths start with it as given.
std::vector<std::string> JavaFilesUnder(const std::string& root);
