#pragma once

#include "javatools/build/JavaPackage.h"

#include <string>

class VxEdit;

// What the build commands propose for the Java text of a window, read from
// the text as it is now (its package declaration) and the file's path.

// The source root and the class to run (see ProposeClass).
JavaClassProposal ProposeClassOfText(const VxEdit& model, const std::string& path,
                                     const std::string& simpleName);

// Where the compiler finds the other sources and classes of the program:
// the source root, as Compile proposes it for -sourcepath and -classpath.
struct CompilePathProposal {
    std::string sourceRoot;  // ends in '/'
    std::string sourcePath;
    std::string classPath;
};
CompilePathProposal ProposeCompilePaths(const VxEdit& model, const std::string& path);
