#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class VxEdit;
struct VxEditColorGroup;

// Text of a model as HTML that shows the editor's colours: each colour run
// a FONT element with its group's colours, the text escaped, tabs as
// non-breaking spaces, all inside PRE.
class VxEditHtmlExport {
public:
    // The page around an exported text (strings 1103 and 1104). The text is
    // UTF-8, and the head says so, or a browser would guess another set.
    static constexpr std::string_view kPageStart =
        "<HTML><HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\"></HEAD><BODY>";
    static constexpr std::string_view kPageEnd = "</BODY></HTML>";

    explicit VxEditHtmlExport(VxEdit& model) : model_(model) {}

    // "&", "<" and ">" as entities (in that order, so no entity is escaped
    // twice) and every tab as tabSize "&nbsp;"; other bytes unchanged.
    static std::string EscapeHtml(std::string_view text, int tabSize);
    // With the tab size of the model's configuration (4 without one).
    std::string EscapeHtml(std::string_view text) const;

    // The opening FONT tag of a group, or empty when both its colours are
    // automatic. Colours are written as #rrggbb in lower-case hex.
    static std::string FontTag(const VxEditColorGroup& group);
    // Of a group of the model's configuration; empty for a group it lacks.
    std::string FontTag(int group) const;

    // The range's lines, each piece run by run, joined by CR LF.
    std::string ExportRange(std::int32_t startLine, std::int32_t startColumn, std::int32_t endLine,
                            std::int32_t endColumn, bool wrapInPre);
    // A column block: from firstLine on, one byte range [from, to) per line
    // (cut to the line), the pieces joined by "<BR>" inside one PRE.
    std::string ExportColumns(std::int32_t firstLine, const std::vector<std::pair<std::int32_t, std::int32_t>>& ranges);

    // The whole text as an HTML page.
    std::string ExportPage();
    // Creates or truncates the file and writes the page: 1, or 0 when the
    // file cannot be opened or written.
    int WritePage(const std::string& path);

private:
    void AppendLine(std::string& out, std::int32_t line, std::int32_t from, std::int32_t to);
    void AppendPart(std::string& out, int group, std::string_view text) const;

    VxEdit& model_;
};
