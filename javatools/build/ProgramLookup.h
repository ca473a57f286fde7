#pragma once

#include <string>

// Finds a program as the process starter does: a name with a '/' is taken
// as a path, any other name is searched in the directories of searchPath
// (a PATH value). Returns the executable file's path, or empty.
std::string FindProgram(const std::string& program, const std::string& searchPath);

// Why the program cannot be started, in words ("No such file or
// directory", "Permission denied"); a generic reason when it looks
// startable.
std::string ProgramStartFailure(const std::string& program, const std::string& searchPath);
