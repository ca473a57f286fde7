#pragma once

#include <string>

// A delimited span of a language (a string, a comment): it opens with
// BeginTag and closes with EndTag, or at the end of the line when EndTag is
// empty. An EndTag preceded by an odd number of EscapeChar does not close a
// single-line span.
struct VxEditLangTag {
    std::string BeginTag;
    std::string EndTag;
    std::string EscapeChar;
    int ColorGroup = 0;
    int MultiLine = 0;

    bool operator==(const VxEditLangTag& other) const = default;
};
