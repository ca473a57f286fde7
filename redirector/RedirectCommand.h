#pragma once

#include <string>
#include <vector>

// What Output was asked to run: the program, its arguments in order, and the
// working directory built from every "*DIR*" argument.
struct RedirectCommand {
    std::vector<std::string> argv;   // argv[0] is the program, found through PATH
    std::string workingDirectory;    // empty: the redirector's own directory
};

// Splits Output's own arguments (without its program name). An argument that
// contains "*DIR*" anywhere contributes the text after its first five
// characters to the working directory; every other argument after the
// first is passed on whole.
RedirectCommand ParseRedirectArguments(const std::vector<std::string>& args);
