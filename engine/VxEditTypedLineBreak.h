#pragma once

#include "engine/VxEditTextBuffer.h"

#include <string>
#include <string_view>

// The line break an edit types into a text: it ends as the text's first line
// does, so a file with LF line ends never gets CR LF lines mixed in, nor a
// CR LF file LF lines. A text of one line has no line end of its own and
// takes the platform's, the separator alone (LF).
inline std::string VxEditTypedLineBreak(const VxEditTextBuffer& buffer)
{
    bool carriage = false;
    if (buffer.Carriage() != 0 && buffer.LineCount() > 1) {
        const std::int64_t separator = buffer.LineStart(1) - 1;
        carriage = separator > 0 && buffer.CharAt(separator - 1) == buffer.Carriage();
    }
    std::string lineBreak;
    if (carriage)
        lineBreak += buffer.Carriage();
    lineBreak += buffer.Separator();
    return lineBreak;
}

// Generated text, written with CR LF line ends, with each CR LF turned into
// the line break the text types, so that inserting it keeps the text's
// line ends.
inline std::string VxEditInTypedLineBreaks(const VxEditTextBuffer& buffer, std::string_view generated)
{
    const std::string lineBreak = VxEditTypedLineBreak(buffer);
    std::string text;
    text.reserve(generated.size());
    for (std::size_t at = 0; at < generated.size();) {
        const std::size_t found = generated.find("\r\n", at);
        if (found == std::string_view::npos) {
            text.append(generated.substr(at));
            break;
        }
        text.append(generated.substr(at, found - at));
        text += lineBreak;
        at = found + 2;
    }
    return text;
}
