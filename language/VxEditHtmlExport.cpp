#include "language/VxEditHtmlExport.h"

#include "engine/VxEdit.h"
#include "language/VxEditLangConfig.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace {

void AppendHex(std::string& out, std::uint32_t colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<unsigned>(colour & 0xFF),
                  static_cast<unsigned>((colour >> 8) & 0xFF), static_cast<unsigned>((colour >> 16) & 0xFF));
    out += text;
}

}  // namespace

std::string VxEditHtmlExport::EscapeHtml(std::string_view text, int tabSize)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '\t':
            for (int i = 0; i < tabSize; ++i)
                out += "&nbsp;";
            break;
        default:
            out += c;
            break;
        }
    }
    return out;
}

std::string VxEditHtmlExport::EscapeHtml(std::string_view text) const
{
    const VxEditLangConfig* config = model_.GetLangConfig();
    return EscapeHtml(text, config ? config->GetTabSize() : 4);
}

std::string VxEditHtmlExport::FontTag(const VxEditColorGroup& group)
{
    std::string tag;
    if (group.ForeColorAutomatic && group.BackColorAutomatic)
        return tag;
    if (!group.ForeColorAutomatic) {
        tag = "<FONT COLOR=\"";
        AppendHex(tag, group.Foreground);
        if (group.BackColorAutomatic)
            return tag + "\">";
        tag += "\" STYLE=\"background-color:";
        AppendHex(tag, group.Background);
        return tag + " \">";
    }
    tag = "<FONT STYLE=\"background-color:";
    AppendHex(tag, group.Background);
    return tag + "\">";
}

std::string VxEditHtmlExport::FontTag(int group) const
{
    const VxEditLangConfig* config = model_.GetLangConfig();
    const VxEditColorGroup* found = config ? config->GetColorGroup(group) : nullptr;
    return found ? FontTag(*found) : std::string();
}

std::string VxEditHtmlExport::ExportRange(std::int32_t startLine, std::int32_t startColumn, std::int32_t endLine,
                                          std::int32_t endColumn, bool wrapInPre)
{
    std::string out;
    if (wrapInPre)
        out += "<PRE>";
    const std::int32_t last = std::min(endLine, model_.LastLine());
    for (std::int32_t line = std::max(startLine, 0); line <= last; ++line) {
        const std::int32_t from = line == startLine ? startColumn : 0;
        const std::int32_t to = line == endLine ? endColumn : model_.LineLength(line);
        AppendLine(out, line, from, to);
        if (line != last)
            out += "\r\n";
    }
    if (wrapInPre)
        out += "</PRE>";
    return out;
}

void VxEditHtmlExport::AppendLine(std::string& out, std::int32_t line, std::int32_t from, std::int32_t to)
{
    // The runs first: colouring may move the text, which LineText then pins.
    const std::vector<ColorRun>* runs = model_.IsColouringEnabled() ? model_.GetColourRuns(line) : nullptr;
    const char* text = nullptr;
    std::int32_t length = 0;
    if (!model_.LineText(line, text, length))
        return;
    to = std::clamp(to, 0, length);
    from = std::clamp(from, 0, to);
    if (!runs || runs->empty()) {
        out += EscapeHtml(std::string_view(text + from, static_cast<std::size_t>(to - from)));
        return;
    }
    // The first part runs from `from` to the end of the run that holds it
    // (the last run when `from` is the end of the line), then run by run
    // up to `to`; parts are never merged.
    std::int32_t start = 0;
    bool first = true;
    for (std::size_t i = 0; i < runs->size(); ++i) {
        const ColorRun run = (*runs)[i];
        const std::int32_t end =
            ColorRunLength(run) == 0 ? length : std::min(length, start + static_cast<std::int32_t>(ColorRunLength(run)));
        const bool lastRun = i + 1 == runs->size();
        if (first && end <= from && !lastRun) {
            start = end;
            continue;
        }
        if (!first && start >= to)
            break;
        const std::int32_t partStart = first ? from : start;
        const std::int32_t partEnd = std::max(partStart, std::min(end, to));
        AppendPart(out, ColorRunGroup(run),
                   std::string_view(text + partStart, static_cast<std::size_t>(partEnd - partStart)));
        first = false;
        start = end;
    }
}

void VxEditHtmlExport::AppendPart(std::string& out, int group, std::string_view text) const
{
    const std::string tag = FontTag(group);
    if (tag.empty()) {
        out += EscapeHtml(text);
        return;
    }
    out += tag;
    out += EscapeHtml(text);
    out += "</FONT>";
}

std::string VxEditHtmlExport::ExportColumns(std::int32_t firstLine,
                                            const std::vector<std::pair<std::int32_t, std::int32_t>>& ranges)
{
    std::string out = "<PRE>";
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        const auto line = static_cast<std::int32_t>(firstLine + static_cast<std::int32_t>(i));
        auto [from, to] = ranges[i];
        const std::int32_t length = model_.LineLength(line);
        if (length < from)
            from = to = 0;
        else if (length < to)
            to = length;
        out += ExportRange(line, from, line, to, false);
        if (i + 1 < ranges.size())
            out += "<BR>";
    }
    out += "</PRE>";
    return out;
}

std::string VxEditHtmlExport::ExportPage()
{
    const std::int32_t last = model_.LastLine();
    std::string page(kPageStart);
    page += ExportRange(0, 0, last, model_.LineLength(last), true);
    page += kPageEnd;
    return page;
}

int VxEditHtmlExport::WritePage(const std::string& path)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file.is_open())
        return 0;
    const std::string page = ExportPage();
    file.write(page.data(), static_cast<std::streamsize>(page.size()));
    file.close();
    return file.good() ? 1 : 0;
}
