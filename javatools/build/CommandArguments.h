#pragma once

#include <string>
#include <string_view>
#include <vector>

// Argument texts typed by the user ("Additional Command line args", the
// viewer's and the program's arguments) become argument vectors by the
// shell's quoting rules, without any expansion: blanks separate, single
// quotes keep everything up to the next single quote, double quotes group
// with backslash escaping '"' and '\', and outside quotes a backslash takes
// the next character as it is.
//
// False when a quote is not closed; args then holds nothing.
bool SplitArguments(std::string_view text, std::vector<std::string>& args);

// An argument as the user reads it in a command line: in double quotes when
// it is empty or holds a blank, a quote or a backslash, plain otherwise.
std::string QuoteForDisplay(const std::string& argument);
// The arguments joined by single blanks, each quoted for display.
std::string CommandLineForDisplay(const std::vector<std::string>& argv);
