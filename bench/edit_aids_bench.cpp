// The Java editing aids on large texts: the partner of a brace 10,000 lines
// away in a 100 MB text (target 2 ms), with every line between holding
// brackets in code, strings and comments.
#include "bench/BenchFiles.h"
#include "engine/VxEditBraceMatcher.h"
#include "engine/VxScrivo.h"
#include "language/VxEditIniConfigReader.h"
#include "language/VxEditLangConfigRegistry.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t kOpenLine = 500000;
constexpr std::size_t kSpan = 10000;

BenchFiles& BraceFiles()
{
    static BenchFiles files(
        "edit_aids_bench",
        [](std::size_t line, std::string& text) {
            if (line == kOpenLine)
                text += "    void target() {\r\n";
            if (line == kOpenLine + kSpan)
                text += "    }\r\n";
        },
        "}",
        {"        total = compute(values[i], limit) + 1; // (keeps the sum\r\n",
         "        if (ready) { send(\"}) \", map.get(key)); }\r\n",
         "        /* { a comment [ */ count++;\r\n"});
    return files;
}

tarrow::foundation::RefPtr<VxScrivo> LoadedJava(const std::string& path)
{
    VxEditLangConfigRegistry& registry = VxEditLangConfigRegistry::Instance();
    if (!registry.Get("Java"))
        registry.Register("Java", tarrow::foundation::MakeRef<VxEditIniConfigReader>(QUILLET_JAVA_INI).Get());
    auto model = tarrow::foundation::MakeRef<VxScrivo>();
    model->NewText();
    if (!model->SetLangConfigByName("Java") || !model->LoadFile(path))
        std::abort();
    return model;
}

std::int32_t LineHolding(VxEdit& model, std::int32_t from, const char* needle)
{
    for (std::int32_t line = from; line <= model.LastLine(); ++line) {
        const char* text = nullptr;
        std::int32_t length = 0;
        model.LineText(line, text, length);
        if (std::string(text, static_cast<std::size_t>(length)).find(needle) != std::string::npos)
            return line;
    }
    std::abort();
}

void BM_MatchBrace(benchmark::State& state)
{
    auto model = LoadedJava(BraceFiles().Path(100));
    const std::int32_t open = LineHolding(*model, static_cast<std::int32_t>(kOpenLine) - 10, "void target() {");
    const VxEditLineCol brace(open, 18);
    VxEditLineCol partner;
    for (auto _ : state) {
        VxEditBraceMatcher matcher(*model);
        if (!matcher.FindPartner(brace, partner) || partner.line != open + static_cast<std::int32_t>(kSpan) + 1)
            state.SkipWithError(("wrong partner " + std::to_string(partner.line - open)).c_str());
        benchmark::DoNotOptimize(partner);
    }
    state.counters["lines"] = static_cast<double>(partner.line - open);
}
BENCHMARK(BM_MatchBrace)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
