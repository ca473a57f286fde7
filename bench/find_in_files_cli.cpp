// Find in Files' search core as a command, for bench/find_in_files.sh to
// time against grep and ripgrep: prints every matching line as
// "path:line:text", as grep -rn does.
//   find_in_files_cli [-i] [-w] [-E] [-t "*.java"] TEXT FOLDER
#include "engine/VxEditFileSearch.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

class PrintingSink : public IVxEditFileSearchSink {
public:
    void OnMatches(std::vector<VxEditFileMatch>&& matches) override
    {
        for (const VxEditFileMatch& match : matches) {
            std::fwrite(match.path.data(), 1, match.path.size(), stdout);
            std::fprintf(stdout, ":%lld:", static_cast<long long>(match.line));
            std::fwrite(match.text.data(), 1, match.text.size(), stdout);
            std::fputc('\n', stdout);
        }
    }
    void OnProgress(std::int64_t, std::int64_t) override {}
    void OnFinished(const VxEditFileSearchSummary& summary) override
    {
        std::fprintf(stderr, "%lld matches in %lld files; %lld files searched\n",
                     static_cast<long long>(summary.matches), static_cast<long long>(summary.filesMatched),
                     static_cast<long long>(summary.filesSearched));
        if (!summary.patternError.empty())
            std::fprintf(stderr, "pattern: %s\n", summary.patternError.c_str());
    }
};

}  // namespace

int main(int argc, char** argv)
{
    VxEditFileSearchRequest request;
    request.matchCase = true;
    int at = 1;
    for (; at < argc && argv[at][0] == '-'; ++at) {
        if (std::strcmp(argv[at], "-i") == 0)
            request.matchCase = false;
        else if (std::strcmp(argv[at], "-w") == 0)
            request.wholeWord = true;
        else if (std::strcmp(argv[at], "-E") == 0)
            request.pattern = true;
        else if (std::strcmp(argv[at], "-t") == 0 && at + 1 < argc)
            request.fileTypes = VxEditFileSearchRequest::SplitFileTypes(argv[++at]);
    }
    if (argc - at != 2) {
        std::fputs("find_in_files_cli [-i] [-w] [-E] [-t TYPES] TEXT FOLDER\n", stderr);
        return 2;
    }
    request.text = argv[at];
    request.folder = argv[at + 1];
    PrintingSink sink;
    const std::atomic<bool> stop{false};
    const VxEditFileSearchSummary summary = VxEditFileSearch::Run(request, sink, stop);
    return summary.patternError.empty() ? (summary.matches > 0 ? 0 : 1) : 2;
}
