// The Java editing aids on large texts: the partner of a brace 10,000 lines
// away in a 100 MB text (target 2 ms), with every line between holding
// brackets in code, strings and comments; Complete Word's candidates for a
// two-letter prefix over ten open texts of 1 MB and a JDK's classes (target
// 30 ms).
#include "bench/BenchFiles.h"
#include "engine/VxEditBraceMatcher.h"
#include "engine/VxEditTextBuffer.h"
#include "engine/VxEditWordCompleter.h"
#include "javatools/completion/JdkClassList.h"
#include "engine/VxScrivo.h"
#include "language/VxEditIniConfigReader.h"
#include "language/VxEditLangConfig.h"
#include "language/VxEditLangConfigRegistry.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

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
    // The first search colours the text down to the brace, as opening the
    // file at that line would; that is not the search's own cost.
    VxEditBraceMatcher(*model).FindPartner(brace, partner);
    for (auto _ : state) {
        VxEditBraceMatcher matcher(*model);
        if (!matcher.FindPartner(brace, partner) || partner.line != open + static_cast<std::int32_t>(kSpan) + 1)
            state.SkipWithError(("wrong partner " + std::to_string(partner.line - open)).c_str());
        benchmark::DoNotOptimize(partner);
    }
    state.counters["lines"] = static_cast<double>(partner.line - open);
}
BENCHMARK(BM_MatchBrace)->Unit(benchmark::kMillisecond);

// The classes of the JDK the tests use, read once (and cached in a folder
// of the run's own); made-up names of the same count without that JDK.
JdkClassIndex JdkClasses()
{
    const std::string jdk = "/usr/lib/jvm/java-17-openjdk-amd64";
    const std::string cache = (std::filesystem::temp_directory_path() / "quillet_edit_aids_bench_cache").string();
    JdkClassIndex index;
    std::string failure;
    if (!JdkClassList::Load(jdk, cache, index, failure)) {
        std::vector<JdkClass> classes;
        for (int i = 0; i < 4000; ++i)
            classes.push_back({std::string(1, static_cast<char>('A' + i % 26)) + "a" + std::to_string(i), "java.made"});
        index = JdkClassIndex(std::move(classes));
    }
    std::filesystem::remove_all(cache);
    return index;
}

void BM_CompleteWord(benchmark::State& state)
{
    BenchFiles files("complete_word_bench", nullptr, "}");
    std::vector<tarrow::foundation::RefPtr<VxScrivo>> texts;
    for (int i = 0; i < 10; ++i) {
        texts.push_back(LoadedJava(files.Path(1)));
        // Typed into the middle: the store's gap stands there.
        texts.back()->InsertAtLineCol(texts.back()->LastLine() / 2, 0, "x", 1);
    }
    const JdkClassIndex classes = JdkClasses();
    // "ba" meets balance three times in ten lines; "Ba" meets Base and
    // dozens of the JDK's classes.
    const std::string prefix = state.range(0) == 0 ? "ba" : "Ba";
    std::size_t candidates = 0;
    for (auto _ : state) {
        VxEditWordCompleter completer(prefix);
        for (const auto& text : texts)
            completer.AddWordsOf(text->TextBuffer());
        completer.AddKeywords(texts.front()->GetLangConfig()->GetKeywordTable());
        for (const JdkClass& jdkClass : classes.WithPrefix(prefix))
            completer.AddClass(jdkClass.name, jdkClass.package);
        candidates = completer.Candidates().size();
        benchmark::DoNotOptimize(candidates);
    }
    state.counters["candidates"] = static_cast<double>(candidates);
    state.counters["jdk_classes"] = static_cast<double>(classes.Size());
}
BENCHMARK(BM_CompleteWord)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
