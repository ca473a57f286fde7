// Speed of the text engine on large texts: loading, typing anywhere, long
// runs of forward edits, and searching, against reading the same file and
// counting its lines.
#include "bench/BenchFiles.h"
#include "engine/VxEdit.h"
#include "engine/VxEditUtf16Index.h"
#include "engine/VxEditCompositeGuard.h"
#include "engine/VxEditFindRequest.h"
#include "engine/VxEditRecoveryJournal.h"
#include "engine/VxEditTextBuffer.h"
#include "platform/core/MessageSeam.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using ModelRef = tarrow::foundation::RefPtr<VxEdit>;

constexpr const char* kLastLineWord = "zebraQuokkaMarker";

// About 35 bytes a line, with a word on its last line that occurs nowhere else.
BenchFiles& Files()
{
    static BenchFiles files("engine_bench", {},
                            std::string("    // end ") + kLastLineWord + "\r\n}");
    return files;
}

ModelRef LoadedModel(int megabytes)
{
    auto model = tarrow::foundation::MakeRef<VxEdit>();
    model->NewText();
    if (!model->LoadFile(Files().Path(megabytes)))
        std::abort();
    return model;
}

long StatusKilobytes(const char* field)
{
    std::FILE* status = std::fopen("/proc/self/status", "r");
    char line[256];
    long value = 0;
    while (status && std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, field, std::strlen(field)) == 0)
            value = std::strtol(line + std::strlen(field), nullptr, 10);
    }
    if (status)
        std::fclose(status);
    return value;
}

void ResetPeakMemory()
{
    const int descriptor = open("/proc/self/clear_refs", O_WRONLY);
    if (descriptor >= 0) {
        (void)!write(descriptor, "5", 1);
        close(descriptor);
    }
}

void BM_LoadFile(benchmark::State& state)
{
    const int megabytes = static_cast<int>(state.range(0));
    const std::string& path = Files().Path(megabytes);
    auto model = tarrow::foundation::MakeRef<VxEdit>();
    model->NewText();
    for (auto _ : state) {
        if (!model->LoadFile(path))
            state.SkipWithError("load failed");
    }
    // Peak memory of one load, from an empty model.
    model->NewText();
    ResetPeakMemory();
    const long before = StatusKilobytes("VmRSS:");
    model->LoadFile(path);
    const long peak = StatusKilobytes("VmHWM:");
    const double bytes = static_cast<double>(model->TextBuffer().Length());
    const double lines = model->LineCount();
    const double used = (peak - before) * 1024.0;
    state.counters["peak_bytes_per_text_byte"] = used / bytes;
    state.counters["peak_over_budget"] = used / (1.5 * bytes + 48.0 * lines);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_LoadFile)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);

// What a screen reader asks at the end of a 100 MB text: the caret's
// offset, the position of an offset, and the offset again after a key typed
// there (which recounts one block of lines). The index is built before.
void BM_AccessibleOffsets(benchmark::State& state)
{
    const std::string& path = Files().Path(100);
    auto model = tarrow::foundation::MakeRef<VxEdit>();
    model->NewText();
    if (!model->LoadFile(path)) {
        state.SkipWithError("load failed");
        return;
    }
    VxEditUtf16Index index(*model);
    model->Attach(&index);
    const std::int32_t last = model->LastLine();
    const std::int64_t total = index.Units();
    const int kind = static_cast<int>(state.range(0));
    for (auto _ : state) {
        if (kind == 0) {
            benchmark::DoNotOptimize(index.OffsetOf(VxEditLineCol(last, model->LineLength(last))));
        } else if (kind == 1) {
            benchmark::DoNotOptimize(index.PositionAt(total));
        } else {
            state.PauseTiming();
            model->InsertAtLineCol(last, 0, "x", 1);
            state.ResumeTiming();
            benchmark::DoNotOptimize(index.OffsetOf(VxEditLineCol(last, 1)));
        }
    }
    model->Detach(&index);
}
BENCHMARK(BM_AccessibleOffsets)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// 1000 keystrokes at the start, middle or end of the text; every batch on a
// fresh line so that no line grows past the length limit.
void BM_TypeAtLine(benchmark::State& state)
{
    auto model = LoadedModel(static_cast<int>(state.range(0)));
    const int percent = static_cast<int>(state.range(1));
    const std::int32_t last = model->LastLine() - 1;
    const std::int32_t target = static_cast<std::int32_t>(static_cast<std::int64_t>(last) * percent / 100);
    // Once per text, not per keystroke: the first edit near a place moves the
    // store's gap there and gives the per-line arrays their memory.
    model->InsertAtLineCol(target, 0, "x", 1);
    model->Undo();
    std::int32_t batch = 0;
    for (auto _ : state) {
        std::int32_t line = percent >= 50 ? target - batch : target + batch;
        line = std::clamp(line, 0, last);
        ++batch;
        for (int i = 0; i < 1000; ++i)
            model->InsertAtLineCol(line, i, "x", 1);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 1000);
}
BENCHMARK(BM_TypeAtLine)->Args({100, 0})->Args({100, 50})->Args({100, 100})->Args({1, 50})
    ->Unit(benchmark::kMicrosecond);

// BM_TypeAtLine/100/50 with a recovery record kept: every keystroke is
// journalled, and the record is written as the editor's one-second timer
// would while someone types fast, once every 20 keystrokes.
void BM_TypeWithRecovery(benchmark::State& state)
{
    const int megabytes = static_cast<int>(state.range(0));
    auto model = LoadedModel(megabytes);
    const char* temporary = std::getenv("TMPDIR");
    const std::string journalPath =
        std::string(temporary && *temporary ? temporary : "/tmp") + "/quillet-bench-" + std::to_string(getpid()) + ".journal";
    VxEditRecoveryJournal journal(*model, journalPath);
    journal.Restart(Files().Path(megabytes), "bench", VxEditFileStamp::Of(Files().Path(megabytes)));
    const std::int32_t last = model->LastLine() - 1;
    const std::int32_t target = last / 2;
    model->InsertAtLineCol(target, 0, "x", 1);
    model->Undo();
    journal.Flush();
    std::int32_t batch = 0;
    for (auto _ : state) {
        const std::int32_t line = std::clamp(target - batch, 0, last);
        ++batch;
        for (int i = 0; i < 1000; ++i) {
            model->InsertAtLineCol(line, i, "x", 1);
            if (i % 20 == 19 && !journal.Flush())
                state.SkipWithError("the record could not be written");
        }
    }
    const std::streamoff recordBytes =
        journal.Flush() ? std::streamoff(std::ifstream(journalPath, std::ios::ate | std::ios::binary).tellg()) : 0;
    state.counters["record_bytes"] = static_cast<double>(recordBytes);
    journal.Remove();
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 1000);
}
BENCHMARK(BM_TypeWithRecovery)->Arg(100)->Unit(benchmark::kMicrosecond);

// Replace All's pattern: at every 100th byte one byte out, two in, all in
// one undo step.
void BM_ForwardEdits(benchmark::State& state)
{
    const int megabytes = static_cast<int>(state.range(0));
    std::int64_t edits = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto model = LoadedModel(megabytes);
        state.ResumeTiming();
        VxEditTextBuffer& buffer = model->TextBuffer();
        {
            VxEditCompositeGuard group(*model);
            for (std::int64_t offset = 0; offset < buffer.Length(); offset += 101) {
                const char byte = buffer.CharAt(offset);
                if (byte == '\r' || byte == '\n')
                    continue;
                const VxEditLineCol at = buffer.PositionOf(offset);
                model->DeleteRange(at.line, at.column, at.line, at.column + 1);
                model->InsertAtLineCol(at.line, at.column, "ab", 2);
                ++edits;
            }
        }
        state.PauseTiming();
        model.Reset();
        state.ResumeTiming();
    }
    state.counters["edits"] = benchmark::Counter(static_cast<double>(edits), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ForwardEdits)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void RunFind(benchmark::State& state, bool pattern)
{
    auto model = LoadedModel(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        VxEditFindRequest request;
        request.start = VxEditLineCol(0, 0);
        request.text = pattern ? "zebra[A-Z]\\w+Marker" : kLastLineWord;
        request.matchCase = true;
        request.pattern = pattern;
        const std::int64_t length = model->Find(request);
        if (length == 0 || request.match.line != model->LastLine() - 1)
            state.SkipWithError("the word was not found on the last line");
        benchmark::DoNotOptimize(length);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * model->TextBuffer().Length());
}

void BM_FindPlain(benchmark::State& state)
{
    RunFind(state, false);
}
BENCHMARK(BM_FindPlain)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_FindPattern(benchmark::State& state)
{
    RunFind(state, true);
}
BENCHMARK(BM_FindPattern)->Arg(100)->Unit(benchmark::kMillisecond);

// The floor for loading: reading the file and counting its line feeds.
// Find, replace, find on: the loop of a replace-all. Each search starts
// just after the last edit, so the whole loop stays linear in the text.
void RunReplaceLoop(benchmark::State& state, bool pattern)
{
    std::int64_t replaced = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto model = LoadedModel(static_cast<int>(state.range(0)));
        state.ResumeTiming();
        VxEditLineCol from(0, 0);
        for (;;) {
            VxEditFindRequest request;
            request.start = from;
            request.end = VxEditLineCol(model->LastLine() + 1, 0);
            request.text = pattern ? "bal[a-z]nce" : "balance";
            request.matchCase = true;
            request.pattern = pattern;
            const std::int64_t length = model->Find(request);
            if (length == 0)
                break;
            const VxEditLineCol at = request.match;
            model->DeleteRange(at.line, at.column, at.line, at.column + static_cast<std::int32_t>(length));
            model->InsertAtLineCol(at.line, at.column, "funds", 5);
            from = VxEditLineCol(at.line, at.column + 5);
            ++replaced;
        }
        state.PauseTiming();
        model.Reset();
        state.ResumeTiming();
    }
    state.counters["replaced"] =
        benchmark::Counter(static_cast<double>(replaced), benchmark::Counter::kAvgIterations);
}

void BM_ReplaceLoopPlain(benchmark::State& state)
{
    RunReplaceLoop(state, false);
}
BENCHMARK(BM_ReplaceLoopPlain)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_ReplaceLoopPattern(benchmark::State& state)
{
    RunReplaceLoop(state, true);
}
BENCHMARK(BM_ReplaceLoopPattern)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// Saving a loaded document through the save the File menu uses: a mirror
// file beside the target, written, flushed to the disk and renamed over it.
void BM_SaveFile(benchmark::State& state)
{
    const int megabytes = static_cast<int>(state.range(0));
    auto model = LoadedModel(megabytes);
    const std::string target = Files().Path(megabytes) + ".saved";
    for (auto _ : state) {
        if (model->SaveFile(target) != 1)
            state.SkipWithError("save failed");
    }
    std::remove(target.c_str());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * model->TextBuffer().Length());
}
BENCHMARK(BM_SaveFile)->Arg(100)->Unit(benchmark::kMillisecond);

// The yardstick of BM_SaveFile: the same bytes from one piece of memory,
// written with one write loop to a temporary file in the same folder and
// renamed over the target; with the flush to the disk that any save which
// survives a crash needs, or without it.
void RunWriteAndRename(benchmark::State& state, bool flush)
{
    const int megabytes = static_cast<int>(state.range(0));
    std::string bytes;
    {
        std::ifstream in(Files().Path(megabytes), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const std::string target = Files().Path(megabytes) + ".written";
    const std::string temporary = target + ".tmp";
    for (auto _ : state) {
        const int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        bool ok = descriptor >= 0;
        for (std::size_t done = 0; ok && done < bytes.size();) {
            const ssize_t count = write(descriptor, bytes.data() + done, bytes.size() - done);
            ok = count > 0;
            done += ok ? static_cast<std::size_t>(count) : 0;
        }
        ok = ok && (!flush || fsync(descriptor) == 0);
        ok = descriptor >= 0 && close(descriptor) == 0 && ok;
        if (!ok || rename(temporary.c_str(), target.c_str()) != 0)
            state.SkipWithError("write failed");
    }
    std::remove(target.c_str());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes.size()));
}

void BM_WriteAndRename(benchmark::State& state)
{
    RunWriteAndRename(state, true);
}
BENCHMARK(BM_WriteAndRename)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_WriteAndRenameUnflushed(benchmark::State& state)
{
    RunWriteAndRename(state, false);
}
BENCHMARK(BM_WriteAndRenameUnflushed)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_ReadAndCountLines(benchmark::State& state)
{
    RunReadAndCountLines(state, Files().Path(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_ReadAndCountLines)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    // Loading reports problems through the message seam; nothing should show.
    quillet::platform::RecordingMessageSink messages;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return messages.Messages().empty() ? 0 : 1;
}
