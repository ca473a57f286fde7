#include "javatools/lsp/LspDocument.h"

#include "javatools/lsp/LspUtf16.h"

#include <algorithm>
#include <cstring>

std::size_t LspDocument::LineStart(int line) const
{
    std::size_t at = 0;
    for (int i = 0; i < line; ++i) {
        const void* end = std::memchr(text_.data() + at, '\n', text_.size() - at);
        if (!end)
            return text_.size();
        at = static_cast<std::size_t>(static_cast<const char*>(end) - text_.data()) + 1;
    }
    return at;
}

std::string_view LspDocument::Line(int line) const
{
    if (line < 0)
        return {};
    const std::size_t start = LineStart(line);
    const std::size_t end = std::min(text_.find('\n', start), text_.size());
    return std::string_view(text_).substr(start, end - start);
}

std::size_t LspDocument::Offset(int line, int byteColumn) const
{
    const std::size_t start = LineStart(std::max(line, 0));
    const std::size_t end = std::min(text_.find('\n', start), text_.size());
    return start + std::min(static_cast<std::size_t>(std::max(byteColumn, 0)), end - start);
}

int LspDocument::ToUtf16(int line, int byteColumn) const
{
    return LspUtf16::FromByteColumn(Line(line), byteColumn);
}

int LspDocument::ToByteColumn(int line, int utf16Column) const
{
    return LspUtf16::ToByteColumn(Line(line), utf16Column);
}

LspRange LspDocument::Replace(int startLine, int startColumn, int endLine, int endColumn, std::string_view text)
{
    LspRange range;
    range.start = {startLine, ToUtf16(startLine, startColumn)};
    range.end = {endLine, ToUtf16(endLine, endColumn)};
    const std::size_t from = Offset(startLine, startColumn);
    const std::size_t to = std::max(from, Offset(endLine, endColumn));
    text_.replace(from, to - from, text);
    ++version_;
    return range;
}

void LspDocument::SetText(std::string text)
{
    text_ = std::move(text);
    ++version_;
}
