#include "javatools/classview/DeclarationScanner.h"

#include "engine/VxEditLineColPair.h"
#include "engine/VxEditPattern.h"
#include "engine/VxEditTextBuffer.h"
#include "engine/VxScrivo.h"
#include "javatools/classview/MemberScanner.h"
#include "language/VxEditLangConfig.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <limits>
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
    DeclarationScanner scanner(model);
    while (!scanner.Step(std::numeric_limits<std::int64_t>::max()))
        continue;
}

DeclarationScanner::DeclarationScanner(VxScrivo& model) : model_(model)
{
    Restart();
}

DeclarationScanner::~DeclarationScanner() = default;

void DeclarationScanner::Restart()
{
    const VxEditTextBuffer& buffer = model_.TextBuffer();
    revision_ = buffer.Revision();
    oneLine_ = buffer.LineCount() < 2 && buffer.FindByte(0, buffer.Length(), '\r') == buffer.Length();
    from_ = 0;
    acceptedEnd_ = -1;
    classes_.clear();
    interfaces_.clear();
    members_ = std::make_unique<MemberScanner>();
    done_ = false;
}

void DeclarationScanner::Finish()
{
    std::vector<VxScrivoDeclaration>& list = model_.Declarations();
    list = std::move(classes_);
    list.insert(list.end(), std::make_move_iterator(interfaces_.begin()),
                std::make_move_iterator(interfaces_.end()));
    classes_.clear();
    interfaces_.clear();
    model_.Outline() = members_->Done() ? members_->Take() : std::vector<VxScrivoMember>();
    done_ = true;
}

bool DeclarationScanner::Step(std::int64_t bytes)
{
    if (done_)
        return true;
    if (model_.TextBuffer().Revision() != revision_)
        Restart();
    if (IsHtml(model_) || oneLine_) {
        Finish();
        return true;
    }
    if (!pattern_) {
        pattern_ = std::make_unique<VxEditPattern>();
        if (!pattern_->IsCreated()) {
            Finish();
            return true;
        }
        pattern_->SetPattern(kPattern);
    }

    // The matches of this step are collected first: telling comments and
    // strings apart colours lines, which may move the text store's gap
    // under the text.
    std::vector<Match> matches;
    const std::int64_t size = model_.TextBuffer().Length();
    const std::int64_t limit = from_ + std::min(bytes, size - from_);
    {
        const char* text = nullptr;
        std::int64_t length = 0;
        const std::int32_t last = model_.LastLine();
        if (!model_.TextSpan(VxEditLineColPair(0, 0, last, model_.LineLength(last)), text, length)) {
            Finish();
            return true;
        }
        // A header that starts before the step's end may run on past it.
        constexpr std::int64_t kHeaderReach = 65536;
        const auto subjectEnd = static_cast<std::size_t>(std::min(length, limit + kHeaderReach));
        auto from = static_cast<std::size_t>(from_);
        std::size_t index = 0;
        std::size_t matchLength = 0;
        while (from < static_cast<std::size_t>(limit) &&
               pattern_->FirstMatch(text, subjectEnd, from, index, matchLength) &&
               index < static_cast<std::size_t>(limit)) {
            matches.push_back(Match{static_cast<std::int64_t>(index), static_cast<std::int64_t>(matchLength),
                                    ParseHeader(std::string_view(text + index, matchLength))});
            // A header in a comment may run on into a real declaration, so
            // the next search starts just behind this match's keyword.
            from = index + 1;
        }
        members_->Step(text, static_cast<std::size_t>(length), static_cast<std::size_t>(limit));
    }

    for (Match& match : matches) {
        const VxEditLineCol at = model_.TextBuffer().PositionOf(match.offset);
        // A keyword inside an accepted header is part of that header.
        if (match.offset < acceptedEnd_ || model_.IsInTagSpan(at))
            continue;
        match.declaration.line = at.line;
        acceptedEnd_ = match.offset + match.length;
        if (match.declaration.kind == VxScrivoDeclaration::kInterface)
            interfaces_.push_back(std::move(match.declaration));
        else
            classes_.push_back(std::move(match.declaration));
    }
    from_ = limit;
    if (from_ >= size)
        Finish();
    return done_;
}
