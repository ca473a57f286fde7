#pragma once

#include "javatools/build/CompileRun.h"

#include <string>
#include <vector>

// Build All: the compile of every ".java" file under the source root, at
// any depth. The files go to the compiler through an "@file", so that a
// program of any size fits on the command line and no shell is needed to
// expand a pattern; the compiler runs in the source root with the same
// arguments as Compile, so the classes land where Compile puts them.
// The log names the target "<root>**/*.java".
//
// False with the reason when there is nothing to compile or the argument
// file could not be written.
bool MakeBuildAllRequest(const std::string& compiler, const std::vector<std::string>& arguments,
                         const std::string& sourceRoot, const std::string& redirector,
                         CompileRequest& request, std::string* failure);
