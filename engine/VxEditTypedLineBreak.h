#pragma once

#include "engine/VxEditTextBuffer.h"

#include <string>

// The line break an edit types into a text: it ends as the text's first line
// does, so a file with LF line ends never gets CR LF lines mixed in; a text
// of one line takes the carriage and the separator.
inline std::string VxEditTypedLineBreak(const VxEditTextBuffer& buffer)
{
    bool carriage = buffer.Carriage() != 0;
    if (carriage && buffer.LineCount() > 1) {
        const std::int64_t separator = buffer.LineStart(1) - 1;
        carriage = separator > 0 && buffer.CharAt(separator - 1) == buffer.Carriage();
    }
    std::string lineBreak;
    if (carriage)
        lineBreak += buffer.Carriage();
    lineBreak += buffer.Separator();
    return lineBreak;
}
