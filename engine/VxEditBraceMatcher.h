#pragma once

#include "engine/VxEditLineCol.h"

#include <cstdint>
#include <vector>

class VxEdit;
struct VxEditLangTag;

// Finds the partner of a bracket ( ) [ ] { } in a text model. Brackets in
// code skip comments and strings; a bracket inside a comment or string pairs
// only within that same stretch. Which bytes are comment or string is read
// from the colour runs (the groups of the language's tags); a code search
// reads lines with the language's tags instead, starting each line from the
// scanner's multi-line spans, which is what the runs hold without working
// out keywords. The search goes at most kSearchBytes each way, so a huge
// text never stalls the caret.
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

    // Whether the last character of the line's code is the byte, with
    // trailing blanks and comments passed over; a line ending in a string
    // ends in no code byte. A comment is what a tag holds that runs to the
    // line's end or over lines.
    bool CodeEndsWith(std::int32_t line, char byte);

private:
    static constexpr int kCode = -1;
    // A stretch of one line in one class: kCode or a tag's colour group.
    struct Stretch {
        std::int32_t start;
        std::int32_t end;
        int kind;
    };

    bool LoadLine(std::int32_t line);
    // Code or not, for each stretch of the line, from the tags.
    void LoadCodeLine(std::int32_t line);
    // The first column from at on, before end, where a tag may begin; end
    // when there is none.
    std::int32_t NextOpener(const char* text, std::int32_t at, std::int32_t end) const;
    // Just past the end of the tag opened at column, or the line's length.
    std::int32_t TagEnd(const char* text, std::int32_t length, std::int32_t column,
                        const VxEditLangTag& tag) const;
    int KindAt(std::int32_t column) const;
    bool IsTagGroup(int group) const;
    bool Search(const VxEditLineCol& from, char open, char close, bool forward, int kind,
                VxEditLineCol& partner);
    // The nearest line from line on (or back) that holds a or b within the
    // budget, which it spends on the lines passed; -1 when there is none.
    std::int32_t NextLineWithEither(std::int32_t line, bool forward, char a, char b, std::int64_t& budget) const;

    VxEdit& model_;
    std::vector<int> tagGroups_;
    std::vector<int> commentGroups_;
    std::vector<const VxEditLangTag*> tags_;
    bool opens_[256] = {};
    // The distinct bytes of opens_, while there are few enough to compare
    // a vector of text with each.
    static constexpr int kMaxOpeners = 4;
    char openers_[kMaxOpeners] = {};
    int openerCount_ = 0;
    bool tagsSuffice_ = false;
    std::vector<Stretch> stretches_;
};
