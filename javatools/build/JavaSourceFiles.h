#pragma once

#include <string>
#include <vector>

// The directory of a path, up to and including its last '/' (empty when
// there is none).
std::string DirectoryOf(const std::string& path);
// The part of a path after its last '/'.
std::string FileNameOf(const std::string& path);
// The regular files of the directory whose names end in ".java", as full
// paths, sorted by name; what "*.java" in that directory stands for.
std::vector<std::string> JavaFilesIn(const std::string& directory);
