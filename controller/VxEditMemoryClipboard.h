#pragma once

#include "controller/IVxEditClipboard.h"

#include <optional>

// A clipboard that lives in the process: for controllers without a window
// system, and for tests.
class VxEditMemoryClipboard : public IVxEditClipboard {
public:
    void SetText(const std::string& text, bool column) override
    {
        text_ = text;
        column_ = column;
    }
    void Clear() override
    {
        text_.reset();
        column_ = false;
    }
    bool GetText(std::string& text, bool& column) const override
    {
        if (!text_)
            return false;
        text = *text_;
        column = column_;
        return true;
    }
    bool HasText() const override { return text_.has_value(); }

private:
    std::optional<std::string> text_;
    bool column_ = false;
};
