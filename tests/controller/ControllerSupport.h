#pragma once

#include "controller/CScrivoCtlr.h"
#include "controller/IVxEditView.h"
#include "controller/VxEditMemoryClipboard.h"
#include "controller/VxEditTextFit.h"
#include "engine/VxEdit.h"
#include "engine/VxEditTextBuffer.h"
#include "language/VxEditLangConfig.h"
#include "resources/CommandIds.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quillet::test {

// A view of fixed metrics: every character cell 8 pixels wide, lines 16
// pixels high, tabs to the model's tab stops; 40 columns by 20 lines.
class FakeView : public IVxEditView {
public:
    static constexpr int kLineHeight = 16;
    static constexpr int kCharWidth = 8;
    static constexpr int kDragDistance = 4;

    explicit FakeView(VxEdit& model) : model_(model) {}

    int LineHeight() const override { return kLineHeight; }
    int CharWidth() const override { return kCharWidth; }
    int SpaceWidth() const override { return kCharWidth; }
    int TextExtent(const char* text, int length) const override
    {
        return VxEdit::CharToDisplayColIn(text, length, length, model_.TabSize()) * kCharWidth;
    }
    int Fit(const char* text, int length, int width, bool printing) const override
    {
        return VxEditTextFit::Fit(text, length, width, printing, kCharWidth,
                                  [&](int bytes) { return TextExtent(text, bytes); });
    }
    int ClientWidth() const override { return width; }
    int ClientHeight() const override { return height; }
    int ScrollX() const override { return scrollX; }
    int ScrollY() const override { return scrollY; }
    void ScrollTo(int x, int y) override
    {
        scrollX = std::max(x, 0) / kCharWidth * kCharWidth;
        scrollY = std::max(y, 0) / kLineHeight * kLineHeight;
    }
    void InvalidateLines(int, int) override {}
    void InvalidateAll() override {}
    void CaretMoved() override {}
    void PostCommand(int id) override { posted.push_back(id); }
    void StartTimer(int id, int milliseconds) override { timers[id] = milliseconds; }
    void KillTimer(int id) override { timers.erase(id); }
    int StartDragDistance() const override { return kDragDistance; }
    DropEffect DoDragDrop(const std::string& text, bool column) override
    {
        dragged.push_back(text);
        draggedColumn = column;
        return dragResult ? dragResult(text, column) : kDropNone;
    }

    int width = 40 * kCharWidth;
    int height = 20 * kLineHeight;
    int scrollX = 0;
    int scrollY = 0;
    std::deque<int> posted;
    std::map<int, int> timers;
    std::vector<std::string> dragged;
    bool draggedColumn = false;
    // Plays the part of the drop target while a drag runs.
    std::function<DropEffect(const std::string&, bool)> dragResult;

private:
    VxEdit& model_;
};

// A model with a configuration of its own, a fake view, an in-memory
// clipboard and the document controller, driven by command ids.
class ControllerFixture {
public:
    ControllerFixture()
        : model(tarrow::foundation::MakeRef<VxEdit>()),
          config(tarrow::foundation::RefPtr<VxEditLangConfig>::Adopt(new VxEditLangConfig("Test"))),
          view(*model),
          controller(*model, view, clipboard)
    {
        config->SetTabSize(4);
        config->SetCharSet(".,;:(){}[]+-*/=<>!&|\"'", IVxEditLangConfig::kDelimiters, 1);
        model->SetLangConfig(config.Get());
        model->NewText();
    }

    void SetText(const std::string& text)
    {
        model->NewText();
        VxEditLineColPair range(0, 0, 0, 0);
        model->InsertAt(range, text.data(), static_cast<std::int64_t>(text.size()));
        model->ClearHistory();
        controller.SetCaret(0, 0);
    }

    std::string Text() const
    {
        const VxEditTextBuffer& buffer = model->TextBuffer();
        std::string text(static_cast<std::size_t>(buffer.Length()), '\0');
        buffer.CopyOut(text.data(), 0, buffer.Length());
        return text;
    }

    void Press(int id, int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            controller.OnCommand(id);
            RunPosted();
        }
    }
    void Type(const std::string& text)
    {
        controller.TypeText(text);
        RunPosted();
    }
    void RunPosted()
    {
        while (!view.posted.empty()) {
            const int id = view.posted.front();
            view.posted.pop_front();
            controller.OnCommand(id);
        }
    }
    VxEditLineCol Caret() const { return controller.Caret(); }
    VxEditLineColPair SelectionRange() const { return controller.Selection().Normalized(); }

    tarrow::foundation::RefPtr<VxEdit> model;
    tarrow::foundation::RefPtr<VxEditLangConfig> config;
    VxEditMemoryClipboard clipboard;
    FakeView view;
    CScrivoCtlr controller;
};

inline VxEditLineCol At(int line, int column)
{
    return VxEditLineCol(line, column);
}

}  // namespace quillet::test

// Readable positions in failure messages.
inline std::ostream& operator<<(std::ostream& out, const VxEditLineCol& position)
{
    return out << "(" << position.line << ", " << position.column << ")";
}
inline std::ostream& operator<<(std::ostream& out, const VxEditLineColPair& range)
{
    return out << range.start << "-" << range.end;
}
