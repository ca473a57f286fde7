#pragma once

#include <string>

// The JDK programs that the Tools Directories dialog's Detect button fills
// in. An empty path means nothing was found for that field.
struct JavaToolPaths {
    std::string appViewer;  // java
    std::string compiler;   // javac
    std::string debugger;   // jdb
};

// Looks in javaHome/bin first, then in the directories of searchPath (a
// PATH value), then in the newest JDK under jvmRoot (/usr/lib/jvm); each
// program is taken from the first place that has it.
JavaToolPaths DetectJavaTools(const std::string& javaHome, const std::string& searchPath,
                              const std::string& jvmRoot);
