#pragma once

#include <string>

// Section and value names of a language configuration in the settings
// profile, shared by the reader and the writer. Sections are formed from a
// base that ends in a backslash.
namespace VxEditRegKeys {

inline constexpr const char* kEditor = "Editor";
inline constexpr const char* kTabSize = "TabSize";
inline constexpr const char* kAutoIndent = "AutoIndent";
inline constexpr const char* kShowWhitespace = "ShowWhitespace";
inline constexpr const char* kVirtualWhitespace = "VirtualWhitespace";
inline constexpr const char* kReplaceTabs = "ReplaceTabs";
inline constexpr const char* kMatchCase = "MatchCase";

inline constexpr const char* kColorGroups = "Color Groups\\";
inline constexpr const char* kBackColorAutomatic = "BackColorAutomatic";
inline constexpr const char* kForeColorAutomatic = "ForeColorAutomatic";
inline constexpr const char* kBackground = "Background";
inline constexpr const char* kForeground = "Foreground";
inline constexpr const char* kDisplayName = "DisplayName";
inline constexpr const char* kConfigurable = "Configurable";

inline constexpr const char* kFont = "Font";
inline constexpr const char* kFaceName = "Facename";  // a small n, unlike the ini key
inline constexpr const char* kSize = "Size";
inline constexpr const char* kBold = "Bold";
inline constexpr const char* kItalic = "Italic";

// The base with a backslash appended when it does not end in one.
inline std::string SectionBase(std::string base)
{
    if (base.empty() || base.back() != '\\')
        base += '\\';
    return base;
}

}  // namespace VxEditRegKeys
