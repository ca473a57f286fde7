#pragma once

#include "engine/VxScrivoDeclaration.h"

#include <string_view>
#include <vector>

class VxScrivo;

// Builds the declaration list of a Java text with the pattern engine over
// the whole text: classes, enums and records in text order, then the
// interfaces. A header may carry generic type parameters, annotations and a
// record's components; the entry is the plain name. Matches that start
// inside a comment or string are skipped. HTML texts and texts of fewer
// than two lines have no declarations.
class DeclarationScanner {
public:
    // The pattern of one declaration header up to its opening brace.
    static const char* const kPattern;

    // Empties the model's list and fills it afresh.
    static void Rebuild(VxScrivo& model);

    // The kind and plain name of a header the pattern matched.
    static VxScrivoDeclaration ParseHeader(std::string_view header);
};
