#include "engine/VxEditFoldRegions.h"

#include "engine/VxEdit.h"
#include "engine/VxEditElementRegions.h"
#include "engine/VxEditTextBuffer.h"
#include "language/VxEditLangConfig.h"
#include "language/VxEditLangTag.h"
#include "language/VxEditLangTagTable.h"

#include <algorithm>
#include <map>

VxEditFoldRegions::VxEditFoldRegions(VxEdit& model) : model_(model)
{
    VxEditLangConfig* config = model_.GetLangConfig();
    if (!config)
        return;
    html_ = config->GetName() == "HTML";
    std::vector<VxEditLangTag*> tags;
    config->ListTags(tags, VxEditLangTagTable::kAnyLine);
    std::vector<int> quoteGroups;
    for (const VxEditLangTag* tag : tags) {
        tagGroups_.push_back(tag->ColorGroup);
        if (!tag->BeginTag.empty() && (tag->BeginTag[0] == '"' || tag->BeginTag[0] == '\''))
            quoteGroups.push_back(tag->ColorGroup);
    }
    // Spans of multi-line tags are comments unless their group is that of
    // strings (a text block).
    for (const VxEditLangTag* tag : tags) {
        if (tag->MultiLine && std::find(quoteGroups.begin(), quoteGroups.end(), tag->ColorGroup) == quoteGroups.end())
            commentGroups_.push_back(tag->ColorGroup);
    }
}

std::vector<VxEditFoldRegion> VxEditFoldRegions::Find()
{
    std::vector<VxEditFoldRegion> regions;
    if (html_) {
        const VxEditTextBuffer& buffer = model_.TextBuffer();
        std::string text(static_cast<std::size_t>(buffer.Length()), '\0');
        buffer.CopyOut(text.data(), 0, buffer.Length());
        VxEditElementRegions::Find(text, regions);
    } else {
        FindBlocksAndImports(regions);
        FindComments(regions);
    }
    Tidy(regions);
    return regions;
}

bool VxEditFoldRegions::IsTagGroup(int group) const
{
    return std::find(tagGroups_.begin(), tagGroups_.end(), group) != tagGroups_.end();
}

// The runs are read before the text: working them out may move the store's
// gap and leave an earlier text pointer stale.
void VxEditFoldRegions::LoadCode(std::int32_t line)
{
    const std::vector<ColorRun>* runs = model_.GetColourRuns(line);
    const char* text = nullptr;
    std::int32_t length = 0;
    model_.LineText(line, text, length);
    code_.assign(text ? text : "", static_cast<std::size_t>(std::max(length, 0)));
    if (!runs)
        return;
    std::int32_t at = 0;
    for (ColorRun run : *runs) {
        if (at >= length)
            break;
        const std::int32_t end =
            ColorRunLength(run) == 0 ? length : std::min(length, at + static_cast<std::int32_t>(ColorRunLength(run)));
        if (IsTagGroup(ColorRunGroup(run)))
            std::fill(code_.begin() + at, code_.begin() + end, ' ');
        at = end;
    }
}

void VxEditFoldRegions::FindBlocksAndImports(std::vector<VxEditFoldRegion>& regions)
{
    std::vector<std::int32_t> open;  // the line of each open brace
    std::int32_t firstImport = -1;
    std::int32_t lastImport = -1;
    const std::int32_t lastLine = model_.LastLine();
    for (std::int32_t line = 0; line <= lastLine; ++line) {
        LoadCode(line);
        for (char byte : code_) {
            if (byte == '{') {
                open.push_back(line);
            } else if (byte == '}' && !open.empty()) {
                if (open.back() < line)
                    regions.push_back({open.back(), line, VxEditFoldRegion::kBlock});
                open.pop_back();
            }
        }
        const std::size_t start = code_.find_first_not_of(" \t");
        if (start == std::string::npos)
            continue;  // blank lines and comments do not end a run of imports
        if (code_.compare(start, 7, "import ") == 0) {
            if (firstImport < 0)
                firstImport = line;
            lastImport = line;
        } else {
            if (lastImport > firstImport)
                regions.push_back({firstImport, lastImport, VxEditFoldRegion::kImports});
            firstImport = lastImport = -1;
        }
    }
    if (lastImport > firstImport)
        regions.push_back({firstImport, lastImport, VxEditFoldRegion::kImports});
}

void VxEditFoldRegions::FindComments(std::vector<VxEditFoldRegion>& regions)
{
    // The pass over the runs recorded every span of the text.
    for (const VxEditMLComment& span : model_.Spans()) {
        if (span.end.line > span.start.line &&
            std::find(commentGroups_.begin(), commentGroups_.end(), span.kind) != commentGroups_.end())
            regions.push_back({span.start.line, span.end.line, VxEditFoldRegion::kComment});
    }
}

void VxEditFoldRegions::Tidy(std::vector<VxEditFoldRegion>& regions)
{
    std::map<std::int32_t, VxEditFoldRegion> byFirst;
    for (const VxEditFoldRegion& region : regions) {
        auto [at, added] = byFirst.emplace(region.first, region);
        if (!added && region.last > at->second.last)
            at->second = region;
    }
    regions.clear();
    for (auto [first, region] : byFirst) {
        if (byFirst.count(region.last) && region.last > first)
            --region.last;
        if (region.last > region.first)
            regions.push_back(region);
    }
}
