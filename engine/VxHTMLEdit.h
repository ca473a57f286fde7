#pragma once

#include "engine/VxEdit.h"

// The model of HTML text: while its configuration is the one named "HTML",
// the colouring scanner treats only text between angle brackets as markup.
class VxHTMLEdit : public VxEdit {
public:
    VxHTMLEdit() = default;

    // True while the configuration in use is the "HTML" one (any case).
    bool IsHtmlConfig() const;

protected:
    ~VxHTMLEdit() override = default;
};
