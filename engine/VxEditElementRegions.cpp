#include "engine/VxEditElementRegions.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace {

bool IsVoidElement(const std::string& name)
{
    static constexpr std::array<std::string_view, 14> kVoid = {"area", "base", "br",   "col",   "embed",
                                                               "hr",   "img",  "input", "link", "meta",
                                                               "param", "source", "track", "wbr"};
    return std::find(kVoid.begin(), kVoid.end(), name) != kVoid.end();
}

bool IsNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == ':' || c == '_';
}

struct Open {
    std::string name;
    std::int32_t line;
};

// Reads through text keeping count of line ends.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool AtEnd() const { return at_ >= text_.size(); }
    bool LooksAt(std::string_view what) const { return text_.substr(at_, what.size()) == what; }
    char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
    std::int32_t Line() const { return line_; }
    void Step(std::size_t count = 1)
    {
        for (; count > 0 && at_ < text_.size(); --count)
            line_ += text_[at_++] == '\n' ? 1 : 0;
    }
    // Moves just past what, or to the end.
    void PassOver(std::string_view what)
    {
        while (!AtEnd() && !LooksAt(what))
            Step();
        Step(what.size());
    }
    // Case-blind, for the end tags of script and style.
    void PassOverEndTag(const std::string& name)
    {
        while (!AtEnd()) {
            if (LooksAt("</") && text_.size() - at_ >= name.size() + 2) {
                std::string found(text_.substr(at_ + 2, name.size()));
                std::transform(found.begin(), found.end(), found.begin(), [](unsigned char c) { return std::tolower(c); });
                if (found == name)
                    return;
            }
            Step();
        }
    }
    std::string Name()
    {
        std::string name;
        while (!AtEnd() && IsNameChar(Peek())) {
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(Peek())));
            Step();
        }
        return name;
    }
    // Past the tag's closing '>', attribute values skipped; true when the
    // tag closed itself with "/>".
    bool PassTag()
    {
        bool selfClosing = false;
        while (!AtEnd() && Peek() != '>') {
            const char c = Peek();
            if (c == '"' || c == '\'') {
                Step();
                while (!AtEnd() && Peek() != c)
                    Step();
            }
            selfClosing = c == '/';
            Step();
        }
        Step();
        return selfClosing;
    }

private:
    std::string_view text_;
    std::size_t at_ = 0;
    std::int32_t line_ = 0;
};

}  // namespace

void VxEditElementRegions::Find(std::string_view text, std::vector<VxEditFoldRegion>& regions)
{
    Reader reader(text);
    std::vector<Open> open;
    while (!reader.AtEnd()) {
        if (reader.Peek() != '<') {
            reader.Step();
            continue;
        }
        const std::int32_t line = reader.Line();
        if (reader.LooksAt("<!--")) {
            reader.PassOver("-->");
            if (reader.Line() > line)
                regions.push_back({line, reader.Line(), VxEditFoldRegion::kComment});
            continue;
        }
        reader.Step();
        const bool closing = reader.Peek() == '/';
        if (closing)
            reader.Step();
        if (!std::isalpha(static_cast<unsigned char>(reader.Peek())))
            continue;
        const std::string name = reader.Name();
        const bool selfClosing = reader.PassTag();
        if (closing) {
            const auto match = std::find_if(open.rbegin(), open.rend(), [&](const Open& o) { return o.name == name; });
            if (match == open.rend())
                continue;
            const std::int32_t first = match->line;
            open.erase(match.base() - 1, open.end());
            if (line > first)
                regions.push_back({first, line, VxEditFoldRegion::kElement});
        } else if (!selfClosing && !IsVoidElement(name)) {
            open.push_back({name, line});
            if (name == "script" || name == "style")
                reader.PassOverEndTag(name);
        }
    }
}
