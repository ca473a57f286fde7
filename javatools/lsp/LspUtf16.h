#pragma once

#include <string_view>

// Columns of one line between the editor's bytes (UTF-8, a byte that starts
// no valid sequence counting as one character) and the UTF-16 code units a
// language server counts. Such a lone byte is one unit, as servers read it
// as U+FFFD; a character outside the basic plane is two.
namespace LspUtf16 {

// The UTF-16 column of a byte column of the line (clamped to its length;
// a column inside a character counts that character as before it).
int FromByteColumn(std::string_view line, int byteColumn);
// The byte column of a UTF-16 column of the line (clamped to its length;
// a column inside a surrogate pair gives the start of that character).
int ToByteColumn(std::string_view line, int utf16Column);

}  // namespace LspUtf16
