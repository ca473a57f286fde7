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
    void OnLinesEdited(std::int32_t first, std::int32_t last) override;

private:
    // The nearest '<' or '>' before the column, looking on up through
    // earlier lines; 0 when there is none.
    char BracketBefore(std::int32_t line, std::int32_t column);
    // The nearest '<' or '>' at or after the column, looking on down through
    // later lines; 0 when there is none.
    char BracketFrom(std::int32_t line, std::int32_t column);
    bool HasBracket(std::int32_t line);
};
