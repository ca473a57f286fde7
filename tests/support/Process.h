#pragma once

#include <string>
#include <vector>

namespace quillet::test {

struct ProcessResult {
    bool started = false;
    int exitStatus = -1;   // the exit code, or -1 when killed by a signal
    std::string out;       // everything written to standard output
    std::string err;       // everything written to standard error
};

// Runs a real program (argv[0] found through PATH) with its standard output
// and error on two pipes, feeds it the given input, and waits for it to end.
ProcessResult RunProcess(const std::vector<std::string>& argv,
                         const std::string& workingDirectory = {},
                         const std::string& input = {});

}  // namespace quillet::test
