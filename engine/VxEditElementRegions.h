#pragma once

#include "engine/VxEditFoldRegion.h"

#include <string_view>
#include <vector>

// The HTML elements of a text that span lines, and its comments that do:
// start and end tags paired by name, void elements and self-closing tags
// left out, script and style contents and attribute values passed over. An
// end tag without a start tag is ignored; one that closes an outer element
// closes the ones left open inside it.
class VxEditElementRegions {
public:
    static void Find(std::string_view text, std::vector<VxEditFoldRegion>& regions);
};
