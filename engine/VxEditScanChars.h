#pragma once

#include "engine/ColorRun.h"
#include "engine/VxEditUtf8.h"
#include "language/VxEditLangConfig.h"

#include <cstdint>
#include <string_view>
#include <strings.h>

// How the colouring scanner reads the characters of a line: whole UTF-8
// characters, classified by the configuration's sets, which are keyed by
// code point up to 0xFFFF (a byte that starts no valid sequence by itself).
class VxEditScanChars {
public:
    // No set holds this code: characters beyond 0xFFFF are word characters.
    static constexpr unsigned kNoCode = 0xFFFFFFFFu;

    explicit VxEditScanChars(const VxEditLangConfig& config) : config_(config) {}

    static std::int32_t Length(const char* text, std::int32_t left)
    {
        return left > 0 ? VxEditUtf8::CharLength(text, static_cast<std::size_t>(left)) : 0;
    }

    static unsigned Code(const char* text, std::int32_t left)
    {
        int length = 1;
        const std::uint32_t code = VxEditUtf8::Decode(text, static_cast<std::size_t>(left), &length);
        return code < 0x10000u ? code : kNoCode;
    }

    static bool IsWhite(char c) { return c == ' ' || c == '\t'; }

    bool InSet(const char* text, std::int32_t left, int set) const
    {
        const unsigned code = Code(text, left);
        return code != kNoCode && config_.IsInCharSet(code, set) != 0;
    }

    bool IsDelimiter(const char* text, std::int32_t left) const
    {
        return InSet(text, left, IVxEditLangConfig::kDelimiters);
    }

    // Neither white nor a delimiter.
    bool IsWordChar(const char* text, std::int32_t left) const
    {
        return !IsWhite(*text) && !IsDelimiter(text, left);
    }

    // The column just past the character that holds byte column (column
    // itself when a character starts there).
    static std::int32_t SnapToCharEnd(const char* text, std::int32_t length, std::int32_t column)
    {
        if (column <= 0 || column >= length)
            return column;
        const auto start = static_cast<std::int32_t>(
            VxEditUtf8::CharStart(text, static_cast<std::size_t>(length), static_cast<std::size_t>(column)));
        return start == column ? column : start + Length(text + start, length - start);
    }

    // Appends a run, in pieces when it is longer than a run can say.
    static void AppendRun(VxEditColourRuns& runs, std::int32_t length, int group)
    {
        while (length > 0xFFFF) {
            runs.push_back(MakeColorRun(0xFFFF, group));
            length -= 0xFFFF;
        }
        if (length > 0)
            runs.push_back(MakeColorRun(static_cast<std::uint32_t>(length), group));
    }

    // Makes the runs one colour for the whole line, however long it is.
    static void AssignWholeLine(VxEditColourRuns& runs, std::int32_t length, int group)
    {
        runs.clear();
        AppendRun(runs, length, group);
        if (runs.empty())
            runs.push_back(MakeColorRun(0, group));
    }

    // The first colour group whose display name is the name, in any case,
    // or -1.
    static int GroupByDisplayName(const VxEditLangConfig& config, std::string_view name)
    {
        const int count = config.GetColorGroupCount();
        for (int group = 0; group < count; ++group) {
            const VxEditColorGroup* found = config.GetColorGroup(group);
            if (found && found->DisplayName.size() == name.size() &&
                strncasecmp(found->DisplayName.c_str(), name.data(), name.size()) == 0)
                return group;
        }
        return -1;
    }

private:
    const VxEditLangConfig& config_;
};
