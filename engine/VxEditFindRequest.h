#pragma once

#include "engine/VxEditLineCol.h"

#include <string>

// One search of the text store: where it starts and where it stops, what it
// looks for and how. An end of (-1, -1) stands for the start itself (the
// whole text, wrapping around). The match position is filled on success.
struct VxEditFindRequest {
    VxEditLineCol start;
    VxEditLineCol end{-1, -1};
    std::string text;
    bool searchDown = true;
    bool wrapAround = true;
    bool matchCase = false;
    bool wholeWord = false;
    bool pattern = false;

    VxEditLineCol match{-1, -1};
    // Set when the pattern does not compile: the engine's reason and the
    // byte offset in the pattern where it stopped.
    std::string patternError;
    std::int64_t patternErrorOffset = -1;
    // The first line a pattern search passed over because the pattern was
    // too complex for it there (PCRE2 gave up), or -1: matches on it may be
    // missing.
    std::int32_t tooComplexLine = -1;
};
