#pragma once

#include "engine/VxEditLineCol.h"

#include <cstdint>
#include <vector>

class VxEdit;

// Finds the partner of a bracket ( ) [ ] { } in a text model. Brackets in
// code skip comments and strings; a bracket inside a comment or string pairs
// only within that same stretch. Which bytes are comment or string is read
// from the colour runs (the groups of the language's tags). The search goes
// at most kSearchBytes each way, so a huge text never stalls the caret.
class VxEditBraceMatcher {
public:
    static constexpr std::int64_t kSearchBytes = 1 << 20;

    explicit VxEditBraceMatcher(VxEdit& model);

    // The bracket next to the caret: the byte after it first, else the one
    // before it. False when neither is a bracket.
    bool BracketAt(const VxEditLineCol& caret, VxEditLineCol& bracket);
    // False when the byte is no bracket or no partner lies within reach.
    bool FindPartner(const VxEditLineCol& bracket, VxEditLineCol& partner);

    static bool IsBracket(char byte);

private:
    static constexpr int kCode = -1;
    // A stretch of one line in one class: kCode or a tag's colour group.
    struct Stretch {
        std::int32_t start;
        std::int32_t end;
        int kind;
    };

    bool LoadLine(std::int32_t line);
    int KindAt(std::int32_t column) const;
    bool IsTagGroup(int group) const;
    bool Search(const VxEditLineCol& from, char open, char close, bool forward, int kind,
                VxEditLineCol& partner);

    VxEdit& model_;
    std::vector<int> tagGroups_;
    std::vector<Stretch> stretches_;
};
