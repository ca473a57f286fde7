#pragma once

#include "controller/VxEditController.h"

#include <functional>
#include <string>

// The controller of a document's edit view: the engine's controller plus the
// line-number margin and the caret position and overwrite state shown in the
// status panes.
class CScrivoCtlr : public VxEditController {
public:
    // Receives "Ln %d, Col %d", "Line:%d" and "Col:%d" for the caret.
    using CaretStatusHandler =
        std::function<void(const std::string& lineAndColumn, const std::string& line,
                           const std::string& column)>;
    using OverwriteHandler = std::function<void(bool overwrite)>;

    static constexpr int kLineNumberBase = 1;
    static constexpr int kLineNumberDigits = 5;

    CScrivoCtlr(VxEdit& model, IVxEditView& view, IVxEditClipboard& clipboard);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, tarrow::foundation::CommandState& state) override;

    // The wheel scrolls two lines per notch of 120, upwards for a positive
    // delta; finer wheels add up to whole notches.
    static constexpr int kWheelNotch = 120;
    static constexpr int kLinesPerNotch = 2;
    void OnMouseWheel(int delta);

    bool LineNumbersShown() const { return lineNumbers_; }
    void ShowLineNumbers(bool show);
    int MarginWidth() const override;

    std::string LineAndColumnText() const;
    std::string LineText() const;
    std::string ColumnText() const;

    void SetCaretStatusHandler(CaretStatusHandler handler) { caretStatus_ = std::move(handler); }
    void SetOverwriteHandler(OverwriteHandler handler) { overwriteChanged_ = std::move(handler); }

protected:
    void OnCaretChanged() override;
    void OnOverwriteChanged() override;

private:
    bool lineNumbers_ = false;
    int wheelRemainder_ = 0;
    CaretStatusHandler caretStatus_;
    OverwriteHandler overwriteChanged_;
};
