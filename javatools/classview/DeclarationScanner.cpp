#include "javatools/classview/DeclarationScanner.h"

#include "engine/VxEditLineColPair.h"
#include "engine/VxEditPattern.h"
#include "engine/VxEditTextBuffer.h"
#include "engine/VxScrivo.h"
#include "language/VxEditLangConfig.h"

#include <algorithm>
#include <cctype>
#include <string>

// The keyword must not continue a name or follow a dot (Foo.class); its
// name follows after white space; the rest of the header (extends,
// implements, permits, type parameters and arguments, annotations, a
// record's components) holds no semicolon, string or brace before the
// opening one. Possessive repeats keep a failed header from backtracking.
const char* const DeclarationScanner::kPattern =
    "(?<![\\w$.])(?:class|interface|enum|record)\\s++"
    "[A-Za-z_$\\x{80}-\\x{10FFFF}][\\w$\\x{80}-\\x{10FFFF}]*+"
    "[\\w$\\x{80}-\\x{10FFFF}\\s.,<>?&@()\\[\\]]*+\\{";

namespace {

struct Match {
    std::int64_t offset;
    std::int64_t length;
    VxScrivoDeclaration declaration;
};

bool IsNameByte(unsigned char byte)
{
    return std::isalnum(byte) || byte == '_' || byte == '$' || byte >= 0x80;
}

bool IsHtml(const VxScrivo& model)
{
    const VxEditLangConfig* config = model.GetLangConfig();
    if (!config)
        return false;
    std::string name = config->GetName();
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name == "html";
}

}  // namespace

VxScrivoDeclaration DeclarationScanner::ParseHeader(std::string_view header)
{
    VxScrivoDeclaration declaration;
    std::size_t at = 0;
    while (at < header.size() && IsNameByte(static_cast<unsigned char>(header[at])))
        ++at;
    const std::string_view keyword = header.substr(0, at);
    if (keyword == "interface")
        declaration.kind = VxScrivoDeclaration::kInterface;
    else if (keyword == "enum")
        declaration.kind = VxScrivoDeclaration::kEnum;
    else if (keyword == "record")
        declaration.kind = VxScrivoDeclaration::kRecord;
    while (at < header.size() && std::isspace(static_cast<unsigned char>(header[at])))
        ++at;
    const std::size_t start = at;
    while (at < header.size() && IsNameByte(static_cast<unsigned char>(header[at])))
        ++at;
    declaration.name = std::string(header.substr(start, at - start));
    return declaration;
}

void DeclarationScanner::Rebuild(VxScrivo& model)
{
    std::vector<VxScrivoDeclaration>& list = model.Declarations();
    list.clear();
    if (IsHtml(model) || model.LineCount() < 2)
        return;
    VxEditPattern pattern;
    if (!pattern.IsCreated())
        return;
    pattern.SetPattern(kPattern);

    // The matches are collected first: telling comments and strings apart
    // colours lines, which may move the text store's gap under the text.
    std::vector<Match> matches;
    {
        const char* text = nullptr;
        std::int64_t length = 0;
        const std::int32_t last = model.LastLine();
        if (!model.TextSpan(VxEditLineColPair(0, 0, last, model.LineLength(last)), text, length))
            return;
        std::size_t from = 0;
        std::size_t index = 0;
        std::size_t matchLength = 0;
        const auto size = static_cast<std::size_t>(length);
        while (from < size && pattern.FirstMatch(text, size, from, index, matchLength)) {
            Match match{static_cast<std::int64_t>(index), static_cast<std::int64_t>(matchLength),
                        ParseHeader(std::string_view(text + index, matchLength))};
            // A header in a comment may run on into a real declaration, so
            // the next search starts just behind this match's keyword.
            from = index + 1;
            matches.push_back(std::move(match));
        }
    }

    std::vector<VxScrivoDeclaration> interfaces;
    std::int64_t acceptedEnd = -1;
    for (Match& match : matches) {
        const VxEditLineCol at = model.TextBuffer().PositionOf(match.offset);
        // A keyword inside an accepted header is part of that header.
        if (match.offset < acceptedEnd || model.IsInTagSpan(at))
            continue;
        match.declaration.line = at.line;
        acceptedEnd = match.offset + match.length;
        if (match.declaration.kind == VxScrivoDeclaration::kInterface)
            interfaces.push_back(std::move(match.declaration));
        else
            list.push_back(std::move(match.declaration));
    }
    list.insert(list.end(), std::make_move_iterator(interfaces.begin()),
                std::make_move_iterator(interfaces.end()));
}
