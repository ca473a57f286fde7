#include "javatools/debug/SourceClassBodies.h"

#include <cctype>
#include <string>

namespace {

bool IsWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$';
}

struct Brace {
    bool classBody = false;
    int body = 0;
};

}  // namespace

SourceClassBodies::SourceClassBodies(std::string_view text)
{
    std::vector<Brace> open;
    int nextBody = 1;
    // What the current declaration or statement has shown so far.
    bool sawTypeKeyword = false;
    bool sawNew = false;
    char lastSignificant = 0;
    auto innermost = [&open]() {
        for (auto it = open.rbegin(); it != open.rend(); ++it)
            if (it->classBody)
                return it->body;
        return 0;
    };
    auto endStatement = [&]() {
        sawTypeKeyword = false;
        sawNew = false;
    };
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const char c = text[i];
        if (c == '\n') {
            bodyAtEnd_.push_back(innermost());
            ++i;
            continue;
        }
        if (c == '/' && i + 1 < n && text[i + 1] == '/') {
            while (i < n && text[i] != '\n')
                ++i;
            continue;
        }
        if (c == '/' && i + 1 < n && text[i + 1] == '*') {
            i += 2;
            while (i < n && !(text[i] == '*' && i + 1 < n && text[i + 1] == '/')) {
                if (text[i] == '\n')
                    bodyAtEnd_.push_back(innermost());
                ++i;
            }
            i = i < n ? i + 2 : n;
            continue;
        }
        if (c == '"' || c == '\'') {
            const bool textBlock = c == '"' && text.substr(i, 3) == "\"\"\"";
            i += textBlock ? 3 : 1;
            while (i < n) {
                if (text[i] == '\\') {
                    i += 2;
                    continue;
                }
                if (textBlock ? text.substr(i, 3) == "\"\"\"" : text[i] == c) {
                    i += textBlock ? 3 : 1;
                    break;
                }
                if (text[i] == '\n') {
                    if (!textBlock)
                        break;
                    bodyAtEnd_.push_back(innermost());
                }
                ++i;
            }
            lastSignificant = c;
            continue;
        }
        if (IsWordChar(c)) {
            const std::size_t start = i;
            while (i < n && IsWordChar(text[i]))
                ++i;
            const std::string_view word = text.substr(start, i - start);
            if (word == "class" || word == "interface" || word == "enum" || word == "record")
                sawTypeKeyword = true;
            else if (word == "new")
                sawNew = true;
            lastSignificant = 'a';
            continue;
        }
        if (c == '{') {
            const bool classBody = sawTypeKeyword || (sawNew && lastSignificant == ')');
            open.push_back({classBody, classBody ? nextBody++ : 0});
            endStatement();
        } else if (c == '}') {
            if (!open.empty())
                open.pop_back();
            endStatement();
        } else if (c == ';') {
            endStatement();
        }
        if (!std::isspace(static_cast<unsigned char>(c)))
            lastSignificant = c;
        ++i;
    }
    bodyAtEnd_.push_back(innermost());
}

int SourceClassBodies::BodyOfLine(int line) const
{
    if (line < 1 || line > LineCount())
        return -1;
    return bodyAtEnd_[static_cast<std::size_t>(line - 1)];
}
