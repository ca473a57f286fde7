#pragma once

#include "engine/VxEditJsLexer.h"
#include "engine/VxHTMLEdit.h"
#include "engine/VxScrivoDeclaration.h"
#include "engine/VxScrivoMember.h"
#include "language/VxEditLangTag.h"

#include <string>
#include <vector>

// The model every document holds: Java, JavaScript and HTML colouring, Java
// text blocks, the JavaScript steps the configuration cannot express
// (VxScrivoScript.cpp), and lines marked as error lines shown wholly in the "Error Line" colour
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

    // In JavaScript a regular-expression literal where one may start, and a
    // number with its fraction and exponent, are one run each; a template
    // literal is a multi-line tag of the model's own that ends at the
    // backquote closing it, past nested substitutions and templates, and
    // whose substitutions are coloured as code on every line; a
    // documentation comment (/** */) is one too, in its own group.
    std::int32_t ScanToken(std::int32_t line, const char* lineText, const char* token, std::int32_t tokenLength,
                           std::int32_t bytesLeft, std::uint16_t& pending, VxEditColourRuns& runs) override;
    VxEditLineCol FindTagEnd(const VxEditLineCol& start, const VxEditLangTag& tag) override;
    std::int32_t ScanMultiLineTag(std::int32_t line, std::int32_t column, std::int32_t bytesLeft,
                                  VxEditColourRuns& runs, const VxEditLangTag& tag) override;

private:
    const VxEditLangTag* TextBlockTag();

    // JavaScript (VxScrivoScript.cpp).
    bool IsJavaScript() const;
    const VxEditLangTag* ScriptTag(const char* text, int length, int tokenLength);
    void ListScriptTags(std::vector<const VxEditLangTag*>& tags);
    int ScriptGroup(VxEditJsLexer::Kind kind) const;
    std::string CodeLineAbove(std::int32_t line);
    // How code is coloured: words cut and keywords found by the words
    // configuration, each keyword group mapped to a group of the model's
    // configuration (-1: the text group); operators and #rrggbb colours
    // only where those groups are given (not -1).
    struct CodeColours {
        const VxEditLangConfig* words = nullptr;
        std::vector<int> keywordGroups;
        int operatorGroup = -1;
        int colourGroup = -1;
    };
    CodeColours OwnCodeColours() const;
    // Colours code as the line scanner does: keywords, numbers, operators.
    void AppendCode(const char* text, std::int32_t length, VxEditColourRuns& runs, const CodeColours& colours);
    void AppendPieces(const char* lineText, const std::vector<VxEditJsLexer::Piece>& pieces,
                      VxEditColourRuns& runs, const CodeColours& colours);
    // Replaces the one-colour runs a line inside a template literal's span
    // got from the span by runs that show its substitutions as code.
    void DetailTemplateLine(std::int32_t line);

    // CSS (VxScrivoStyle.cpp): a #rgb or #rrggbb colour and a class or id
    // selector are one run each.
    bool IsCss() const;
    // Whether text[0] ('#') starts a colour of 3, 4, 6 or 8 hex digits.
    static bool IsHexColour(const char* text, std::int32_t length);
    std::int32_t StyleTokenLength(const char* lineText, const char* token, std::int32_t tokenLength,
                                  std::int32_t bytesLeft, int& group) const;

    // Script and style elements of an HTML page (VxScrivoElements.cpp): each
    // is a multi-line tag of the model's own from "<script" or "<style" to
    // the end tag, whose body is coloured as JavaScript or CSS in the page's
    // own colour groups. An end tag inside a string of the script ends it,
    // as in a browser.
    const VxEditLangTag* ElementTag(const char* text, int length);
    void ListElementTags(std::vector<const VxEditLangTag*>& tags);
    bool IsElementTag(const VxEditLangTag& tag) const;
    // The colours of the body of a script (css false) or style element.
    CodeColours BodyColours(bool css) const;
    // The runs of [from, to) of a line of the element whose span starts at
    // spanStart; lexes from the span's start or from where the memo stands.
    void AppendElementPart(std::int32_t line, const char* text, std::int32_t from, std::int32_t to,
                           const VxEditMLComment& span, VxEditColourRuns& runs);
    void DetailElementLine(std::int32_t line);

    VxEditLangTag templateTag_;
    VxEditLangTag docCommentTag_;
    // <script, <style, and the same in capitals for scanning ahead.
    VxEditLangTag elementTags_[4];
    // Where the last template line detailed left the lexer, so that the
    // lines of a long template painted in order are lexed once.
    struct TemplateMemo {
        std::uint64_t revision = 0;
        VxEditLineCol spanStart;
        std::int32_t nextLine = -1;
        VxEditJsLexer::State state;
        std::string previousLine;
        // Elements only: 0 in the start tag, 1 in the body, 2 in the end
        // tag; the quote of an attribute value open at the line's start.
        int phase = 0;
        char quote = 0;
    };
    TemplateMemo templateMemo_;
    TemplateMemo elementMemo_;

    VxEditLangTag textBlock_;
    std::vector<VxScrivoDeclaration> declarations_;
    std::vector<VxScrivoMember> outline_;
};
