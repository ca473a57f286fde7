#pragma once

#include "engine/VxHTMLEdit.h"
#include "engine/VxScrivoDeclaration.h"
#include "engine/VxScrivoMember.h"
#include "language/VxEditLangTag.h"

#include <vector>

// The model every document holds: Java and HTML colouring, Java text blocks,
// and lines marked as error lines shown wholly in the "Error Line" colour
// group.
class VxScrivo : public VxHTMLEdit {
public:
    VxScrivo() = default;

    // A line marked as error line (by Compile or by the check on save) is
    // one run of the first group whose display name is "Error Line" (any
    // case), or of group 0.
    const std::vector<ColorRun>* GetColourRuns(std::int32_t line) override;
    bool IsErrorLine(std::int32_t line) const
    {
        return TestMark(line, kMarkErrorLine) || TestMark(line, kMarkCheckedLine);
    }

    // An error-line mark changes how the whole line is coloured, so the line
    // is coloured afresh and repainted.
    void SetMark(std::int32_t line, int bit, bool on) override;

    // The declarations of the text as the class view last listed them:
    // classes, enums and records in text order, then the interfaces. Built
    // on request by the class view's scan, never on an edit.
    std::vector<VxScrivoDeclaration>& Declarations() { return declarations_; }
    const std::vector<VxScrivoDeclaration>& Declarations() const { return declarations_; }
    // The types with their constructors, methods and fields, nested as in
    // the text; built by the same scan as the declarations.
    std::vector<VxScrivoMember>& Outline() { return outline_; }
    const std::vector<VxScrivoMember>& Outline() const { return outline_; }

protected:
    ~VxScrivo() override = default;

    // In Java a text block, """ to """ across lines, is one string: a
    // multi-line tag of the model's own, in the colour group and with the
    // escape character of the configuration's string tag, chosen over the
    // string tag where three quotes stand.
    const VxEditLangTag* FindScanTag(const char* text, int length, int tokenLength, int kind) override;
    void ListScanTags(std::vector<const VxEditLangTag*>& tags, int kind) override;
    // Escapes count in a text block too.
    bool HonoursEscape(const VxEditLangTag& tag) const override;

private:
    const VxEditLangTag* TextBlockTag();

    VxEditLangTag textBlock_;
    std::vector<VxScrivoDeclaration> declarations_;
    std::vector<VxScrivoMember> outline_;
};
