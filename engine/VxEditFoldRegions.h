#pragma once

#include "engine/VxEditFoldRegion.h"

#include <cstdint>
#include <string>
#include <vector>

class VxEdit;

// The ranges of a model's text that can be folded: brace blocks spanning
// lines, block and documentation comments spanning lines, a run of import
// lines, and in HTML the elements and comments spanning lines.
//
// Which bytes are code is read from the colour runs, the way the brace
// matcher reads them: bytes in a tag's colour group (a comment, a string)
// are no code, so braces there do not count. Comments are the scanner's
// multi-line spans of comment tags.
//
// A region ending on the line where another one starts (`} else {`) ends
// on the line before, so regions nest or stand apart; at most one starts on
// a line, the longest.
class VxEditFoldRegions {
public:
    explicit VxEditFoldRegions(VxEdit& model);

    // Every region, ordered by first line, outer before inner.
    std::vector<VxEditFoldRegion> Find();

private:
    // Code bytes of line (others blanked), from its colour runs.
    void LoadCode(std::int32_t line);
    void FindBlocksAndImports(std::vector<VxEditFoldRegion>& regions);
    void FindComments(std::vector<VxEditFoldRegion>& regions);
    bool IsTagGroup(int group) const;
    static void Tidy(std::vector<VxEditFoldRegion>& regions);

    VxEdit& model_;
    std::vector<int> tagGroups_;
    std::vector<int> commentGroups_;
    bool html_ = false;
    std::string code_;
};
