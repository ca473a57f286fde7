// Colouring the last screen of a large Java text, as a view scrolled to the
// end asks for it, against searching the same text for the BeginTag of its
// block comments: scanning ahead looks only for BeginTags, so the first must
// stay within a small factor of the second.
#include "bench/BenchFiles.h"
#include "bench/BenchModel.h"
#include "engine/VxEditTextBuffer.h"
#include "engine/VxScrivo.h"
#include "language/VxEditIniConfigReader.h"
#include "language/VxEditResConfigReader.h"
#include "language/VxEditLangConfigRegistry.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>

namespace {

constexpr int kScreenLines = 60;

// About 35 bytes a line, with a block comment every 300 lines and a string
// holding "/*" every 1,000 lines.
BenchFiles& Files()
{
    static BenchFiles files(
        "colour_bench",
        [](std::size_t line, std::string& text) {
            if (line % 300 == 0)
                text += "    /**\r\n     * Deposits money.\r\n     * @param amount what to add\r\n     */\r\n";
            if (line % 1000 == 500)
                text += "        String pattern = \"/*\"; // not a comment\r\n";
        },
        "}");
    return files;
}

// A model of the generated file in the language given, both registered
// once: "Java" from our java.ini, "HTML" from the built-in form.
tarrow::foundation::RefPtr<BenchModel> LoadedModel(const char* language, const std::string& path)
{
    VxEditLangConfigRegistry& registry = VxEditLangConfigRegistry::Instance();
    if (!registry.Get("Java"))
        registry.Register("Java", tarrow::foundation::MakeRef<VxEditIniConfigReader>(QUILLET_JAVA_INI).Get());
    if (!registry.Get("HTML"))
        registry.Register("HTML", tarrow::foundation::MakeRef<VxEditResConfigReader>(146).Get());
    auto model = tarrow::foundation::MakeRef<BenchModel>();
    model->NewText();
    if (!model->SetLangConfigByName(language) || !model->LoadFile(path))
        std::abort();
    return model;
}

tarrow::foundation::RefPtr<BenchModel> LoadedModel(int megabytes)
{
    return LoadedModel("Java", Files().Path(megabytes));
}

// The colour runs of the last screen of the text, as a view at its end asks.
std::size_t ColourLastScreen(BenchModel& model)
{
    std::size_t runs = 0;
    for (std::int32_t line = model.LastLine() - kScreenLines + 1; line <= model.LastLine(); ++line)
        runs += model.GetColourRuns(line)->size();
    return runs;
}

// The last screen coloured afresh in each iteration.
void TimeLastScreen(benchmark::State& state, BenchModel& model)
{
    std::size_t runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        model.ForgetColouring();
        state.ResumeTiming();
        runs += ColourLastScreen(model);
    }
    benchmark::DoNotOptimize(runs);
    state.counters["spans"] = static_cast<double>(model.Spans().size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * model.TextBuffer().Length());
}

void BM_ColourLastScreen(benchmark::State& state)
{
    TimeLastScreen(state, *LoadedModel(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_ColourLastScreen)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);

// The same over 100 MB of the JDK's own sources, the file bench/open_huge.sh
// makes, whose documentation comments open a span every few dozen lines.
void BM_ColourLastScreenOfSources(benchmark::State& state)
{
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    const std::string scratch = std::getenv("QUILLET_BENCH_SCRATCH") ? std::getenv("QUILLET_BENCH_SCRATCH")
                                : cache                              ? std::string(cache) + "/quillet-bench"
                                                                     : std::string(home ? home : "") + "/.cache/quillet-bench";
    const std::string path = scratch + "/huge.java";
    if (access(path.c_str(), R_OK) != 0) {
        state.SkipWithError("no huge.java: run bench/open_huge.sh once to make it");
        return;
    }
    TimeLastScreen(state, *LoadedModel("Java", path));
}
BENCHMARK(BM_ColourLastScreenOfSources)->Unit(benchmark::kMillisecond);

void BM_SearchBeginTag(benchmark::State& state)
{
    auto model = LoadedModel(static_cast<int>(state.range(0)));
    VxEditTextBuffer& buffer = model->TextBuffer();
    std::size_t hits = 0;
    for (auto _ : state) {
        const std::size_t length = static_cast<std::size_t>(buffer.Length());
        const char* text = buffer.PointerAt(0, buffer.Length());
        const char* at = text;
        while (const void* hit = memmem(at, length - static_cast<std::size_t>(at - text), "/*", 2)) {
            ++hits;
            at = static_cast<const char*>(hit) + 2;
        }
    }
    benchmark::DoNotOptimize(hits);
}
BENCHMARK(BM_SearchBeginTag)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);

// An HTML page of long prose: markup only at its two ends, so that whether a
// word lies between brackets is decided far away from it.
BenchFiles& ProseFiles()
{
    static BenchFiles files(
        "colour_bench_prose",
        [](std::size_t line, std::string& text) {
            if (line == 0)
                text += "<html><body>\r\n";
        },
        "</body></html>\r\n",
        {"The quick brown fox jumps over the lazy dog, and the dog sleeps on.\r\n",
         "Nothing here is markup: BODY, TITLE and HREF are plain words.\r\n", "\r\n"});
    return files;
}

// The last screen of the page and, after a word typed in the middle of it,
// the same screen again.
void BM_HtmlProseLastScreen(benchmark::State& state)
{
    auto model = LoadedModel("HTML", ProseFiles().Path(static_cast<int>(state.range(0))));
    std::size_t runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        model->ForgetColouring();
        state.ResumeTiming();
        runs += ColourLastScreen(*model);
        model->InsertAtLineCol(model->LastLine() / 2, 0, "word ", 5);
        runs += ColourLastScreen(*model);
    }
    benchmark::DoNotOptimize(runs);
}
BENCHMARK(BM_HtmlProseLastScreen)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// Typing in the middle of the page: one character, then the screen around
// it coloured again, as the view repaints after a keystroke.
void BM_HtmlProseTypeInMiddle(benchmark::State& state)
{
    auto model = LoadedModel("HTML", ProseFiles().Path(static_cast<int>(state.range(0))));
    const std::int32_t middle = model->LastLine() / 2;
    std::size_t runs = 0;
    for (std::int32_t line = middle - kScreenLines / 2; line < middle + kScreenLines / 2; ++line)
        runs += model->GetColourRuns(line)->size();
    for (auto _ : state) {
        model->InsertAtLineCol(middle, 0, "w", 1);
        for (std::int32_t line = middle - kScreenLines / 2; line < middle + kScreenLines / 2; ++line)
            runs += model->GetColourRuns(line)->size();
    }
    benchmark::DoNotOptimize(runs);
}
BENCHMARK(BM_HtmlProseTypeInMiddle)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
