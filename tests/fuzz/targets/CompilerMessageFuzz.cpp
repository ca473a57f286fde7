#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "javatools/output/CompilerMessage.h"

#include <string_view>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

void CheckLine(std::string_view line)
{
    CompilerMessage message;
    if (ParseCompilerMessage(line, message)) {
        // The file is the name in the line that ends in ".java",
        // right before the number's ':' or '('.
        QUILLET_FUZZ_CHECK(message.line > 0);
        QUILLET_FUZZ_CHECK(message.file.size() >= 5);
        QUILLET_FUZZ_CHECK(std::string_view(message.file).substr(message.file.size() - 5) == ".java");
        QUILLET_FUZZ_CHECK(!IsBlank(message.file.front()));
        const std::size_t at = line.find(message.file);
        QUILLET_FUZZ_CHECK(at != std::string_view::npos);
        const std::size_t after = at + message.file.size();
        QUILLET_FUZZ_CHECK(after < line.size() && (line[after] == ':' || line[after] == '('));
    }
    const int column = CaretLineColumn(line);
    if (column >= 0) {
        QUILLET_FUZZ_CHECK(static_cast<std::size_t>(column) < line.size() && line[column] == '^');
        for (int i = 0; i < column; ++i)
            QUILLET_FUZZ_CHECK(IsBlank(line[i]));
    } else {
        QUILLET_FUZZ_CHECK(column == -1);
    }
}

}  // namespace

// Every line of the bytes as the output window reads it, and the whole as
// one line.
int FuzzCompilerMessage(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckLine(text);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        CheckLine(text.substr(start, end - start));
        start = end + 1;
    }
    return 0;
}
