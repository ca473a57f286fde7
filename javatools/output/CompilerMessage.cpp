#include "javatools/output/CompilerMessage.h"

#include <cstdlib>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The number text from start up to the delimiter, read as atoi reads it;
// false when the delimiter does not follow.
bool NumberBefore(std::string_view text, std::size_t start, char delimiter, int& number)
{
    const std::size_t end = text.find(delimiter, start);
    if (end == std::string_view::npos)
        return false;
    const std::string digits(text.substr(start, end - start));
    number = std::atoi(digits.c_str());
    return true;
}

}  // namespace

bool ParseCompilerMessage(std::string_view text, CompilerMessage& message)
{
    constexpr std::string_view kColonForm = ".java:";
    constexpr std::string_view kParenForm = ".java(";
    std::size_t at = text.find(kColonForm);
    char delimiter = ':';
    if (at == std::string_view::npos || at == 0) {
        at = text.find(kParenForm);
        delimiter = ',';
        if (at == std::string_view::npos || at == 0)
            return false;
    }
    int number = 0;
    if (!NumberBefore(text, at + kColonForm.size(), delimiter, number) || number <= 0)
        return false;
    std::size_t start = 0;
    while (start < at && IsBlank(text[start]))
        ++start;
    message.file = std::string(text.substr(start, at + 5 - start));
    message.line = number;
    return true;
}

int CaretLineColumn(std::string_view text)
{
    std::size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1]))
        --end;
    if (end == 0 || text[end - 1] != '^')
        return -1;
    for (std::size_t i = 0; i + 1 < end; ++i) {
        if (!IsBlank(text[i]))
            return -1;
    }
    return static_cast<int>(end - 1);
}
