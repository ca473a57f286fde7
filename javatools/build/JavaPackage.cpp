#include "javatools/build/JavaPackage.h"

#include "javatools/build/JavaSourceFiles.h"

#include <cctype>

namespace {

// Moves past blanks and comments; a comment left open runs to the end.
void SkipBlanksAndComments(std::string_view text, std::size_t& at)
{
    while (at < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[at]);
        if (std::isspace(c)) {
            ++at;
        } else if (text.substr(at, 2) == "//") {
            const std::size_t end = text.find('\n', at);
            at = end == std::string_view::npos ? text.size() : end + 1;
        } else if (text.substr(at, 2) == "/*") {
            const std::size_t end = text.find("*/", at + 2);
            at = end == std::string_view::npos ? text.size() : end + 2;
        } else {
            return;
        }
    }
}

bool IsIdentifierChar(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || c == '$' || u >= 0x80;
}

std::string_view Identifier(std::string_view text, std::size_t& at)
{
    const std::size_t start = at;
    while (at < text.size() && IsIdentifierChar(text[at]))
        ++at;
    return text.substr(start, at - start);
}

}  // namespace

std::string DeclaredPackage(std::string_view source)
{
    std::size_t at = 0;
    // A UTF-8 byte order mark may open the file.
    if (source.substr(0, 3) == "\xEF\xBB\xBF")
        at = 3;
    SkipBlanksAndComments(source, at);
    if (Identifier(source, at) != "package")
        return {};
    std::string name;
    for (;;) {
        SkipBlanksAndComments(source, at);
        const std::string_view part = Identifier(source, at);
        if (part.empty() || std::isdigit(static_cast<unsigned char>(part.front())))
            return {};
        name.append(part);
        SkipBlanksAndComments(source, at);
        if (at >= source.size())
            return {};
        if (source[at] == ';')
            return name;
        if (source[at] != '.')
            return {};
        name += '.';
        ++at;
    }
}

JavaClassProposal ProposeClass(const std::string& sourcePath, const std::string& packageName,
                               const std::string& simpleName)
{
    JavaClassProposal proposal{DirectoryOf(sourcePath), simpleName};
    if (packageName.empty())
        return proposal;
    proposal.className = packageName + "." + simpleName;
    std::string packagePath = packageName;
    for (char& c : packagePath) {
        if (c == '.')
            c = '/';
    }
    packagePath += '/';
    // A file kept outside its package's folders gives no usable root; its
    // own directory is the best guess the user can then edit.
    const std::string& directory = proposal.sourceRoot;
    if (directory.size() > packagePath.size() && directory.ends_with(packagePath) &&
        directory[directory.size() - packagePath.size() - 1] == '/')
        proposal.sourceRoot = directory.substr(0, directory.size() - packagePath.size());
    return proposal;
}
