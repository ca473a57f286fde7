#include "resources/generator/HtmlLangConfigSource.h"

#include "language/VxEditLangConfig.h"

#include <cstdint>
#include <string>

namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kGreen = 0x008000;
constexpr std::uint32_t kGrey = 0x808080;

const char* const kElements[] = {
    "A", "ABBREV", "ACRONYM", "ADDRESS", "APPLET", "AREA", "AU", "AUTHOR", "B", "BANNER", "BASE", "BASEFONT",
    "BGSOUND", "BIG", "BIGGIE FRIES", "BLINK", "BLOCKQUOTE", "BODY", "BQ", "BR", "CAPTION", "CENTER", "CITE",
    "CODE", "COL", "COLGROUP", "CREDIT", "DD", "DEL", "DFN", "DIR", "DIV", "DL", "DT", "EM", "EMBED", "FIG", "FN",
    "FONT", "FORM", "FRAME", "FRAMESET", "H1", "H2", "H3", "H4", "H5", "H6", "HEAD", "HR", "HTML", "I", "IFRAME",
    "IMG", "INPUT", "INS", "ISINDEX", "KBD", "LANG", "LH", "LI", "LINK", "LISTING", "MAP", "MARQUEE", "MATH",
    "MENU", "META", "MULTICOL", "NOBR", "NOFRAMES", "NOTE", "OBJECT", "OL", "OPTION", "OVERLAY", "P", "PARAM",
    "PERSON", "PLAINTEXT", "PRE", "Q", "RANGE", "SAMP", "SCRIPT", "SELECT", "SMALL", "SPACER", "SPOT", "STRIKE",
    "STRONG", "SUB", "SUP", "TAB", "TABLE", "TBODY", "TD", "TEXTAREA", "TEXTFLOW", "TFOOT", "TH", "THEAD",
    "TITLE", "TR", "TT", "U", "UL", "VAR", "WBR", "XMP",
};

const char* const kAttributes[] = {
    "abbr", "accept", "accept-charset", "accesskey", "action", "align", "alink", "alt", "archive", "axis",
    "background", "bgproperties", "border", "cellpadding", "cellspacing", "char", "charoff", "charset", "checked",
    "cite", "class", "classid", "codebase", "codetype", "color", "cols", "colspan", "content", "coords", "data",
    "datetime", "declare", "defer", "dir", "disabled", "enctype", "for", "frame", "frameborder", "headers",
    "height", "href", "hreflang", "http-equiv", "id", "ismap", "label", "lang", "language", "leftmargin", "link",
    "longdesc", "marginheight", "marginwidth", "maxlength", "media", "method", "multiple", "name", "nohref",
    "noresize", "onblur", "onchange", "onclick", "ondblclick", "onfocus", "onkeydown", "onkeypress", "onkeyup",
    "onload", "onmousedown", "onmousemove", "onmouseout", "onmouseover", "onmouseup", "onreset", "onselect",
    "onsubmit", "onunload", "profile", "readonly", "rel", "rev", "rows", "rowspan", "rules", "scheme", "scope",
    "scrolling", "selected", "shape", "size", "span", "src", "standby", "style", "summary", "tabindex", "target",
    "text", "topmargin", "type", "usemap", "valign", "value", "valuetype", "vlink", "width",
};

VxEditColorGroup Group(const char* displayName, std::uint32_t foreground, std::uint32_t background,
                       int foreAutomatic, int backAutomatic)
{
    VxEditColorGroup group;
    group.Foreground = foreground;
    group.Background = background;
    group.ForeColorAutomatic = foreAutomatic;
    group.BackColorAutomatic = backAutomatic;
    group.DisplayName = displayName;
    group.Configurable = 1;
    return group;
}

VxEditLangTag Tag(const char* begin, const char* end, int group)
{
    return VxEditLangTag{std::string(begin), std::string(end), std::string(), group, 1};
}

}  // namespace

void BuildHtmlLangConfig(VxEditLangConfig& config)
{
    config.ResetDefaults();

    // The first four are the special groups and keep indices 0 to 3; the
    // angle brackets are operators, shown as "Tag Delimiter".
    config.PutColorGroup("Text", Group("Text", kBlack, kWhite, 1, 1));
    config.PutColorGroup("Text Selection", Group("Text Selection", kWhite, kBlack, 1, 1));
    config.PutColorGroup("Number", Group("Number", kBlack, kWhite, 1, 1));
    config.PutColorGroup("Operator", Group("Tag Delimiter", kBlue, kWhite, 0, 1));
    const int comment = config.PutColorGroup("Comment", Group("Comment", kGreen, kWhite, 0, 1));
    const int element = config.PutColorGroup("Element", Group("Element", kBlue, kWhite, 0, 1));
    const int string = config.PutColorGroup("String", Group("String", kGrey, kWhite, 0, 1));
    const int attribute = config.PutColorGroup("Attribute Name", Group("Attribute Name", kBlue, kWhite, 0, 1));

    config.AddTag(Tag("\"", "\"", string));
    config.AddTag(Tag("<COMMENT>", "</COMMENT>", comment));
    config.AddTag(Tag("<!-", "->", comment));

    config.SetMatchCase(0);
    config.SetShowWhitespace(0);
    config.SetReplaceTabs(0);
    config.SetVirtualWhitespace(0);
    config.SetTabSize(4);
    config.SetAutoIndent(0);
    config.SetFaceName("Andale Mono");
    config.SetSize(10);
    config.SetItalic(0);
    config.SetBold(0);

    config.SetCharSet("", VxEditLangConfig::kKWStartChars, 1);
    config.SetCharSet("!-123", VxEditLangConfig::kKWMiddleChars, 1);
    config.SetCharSet("123", VxEditLangConfig::kKWEndChars, 1);
    config.SetCharSet("!\"#$%&'()*+,-/:;<=>?@[\\]^`{|}~", VxEditLangConfig::kDelimiters, 1);
    config.SetCharSet("/<>", VxEditLangConfig::kOperators, 1);

    for (const char* name : kElements)
        config.SetKeyword(name, element);
    for (const char* name : kAttributes)
        config.SetKeyword(name, attribute);
}
