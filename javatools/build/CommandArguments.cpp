#include "javatools/build/CommandArguments.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

}  // namespace

bool SplitArguments(std::string_view text, std::vector<std::string>& args)
{
    args.clear();
    std::string current;
    // An argument exists as soon as it has a character or a quote pair, so
    // that "" passes an empty argument.
    bool inArgument = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (IsBlank(c)) {
            if (inArgument)
                args.push_back(std::move(current));
            current.clear();
            inArgument = false;
            ++i;
            continue;
        }
        inArgument = true;
        if (c == '\'') {
            const std::size_t close = text.find('\'', i + 1);
            if (close == std::string_view::npos) {
                args.clear();
                return false;
            }
            current.append(text.substr(i + 1, close - i - 1));
            i = close + 1;
        } else if (c == '"') {
            ++i;
            bool closed = false;
            while (i < text.size()) {
                const char q = text[i];
                if (q == '"') {
                    closed = true;
                    ++i;
                    break;
                }
                if (q == '\\' && i + 1 < text.size() && (text[i + 1] == '"' || text[i + 1] == '\\')) {
                    current += text[i + 1];
                    i += 2;
                    continue;
                }
                current += q;
                ++i;
            }
            if (!closed) {
                args.clear();
                return false;
            }
        } else if (c == '\\') {
            // A backslash at the very end stands for itself.
            if (i + 1 < text.size()) {
                current += text[i + 1];
                i += 2;
            } else {
                current += c;
                ++i;
            }
        } else {
            current += c;
            ++i;
        }
    }
    if (inArgument)
        args.push_back(std::move(current));
    return true;
}

std::string QuoteForDisplay(const std::string& argument)
{
    bool needsQuotes = argument.empty();
    for (char c : argument) {
        if (IsBlank(c) || c == '"' || c == '\'' || c == '\\')
            needsQuotes = true;
    }
    if (!needsQuotes)
        return argument;
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string CommandLineForDisplay(const std::vector<std::string>& argv)
{
    std::string line;
    for (const std::string& argument : argv) {
        if (!line.empty())
            line += ' ';
        line += QuoteForDisplay(argument);
    }
    return line;
}
