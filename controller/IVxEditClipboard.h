#pragma once

#include <string>

// The clipboard as the controller sees it: text, and whether that text is a
// column block.
class IVxEditClipboard {
public:
    virtual void SetText(const std::string& text, bool column) = 0;
    // Leaves the clipboard empty.
    virtual void Clear() = 0;
    // False when the clipboard holds no text.
    virtual bool GetText(std::string& text, bool& column) const = 0;
    virtual bool HasText() const = 0;

protected:
    virtual ~IVxEditClipboard() = default;
};
