#pragma once

#include "controller/IBuildCommands.h"
#include "controller/VxEditController.h"

#include <functional>
#include <memory>
#include <string>

// The controller of a document's edit view: the engine's controller plus the
// line-number margin, the caret position and overwrite state shown in the
// status panes, the error-line mark that compiler messages lead to, and the
// Build commands, which it hands to the build part of the Java tools.
class CScrivoCtlr : public VxEditController {
public:
    // Receives "Ln %d, Col %d", "Line:%d" and "Col:%d" for the caret.
    using CaretStatusHandler =
        std::function<void(const std::string& lineAndColumn, const std::string& line,
                           const std::string& column)>;
    using OverwriteHandler = std::function<void(bool overwrite)>;

    static constexpr int kLineNumberBase = 1;
    // Numbers have four digits at least ("%04d"), more in longer texts.
    static constexpr int kLineNumberDigits = 4;

    CScrivoCtlr(VxEdit& model, IVxEditView& view, IVxEditClipboard& clipboard);
    ~CScrivoCtlr() override;

    // The target of Compile, Execute and Debug for this window, owned from
    // now on; without one the commands are not handled here.
    void SetBuildCommands(std::unique_ptr<IBuildCommands> build);

    // A compiler reported this line: it gets the error mark, the selection
    // goes, the caret moves to the column (0 for the line's start) and is
    // made visible, and the window repaints.
    void MarkErrorLine(std::int32_t line, std::int32_t column = 0);

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
    int LineNumberDigits() const;

    bool lineNumbers_ = false;
    int marginDigits_ = kLineNumberDigits;
    int wheelRemainder_ = 0;
    std::unique_ptr<IBuildCommands> build_;
    CaretStatusHandler caretStatus_;
    OverwriteHandler overwriteChanged_;
};
