// Find and replace and the marker commands through the edit controller, as
// the dialogs and keys run them: Replace All stays linear in its matches,
// Mark All costs about a reading of the text, and walking to the next
// breakpoint does not depend on the line count.
#include "bench/BenchFiles.h"
#include "controller/CScrivoCtlr.h"
#include "controller/IVxEditView.h"
#include "controller/VxEditMemoryClipboard.h"
#include "controller/VxEditSearchState.h"
#include "engine/VxEdit.h"
#include "platform/core/MessageSeam.h"
#include "resources/CommandIds.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

using ModelRef = tarrow::foundation::RefPtr<VxEdit>;

// A window of fixed cell metrics that draws nothing.
class BenchView : public IVxEditView {
public:
    int LineHeight() const override { return 16; }
    int CharWidth() const override { return 8; }
    int SpaceWidth() const override { return 8; }
    int TextExtent(const char*, int length) const override { return length * 8; }
    int Fit(const char*, int length, int width, bool) const override { return std::min(length, width / 8); }
    int ClientWidth() const override { return 640; }
    int ClientHeight() const override { return 480; }
    int ScrollX() const override { return x_; }
    int ScrollY() const override { return y_; }
    void ScrollTo(int x, int y) override
    {
        x_ = std::max(x, 0);
        y_ = std::max(y, 0);
    }
    void InvalidateLines(int, int) override {}
    void InvalidateAll() override {}
    void CaretMoved() override {}
    void PostCommand(int) override {}
    void StartTimer(int, int) override {}
    void KillTimer(int) override {}
    int StartDragDistance() const override { return 4; }
    DropEffect DoDragDrop(const std::string&, bool) override { return kDropNone; }

private:
    int x_ = 0;
    int y_ = 0;
};

// A document's model with its controller on a bench view.
struct Editor {
    explicit Editor(const std::string& path) : model(tarrow::foundation::MakeRef<VxEdit>())
    {
        model->NewText();
        if (!model->LoadFile(path))
            std::abort();
        controller = std::make_unique<CScrivoCtlr>(*model, view, clipboard);
    }

    ModelRef model;
    BenchView view;
    VxEditMemoryClipboard clipboard;
    std::unique_ptr<CScrivoCtlr> controller;
};

constexpr const char* kMarkedWord = "checkpoint";

BenchFiles& Files()
{
    static BenchFiles files("find_bench", [](std::size_t line, std::string& text) {
        if (line % 50 == 0)
            text += "    // checkpoint reached\r\n";
    }, "}\r\n");
    return files;
}

// One short word by a longer one; the Java-like lines hold "balance" about
// every 100 bytes.
void BM_ReplaceAllDialog(benchmark::State& state)
{
    quillet::platform::RecordingMessageSink messages;
    VxEditFindDialogValues values;
    values.findText = "balance";
    values.replaceText = "accountBalance";
    values.matchCase = true;
    values.fromFindDialog = false;
    for (auto _ : state) {
        state.PauseTiming();
        auto editor = std::make_unique<Editor>(Files().Path(static_cast<int>(state.range(0))));
        messages.Clear();
        state.ResumeTiming();
        if (editor->controller->OnFindReplaceRequest(VxEditController::kRequestReplaceAll, values) != 1)
            state.SkipWithError("nothing was replaced");
        state.PauseTiming();
        editor.reset();
        state.ResumeTiming();
    }
    state.counters["messages"] = static_cast<double>(messages.Texts().size());
}
BENCHMARK(BM_ReplaceAllDialog)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_MarkAll(benchmark::State& state)
{
    quillet::platform::RecordingMessageSink messages;
    Editor editor(Files().Path(static_cast<int>(state.range(0))));
    VxEditFindDialogValues values;
    values.findText = kMarkedWord;
    values.matchCase = true;
    for (auto _ : state) {
        state.PauseTiming();
        editor.model->ClearMarkEverywhere(VxEdit::kMarkBookmark);
        editor.controller->SetCaret(0, 0);
        state.ResumeTiming();
        if (editor.controller->OnFindReplaceRequest(VxEditController::kRequestMarkAll, values) != 1)
            state.SkipWithError("nothing was marked");
    }
    state.counters["lines"] = editor.model->CountMarkedLines(VxEdit::kMarkBookmark);
}
BENCHMARK(BM_MarkAll)->Arg(100)->Unit(benchmark::kMillisecond);

// Ten breakpoints spread over the text; each step walks to the next one.
void BM_NextMarker(benchmark::State& state)
{
    Editor editor(Files().Path(static_cast<int>(state.range(0))));
    const std::int32_t lines = editor.model->LineCount();
    for (int i = 0; i < 10; ++i)
        editor.model->SetMark(lines / 10 * i + 7, VxEdit::kMarkBreakpoint, true);
    for (auto _ : state)
        editor.controller->OnCommand(cmd::kMarkerNextFirst + VxEdit::kMarkBreakpoint);
    state.counters["lines"] = lines;
}
BENCHMARK(BM_NextMarker)->Arg(100)->Unit(benchmark::kMicrosecond);

void BM_ReadAndCountLines(benchmark::State& state)
{
    RunReadAndCountLines(state, Files().Path(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_ReadAndCountLines)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
