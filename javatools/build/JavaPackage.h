#pragma once

#include <string>
#include <string_view>

// The package that a Java source declares ("a.b" for "package a.b;"), or
// empty when its first declaration is not a package declaration. Comments
// and blanks before and inside the declaration are skipped.
std::string DeclaredPackage(std::string_view source);

// What the run and debug commands propose for a source file: the directory
// the class path starts from and the class to run. Without a package these
// are the file's directory and its name without the extension; with package
// a.b they are the directory above a/b/ and "a.b.Name".
struct JavaClassProposal {
    std::string sourceRoot;  // ends in '/'
    std::string className;
};
JavaClassProposal ProposeClass(const std::string& sourcePath, const std::string& packageName,
                               const std::string& simpleName);
