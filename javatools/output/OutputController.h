#pragma once

#include "controller/CScrivoCtlr.h"

#include <functional>
#include <string>

// The controller of the output window: a read-only edit controller (caret
// moves, selection, Copy and Select All work; typing and editing keys do
// nothing) with Clear, and a double-click that leads from a compiler
// message to the line it reports.
class OutputController : public CScrivoCtlr {
public:
    // file is as the message names it (may be relative), line 0-based,
    // column the caret column from javac's caret line or -1.
    using ErrorLineHandler =
        std::function<void(const std::string& file, std::int32_t line, std::int32_t column)>;

    OutputController(VxEdit& model, IVxEditView& view, IVxEditClipboard& clipboard);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, tarrow::foundation::CommandState& state) override;

    void SetErrorLineHandler(ErrorLineHandler handler) { errorLine_ = std::move(handler); }

    // Replaces the whole text, read-only or not, and puts the caret at the top.
    void SetText(const std::string& text);
    // Removes all text, with redraw locked meanwhile.
    void Clear();
    // After the base double-click: the caret line's compiler message, if it
    // is one, goes to the handler.
    void OnDoubleClicked();
    // F4 and Shift+F4: the next (step 1) or previous (-1) compiler message
    // from the caret's line, wrapping at the ends, is selected and goes to
    // the handler as a double-click does; false when there is none.
    bool StepToMessage(int step);

private:
    std::string LineString(std::int32_t line);

    ErrorLineHandler errorLine_;
};
