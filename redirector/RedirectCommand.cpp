#include "RedirectCommand.h"

namespace {
constexpr const char* kDirectoryMarker = "*DIR*";
constexpr std::size_t kDirectoryPrefixLength = 5;
}  // namespace

RedirectCommand ParseRedirectArguments(const std::vector<std::string>& args)
{
    RedirectCommand command;
    if (args.empty())
        return command;
    command.argv.push_back(args.front());
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.find(kDirectoryMarker) != std::string::npos) {
            command.workingDirectory += arg.substr(kDirectoryPrefixLength);
        } else {
            command.argv.push_back(arg);
        }
    }
    return command;
}
