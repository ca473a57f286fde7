// The CSS step of the document model's colouring scanner: what the "CSS"
// configuration's keywords and tags cannot say. A colour (#rgb, #rrggbb),
// a class or id selector and a number with its unit are one run each.
#include "engine/VxScrivo.h"

#include "language/VxEditLangConfig.h"

#include <cctype>
#include <strings.h>

namespace {

bool IsNameByte(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' ||
           static_cast<unsigned char>(c) >= 0x80;
}

}  // namespace

bool VxScrivo::IsCss() const
{
    const VxEditLangConfig* config = GetLangConfig();
    return config && strcasecmp(config->GetName().c_str(), "CSS") == 0;
}

bool VxScrivo::IsHexColour(const char* text, std::int32_t length)
{
    std::int32_t digits = 0;
    while (digits + 1 < length && std::isxdigit(static_cast<unsigned char>(text[digits + 1])))
        ++digits;
    if (digits + 1 < length && IsNameByte(text[digits + 1]))
        return false;
    return digits == 3 || digits == 4 || digits == 6 || digits == 8;
}

std::int32_t VxScrivo::StyleTokenLength(const char* lineText, const char* token, std::int32_t tokenLength,
                                        std::int32_t bytesLeft, int& group) const
{
    const VxEditLangConfig& config = *GetLangConfig();
    auto named = [&config](const char* name) {
        const int found = config.FindColorGroup(name);
        return found >= 0 ? found : config.GetSpecialColorGroupIndex(IVxEditLangConfig::kTextGroup);
    };
    const bool afterName = token > lineText && IsNameByte(token[-1]);
    const char c = *token;
    const char next = bytesLeft > 1 ? token[1] : 0;
    if (c == '#' && IsHexColour(token, bytesLeft)) {
        group = named("Color");
        return tokenLength > 0 ? tokenLength : 1;
    }
    const bool selectorStart = std::isalpha(static_cast<unsigned char>(next)) || next == '_' || next == '-';
    if ((c == '#' || c == '.') && selectorStart && !afterName) {
        std::int32_t length = 1;
        while (length < bytesLeft && IsNameByte(token[length]))
            ++length;
        group = named("Selector");
        return length;
    }
    const bool signedNumber = (c == '-' || c == '+') && (std::isdigit(static_cast<unsigned char>(next)) || next == '.');
    if (!afterName && (signedNumber || std::isdigit(static_cast<unsigned char>(c)) ||
                       (c == '.' && std::isdigit(static_cast<unsigned char>(next))))) {
        const std::int32_t sign = signedNumber ? 1 : 0;
        std::int32_t length = sign + VxEditJsLexer::NumberLength(token + sign, bytesLeft - sign);
        if (length == sign)
            return 0;
        // The unit: px, em, %, ...
        while (length < bytesLeft && (IsNameByte(token[length]) || token[length] == '%'))
            ++length;
        group = config.GetSpecialColorGroupIndex(IVxEditLangConfig::kNumberGroup);
        return length;
    }
    return 0;
}
