#pragma once

#include <string>
#include <string_view>

// The top-level class a Java source file is named for: its file name
// without ".java", after the package its text declares ("p.q.Square" for
// Square.java with `package p.q;`). Comments before the package line are
// passed over.
std::string SourceTopLevelClass(const std::string& path, std::string_view text);
