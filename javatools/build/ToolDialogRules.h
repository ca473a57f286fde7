#pragma once

#include "javatools/build/BuildDialogData.h"

#include <string>
#include <vector>

// The checks and field rules of the tool dialogs, free of any window.

// The message that refuses OK in the Compile dialog, or empty: a compiler
// path or target of six characters or fewer (so "<NONE>" too) is refused.
std::string CompileDialogRefusal(const CompileDialogData& data);

// The offers of "Class or HTML file to view", sorted.
std::vector<std::string> ViewerFileChoices(const std::string& baseName);
// The CLASSPATH text proposed when "Specify CLASSPATH" is checked.
std::string ClasspathProposal(const std::string& workingDirectory);
// "Debug Applet" checked: "-debug" alone, or in front of the arguments
// unless they hold it already.
std::string WithDebugOption(const std::string& viewerArguments);
// "Debug Applet" or "Run as Applet" cleared: every "-debug" removed (the
// blank that followed it stays).
std::string WithoutDebugOption(const std::string& viewerArguments);
// The text with every occurrence of part taken out.
std::string WithoutEvery(std::string text, const std::string& part);
// "Run as Applet with Debug" from the Debug dialog: "-debug " in front of
// the arguments cleared of every "-debug".
std::string DebugFirst(const std::string& viewerArguments);
