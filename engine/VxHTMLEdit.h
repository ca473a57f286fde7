#pragma once

#include "engine/VxEdit.h"

// The model of HTML text: while its configuration is the one named "HTML",
// the colouring scanner treats only text between angle brackets as markup.
// Whether a token lies between brackets can depend on lines above and below
// it, so an edit also recolours the lines up to the nearest bracket on
// either side.
class VxHTMLEdit : public VxEdit {
public:
    VxHTMLEdit() = default;

    // True while the configuration in use is the "HTML" one (any case).
    bool IsHtmlConfig() const;

protected:
    ~VxHTMLEdit() override = default;

    std::int32_t ScanToken(std::int32_t line, const char* lineText, const char* token, std::int32_t tokenLength,
                           std::int32_t bytesLeft, std::uint16_t& pending, VxEditColourRuns& runs) override;
    // Text outside markup: the whole token, or one delimiter character.
    std::int32_t PlainTokenLength(std::int32_t line, const char* lineText, const char* token,
                                  std::int32_t tokenLength, std::int32_t bytesLeft) override;
    void OnLinesEdited(std::int32_t first, std::int32_t last, const VxEditTextCommand& command) override;

private:
    // The nearest '<' or '>' before the column, looking on up through
    // earlier lines; 0 when there is none.
    char BracketBefore(std::int32_t line, std::int32_t column);
    // The nearest '<' or '>' at or after the column, looking on down through
    // later lines; 0 when there is none.
    char BracketFrom(std::int32_t line, std::int32_t column);
    // The nearest bracket on the lines above line (the last one of the
    // nearest line that has one), or on the lines below it (the first one);
    // 0 when there is none.
    char BracketAbove(std::int32_t line);
    char BracketBelow(std::int32_t line);
    // The last line in [lowest, line) or the first in [line, highest] whose
    // text holds a bracket, with its last or first bracket; searched in the
    // bytes, not line by line.
    bool BracketLineBefore(std::int32_t line, std::int32_t lowest, std::int32_t& found, char& bracket);
    bool BracketLineFrom(std::int32_t line, std::int32_t highest, std::int32_t& found, char& bracket);
    // Whether the edit put in or took out an angle bracket, or a line end
    // that moves one to another line.
    bool ChangedBrackets(const VxEditTextCommand& command);

    // What the last look through the lines found, so that the lines of one
    // stretch without brackets are gone through once, not once per word:
    // lines found+1 .. to-1 (above) or from+1 .. found-1 (below) hold no
    // bracket, and found holds the bracket given (line -1 or past the end
    // with 0 for none). Good while the text's revision stays the same.
    struct BracketAboveMemo {
        std::uint64_t revision = 0;
        std::int32_t found = -1;
        std::int32_t to = -1;
        char bracket = 0;
    };
    struct BracketBelowMemo {
        std::uint64_t revision = 0;
        std::int32_t from = -1;
        std::int32_t found = -1;
        char bracket = 0;
    };
    BracketAboveMemo above_;
    BracketBelowMemo below_;
};
