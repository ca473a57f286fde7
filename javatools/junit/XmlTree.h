#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// An XML document read into a plain tree: enough for the reports that test
// tools write (elements, attributes, character data and CDATA sections,
// the five named entities and numeric character references). Comments,
// processing instructions and a document type declaration are skipped;
// namespaces are not resolved, names keep their prefix.
struct XmlElement {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::vector<XmlElement> children;
    // The character data directly inside the element, CDATA included, in
    // document order.
    std::string text;

    // The attribute's value, or empty when it is missing.
    std::string Attribute(std::string_view key) const;
    bool HasAttribute(std::string_view key) const;
    // The first child of that name, or null.
    const XmlElement* Child(std::string_view childName) const;
};

// False with the reason and the byte offset when the text is not
// well-formed enough to read.
bool ParseXml(std::string_view text, XmlElement& root, std::string* error);
