#pragma once

#include "engine/VxHTMLEdit.h"

// The model every document holds: Java and HTML colouring, and lines marked
// as error lines shown wholly in the "Error Line" colour group.
class VxScrivo : public VxHTMLEdit {
public:
    VxScrivo() = default;

    // A line marked as error line is one run of the first group whose
    // display name is "Error Line" (any case), or of group 0.
    const std::vector<ColorRun>* GetColourRuns(std::int32_t line) override;

    // An error-line mark changes how the whole line is coloured, so the line
    // is coloured afresh and repainted.
    void SetMark(std::int32_t line, int bit, bool on) override;

protected:
    ~VxScrivo() override = default;
};
