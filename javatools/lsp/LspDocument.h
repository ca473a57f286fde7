#pragma once

#include "javatools/lsp/LspTypes.h"

#include <string>
#include <string_view>

// The server's view of one open text: its copy of the text and its
// version. Edits come in the editor's terms (lines and byte columns) and
// leave as the range the server counts (UTF-16 columns of the text as it
// was before the edit). Lines end at "\n".
class LspDocument {
public:
    LspDocument(std::string uri, std::string languageId, std::string text)
        : uri_(std::move(uri)), languageId_(std::move(languageId)), text_(std::move(text))
    {
    }

    const std::string& Uri() const { return uri_; }
    const std::string& LanguageId() const { return languageId_; }
    const std::string& Text() const { return text_; }
    int Version() const { return version_; }

    // Replaces the bytes from (startLine, startColumn) to (endLine,
    // endColumn) by `text` and counts a new version; returns the replaced
    // range as the server counts it.
    LspRange Replace(int startLine, int startColumn, int endLine, int endColumn, std::string_view text);
    // Replaces the whole text, counting a new version.
    void SetText(std::string text);

    // The line's bytes without its "\n" (empty past the end).
    std::string_view Line(int line) const;
    // Server columns of a line and back.
    int ToUtf16(int line, int byteColumn) const;
    int ToByteColumn(int line, int utf16Column) const;

private:
    // The offset of a line's start and of a byte column in it, clamped.
    std::size_t LineStart(int line) const;
    std::size_t Offset(int line, int byteColumn) const;

    std::string uri_;
    std::string languageId_;
    std::string text_;
    int version_ = 1;
};
