#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "javatools/build/CommandArguments.h"

#include <string>
#include <string_view>
#include <vector>

namespace {

// Arguments shown as a command line split back into the same arguments.
void CheckShownLineSplitsBack(const std::vector<std::string>& args)
{
    std::vector<std::string> again;
    QUILLET_FUZZ_CHECK(SplitArguments(CommandLineForDisplay(args), again));
    QUILLET_FUZZ_CHECK(again == args);
}

}  // namespace

// The bytes are typed argument text; read as NUL-separated arguments they
// are also arbitrary arguments to show and split back.
int FuzzArgumentSplit(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> args{"stale"};
    if (SplitArguments(text, args)) {
        for (const std::string& arg : args)
            QUILLET_FUZZ_CHECK(arg.size() <= text.size());
        CheckShownLineSplitsBack(args);
    } else {
        // Only an unclosed quote fails, and then nothing is passed on.
        QUILLET_FUZZ_CHECK(args.empty());
        QUILLET_FUZZ_CHECK(text.find('\'') != std::string_view::npos || text.find('"') != std::string_view::npos);
    }

    std::vector<std::string> raw;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\0', start), text.size());
        raw.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    CheckShownLineSplitsBack(raw);
    return 0;
}
