#include "javatools/build/ToolDialogRules.h"

#include <algorithm>

namespace {

constexpr std::size_t kShortestPath = 7;
constexpr const char* kDebugOption = "-debug";

}  // namespace

std::string CompileDialogRefusal(const CompileDialogData& data)
{
    if (data.compilerPath.size() < kShortestPath)
        return "Please enter compiler path";
    if (data.targetFile.size() < kShortestPath)
        return "Please enter compile target file.";
    return {};
}

std::vector<std::string> ViewerFileChoices(const std::string& baseName)
{
    std::vector<std::string> choices{baseName, baseName + ".class", baseName + ".html",
                                     baseName + ".htm", "Example1.html"};
    std::sort(choices.begin(), choices.end());
    return choices;
}

std::string ClasspathProposal(const std::string& workingDirectory)
{
    return "-classpath " + workingDirectory;
}

std::string WithDebugOption(const std::string& viewerArguments)
{
    if (viewerArguments.empty())
        return kDebugOption;
    if (viewerArguments.find(kDebugOption) != std::string::npos)
        return viewerArguments;
    return std::string(kDebugOption) + " " + viewerArguments;
}

std::string WithoutEvery(std::string text, const std::string& part)
{
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at))
        text.erase(at, part.size());
    return text;
}

std::string WithoutDebugOption(const std::string& viewerArguments)
{
    return WithoutEvery(viewerArguments, kDebugOption);
}

std::string DebugFirst(const std::string& viewerArguments)
{
    return std::string(kDebugOption) + " " + WithoutDebugOption(viewerArguments);
}
