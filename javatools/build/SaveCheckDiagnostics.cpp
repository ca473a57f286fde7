#include "javatools/build/SaveCheckDiagnostics.h"

#include "javatools/output/CompilerMessage.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The message after "<file>:<line>:"; empty when the line is not in that
// form (the parenthesised form of other compilers keeps its text after
// "):").
std::string_view MessageText(std::string_view line, std::size_t fileEnd)
{
    std::string_view rest = line.substr(fileEnd);
    const std::size_t close = rest.find(rest.starts_with("(") ? "):" : ":", 1);
    if (close == std::string_view::npos)
        return {};
    rest.remove_prefix(close + (rest.starts_with("(") ? 2 : 1));
    return Trimmed(rest);
}

}  // namespace

std::vector<SaveCheckDiagnostic> DiagnosticsForFile(std::string_view output, const std::string& file)
{
    std::vector<SaveCheckDiagnostic> found;
    while (!output.empty()) {
        const std::size_t end = output.find('\n');
        const std::string_view line = output.substr(0, end);
        output.remove_prefix(end == std::string_view::npos ? output.size() : end + 1);

        CompilerMessage message;
        if (!ParseCompilerMessage(line, message) || message.file != file)
            continue;
        const std::size_t fileEnd = line.find(message.file) + message.file.size();
        const std::string_view text = MessageText(line, fileEnd);
        if (!text.empty())
            found.push_back({message.line, std::string(text)});
    }
    return found;
}
