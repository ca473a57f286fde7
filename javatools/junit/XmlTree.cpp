#include "javatools/junit/XmlTree.h"

#include <cstdint>

std::string XmlElement::Attribute(std::string_view key) const
{
    for (const auto& [k, v] : attributes) {
        if (k == key)
            return v;
    }
    return {};
}

bool XmlElement::HasAttribute(std::string_view key) const
{
    for (const auto& attribute : attributes) {
        if (attribute.first == key)
            return true;
    }
    return false;
}

const XmlElement* XmlElement::Child(std::string_view childName) const
{
    for (const XmlElement& child : children) {
        if (child.name == childName)
            return &child;
    }
    return nullptr;
}

namespace {

void AppendUtf8(std::string& out, std::uint32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool Document(XmlElement& root, std::string* error)
    {
        if (text_.starts_with("\xEF\xBB\xBF"))
            pos_ = 3;
        if (!SkipMisc() || !At("<"))
            return Fail(error, "no root element");
        if (!Element(root, 0))
            return Fail(error, failure_);
        if (!SkipMisc() || pos_ != text_.size())
            return Fail(error, failure_.empty() ? "text after the root element" : failure_);
        return true;
    }

private:
    static constexpr int kMaxDepth = 256;

    bool At(std::string_view s) const { return text_.substr(pos_).starts_with(s); }
    bool Fail(std::string* error, const std::string& why)
    {
        if (error)
            *error = why + " at byte " + std::to_string(pos_);
        return false;
    }
    bool Bad(const char* why)
    {
        if (failure_.empty())
            failure_ = why;
        return false;
    }
    static bool Space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
    void SkipSpace()
    {
        while (pos_ < text_.size() && Space(text_[pos_]))
            ++pos_;
    }
    bool SkipPast(std::string_view end)
    {
        const std::size_t found = text_.find(end, pos_);
        if (found == std::string_view::npos)
            return Bad("unterminated markup");
        pos_ = found + end.size();
        return true;
    }
    // Blanks, comments, processing instructions and a document type.
    bool SkipMisc()
    {
        for (;;) {
            SkipSpace();
            if (At("<?")) {
                if (!SkipPast("?>"))
                    return false;
            } else if (At("<!--")) {
                if (!SkipPast("-->"))
                    return false;
            } else if (At("<!DOCTYPE")) {
                if (!SkipDoctype())
                    return false;
            } else {
                return true;
            }
        }
    }
    bool SkipDoctype()
    {
        int brackets = 0;
        for (; pos_ < text_.size(); ++pos_) {
            const char c = text_[pos_];
            if (c == '[')
                ++brackets;
            else if (c == ']')
                --brackets;
            else if (c == '>' && brackets <= 0) {
                ++pos_;
                return true;
            }
        }
        return Bad("unterminated document type");
    }
    std::string Name()
    {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && !Space(text_[pos_]) && text_[pos_] != '>' && text_[pos_] != '/' &&
               text_[pos_] != '=' && text_[pos_] != '<')
            ++pos_;
        return std::string(text_.substr(start, pos_ - start));
    }
    // Character data up to the stop character, with references replaced.
    bool CharacterData(char stop, std::string& out)
    {
        while (pos_ < text_.size() && text_[pos_] != stop) {
            if (text_[pos_] != '&') {
                out += text_[pos_++];
                continue;
            }
            const std::size_t semicolon = text_.find(';', pos_);
            if (semicolon == std::string_view::npos || semicolon - pos_ > 12)
                return Bad("bad reference");
            const std::string_view ref = text_.substr(pos_ + 1, semicolon - pos_ - 1);
            if (ref == "lt") out += '<';
            else if (ref == "gt") out += '>';
            else if (ref == "amp") out += '&';
            else if (ref == "quot") out += '"';
            else if (ref == "apos") out += '\'';
            else if (ref.size() > 1 && ref[0] == '#') {
                const bool hex = ref[1] == 'x' || ref[1] == 'X';
                std::uint32_t value = 0;
                const std::string_view digits = ref.substr(hex ? 2 : 1);
                if (digits.empty())
                    return Bad("bad character reference");
                for (char d : digits) {
                    int v;
                    if (d >= '0' && d <= '9') v = d - '0';
                    else if (hex && d >= 'a' && d <= 'f') v = d - 'a' + 10;
                    else if (hex && d >= 'A' && d <= 'F') v = d - 'A' + 10;
                    else return Bad("bad character reference");
                    value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(v);
                    if (value > 0x10FFFF)
                        return Bad("bad character reference");
                }
                AppendUtf8(out, value);
            } else {
                return Bad("unknown entity");
            }
            pos_ = semicolon + 1;
        }
        return true;
    }
    bool Element(XmlElement& element, int depth)
    {
        if (depth > kMaxDepth)
            return Bad("elements nested too deeply");
        ++pos_;  // '<'
        element.name = Name();
        if (element.name.empty())
            return Bad("element without a name");
        for (;;) {
            SkipSpace();
            if (pos_ >= text_.size())
                return Bad("unterminated start tag");
            if (At("/>")) {
                pos_ += 2;
                return true;
            }
            if (text_[pos_] == '>') {
                ++pos_;
                break;
            }
            std::string key = Name();
            SkipSpace();
            if (key.empty() || !At("="))
                return Bad("bad attribute");
            ++pos_;
            SkipSpace();
            if (pos_ >= text_.size() || (text_[pos_] != '"' && text_[pos_] != '\''))
                return Bad("attribute value without quotes");
            const char quote = text_[pos_++];
            std::string value;
            if (!CharacterData(quote, value))
                return false;
            if (pos_ >= text_.size())
                return Bad("unterminated attribute value");
            ++pos_;
            element.attributes.emplace_back(std::move(key), std::move(value));
        }
        // Content.
        for (;;) {
            if (pos_ >= text_.size())
                return Bad("unterminated element");
            if (At("</")) {
                pos_ += 2;
                const std::string end = Name();
                SkipSpace();
                if (end != element.name || !At(">"))
                    return Bad("mismatched end tag");
                ++pos_;
                return true;
            }
            if (At("<![CDATA[")) {
                const std::size_t end = text_.find("]]>", pos_ + 9);
                if (end == std::string_view::npos)
                    return Bad("unterminated CDATA section");
                element.text.append(text_.substr(pos_ + 9, end - pos_ - 9));
                pos_ = end + 3;
            } else if (At("<!--")) {
                if (!SkipPast("-->"))
                    return false;
            } else if (At("<?")) {
                if (!SkipPast("?>"))
                    return false;
            } else if (At("<")) {
                element.children.emplace_back();
                if (!Element(element.children.back(), depth + 1))
                    return false;
            } else if (!CharacterData('<', element.text)) {
                return false;
            }
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::string failure_;
};

}  // namespace

bool ParseXml(std::string_view text, XmlElement& root, std::string* error)
{
    root = XmlElement();
    return Reader(text).Document(root, error);
}
