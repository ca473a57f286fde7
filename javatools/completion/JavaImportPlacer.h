#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class VxEdit;

// An insertion that brings a class's import into a Java text.
struct JavaImportEdit {
    bool needed = false;
    std::int32_t line = 0;
    std::int32_t column = 0;
    std::string text;
};

// Where the import of a chosen class goes. None is needed for java.lang,
// the text's own package, a class imported already by name or by its
// package's ".*", or a name that another import takes already. Otherwise
// the import is sorted into the existing single-type imports, else goes
// after the package line with a blank line, else at the top. Only the head
// of the text is read: the package, imports and comments before the first
// other line.
class JavaImportPlacer {
public:
    static JavaImportEdit Place(VxEdit& model, std::string_view package, std::string_view name);
};
