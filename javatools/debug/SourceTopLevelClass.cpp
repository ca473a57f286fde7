#include "javatools/debug/SourceTopLevelClass.h"

#include <cctype>

namespace {

bool IsNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '.' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// Moves past blanks and comments.
void SkipBlanks(std::string_view text, std::size_t& i)
{
    while (i < text.size()) {
        if (std::isspace(static_cast<unsigned char>(text[i]))) {
            ++i;
        } else if (text.substr(i, 2) == "//") {
            while (i < text.size() && text[i] != '\n')
                ++i;
        } else if (text.substr(i, 2) == "/*") {
            const std::size_t end = text.find("*/", i + 2);
            i = end == std::string_view::npos ? text.size() : end + 2;
        } else {
            return;
        }
    }
}

}  // namespace

std::string SourceTopLevelClass(const std::string& path, std::string_view text)
{
    const std::size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() > 5 && name.compare(name.size() - 5, 5, ".java") == 0)
        name.resize(name.size() - 5);
    std::size_t i = 0;
    SkipBlanks(text, i);
    // Annotations of the package (package-info style) come before it.
    while (i < text.size() && text[i] == '@') {
        ++i;
        while (i < text.size() && IsNameChar(text[i]))
            ++i;
        SkipBlanks(text, i);
    }
    if (text.substr(i, 7) != "package" || i + 7 >= text.size() || IsNameChar(text[i + 7]))
        return name;
    i += 7;
    std::string package;
    while (i < text.size() && text[i] != ';') {
        SkipBlanks(text, i);
        while (i < text.size() && IsNameChar(text[i]))
            package += text[i++];
        SkipBlanks(text, i);
        if (i < text.size() && text[i] != ';' && !IsNameChar(text[i]))
            return name;
    }
    return package.empty() ? name : package + "." + name;
}
