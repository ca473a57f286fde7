#pragma once

// Section and key names of a language configuration in an ini file, shared
// by the reader and the writer.
namespace VxEditIniKeys {

inline constexpr const char* kColorGroups = "ColorGroups";
inline constexpr const char* kNumGroups = "NumGroups";
inline constexpr const char* kGroup = "Group";  // "Group%d"
inline constexpr const char* kDisplayName = "DisplayName";
inline constexpr const char* kConfigurable = "Configurable";
inline constexpr const char* kForeground = "Foreground";
inline constexpr const char* kForeColorAutomatic = "ForeColorAutomatic";
inline constexpr const char* kBackground = "Background";
inline constexpr const char* kBackColorAutomatic = "BackColorAutomatic";

inline constexpr const char* kParser = "Parser";
inline constexpr const char* kNumTags = "NumTags";
// The set keys, indexed as the configuration's character sets.
inline constexpr const char* kSetKeys[5] = {"KWStartChars", "KWMiddleChars", "KWEndChars", "Delimiters", "Operators"};
// The order in which the set keys are read and written.
inline constexpr int kSetOrder[5] = {4, 3, 0, 1, 2};

inline constexpr const char* kTag = "Tag";  // "Tag%d"
inline constexpr const char* kColorGroup = "ColorGroup";
inline constexpr const char* kBeginTag = "BeginTag";
inline constexpr const char* kEndTag = "EndTag";
inline constexpr const char* kEscapeChar = "EscapeChar";
inline constexpr const char* kMultiLine = "MultiLine";

inline constexpr const char* kFont = "Font";
inline constexpr const char* kFaceName = "FaceName";
inline constexpr const char* kSize = "Size";
inline constexpr const char* kItalic = "Italic";
inline constexpr const char* kBold = "Bold";

inline constexpr const char* kKeywords = "Keywords";

inline constexpr const char* kEditor = "Editor";
inline constexpr const char* kTabSize = "TabSize";
inline constexpr const char* kAutoIndent = "AutoIndent";
inline constexpr const char* kShowWhitespace = "ShowWhitespace";
inline constexpr const char* kVirtualWhitespace = "VirtualWhitespace";
inline constexpr const char* kReplaceTabs = "ReplaceTabs";
inline constexpr const char* kMatchCase = "MatchCase";

}  // namespace VxEditIniKeys
