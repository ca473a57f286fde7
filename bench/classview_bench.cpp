// Listing the declarations of a large Java text for the class view against
// one pattern search over the same text: the list takes one pass of the
// declaration pattern plus telling comments and strings apart, so it must
// stay within twice the search. The members of 1 MB of real Java
// (BM_ScanMembers) must stay within three times the search of the same text
// (BM_FindPatternInSources).
#include "bench/BenchFiles.h"
#include "bench/BenchModel.h"
#include "engine/VxEditFindRequest.h"
#include "engine/VxEditLineColPair.h"
#include "engine/VxEditTextBuffer.h"
#include "engine/VxScrivo.h"
#include "javatools/classview/DeclarationScanner.h"
#include "javatools/classview/MemberScanner.h"
#include "language/VxEditIniConfigReader.h"
#include "language/VxEditLangConfigRegistry.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

constexpr const char* kLastLineWord = "zebraQuokkaMarker";

// About 35 bytes a line, a class every 143 lines (2,000 in 10 MB), an
// interface every 5,000, a block comment every 300 lines, and strings and
// comments that hold the word class.
BenchFiles& Files()
{
    static BenchFiles files(
        "classview_bench",
        [](std::size_t line, std::string& text) {
            if (line % 143 == 0)
                text += "public class Account" + std::to_string(line) + "<T extends Comparable<T>> extends Base {\r\n";
            if (line % 5000 == 7)
                text += "interface Ledger" + std::to_string(line) + " extends Book {\r\n";
            if (line % 300 == 1)
                text += "    /**\r\n     * Each class Account { holds money.\r\n     */\r\n";
            if (line % 1000 == 500)
                text += "        String name = \"class Quoted {\"; // a class Commented {\r\n";
        },
        std::string("    // end ") + kLastLineWord + "\r\n}",
        {"    private int balance = 0;\r\n", "    public int getBalance() {\r\n",
         "        return balance; // current value\r\n", "    }\r\n",
         "    // deposit adds money to the account\r\n", "    public void deposit(int amount) {\r\n",
         "        if (amount > 0) balance += amount;\r\n", "\t\tSystem.out.println(\"deposit \" + amount);\r\n",
         "    }\r\n"});
    return files;
}

tarrow::foundation::RefPtr<BenchModel> LoadedModel(int megabytes)
{
    VxEditLangConfigRegistry& registry = VxEditLangConfigRegistry::Instance();
    if (!registry.Get("Java"))
        registry.Register("Java", tarrow::foundation::MakeRef<VxEditIniConfigReader>(QUILLET_JAVA_INI).Get());
    auto model = tarrow::foundation::MakeRef<BenchModel>();
    model->NewText();
    model->SetLangConfigByName("Java");
    if (!model->LoadFile(Files().Path(megabytes)))
        std::abort();
    return model;
}

// A refresh as the class view runs it on a text it has never coloured.
void BM_RefreshClassView(benchmark::State& state)
{
    auto model = LoadedModel(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        model->ForgetColouring();
        DeclarationScanner::Rebuild(*model);
        if (model->Declarations().size() < 2000)
            state.SkipWithError("declarations missing");
    }
    state.counters["declarations"] = static_cast<double>(model->Declarations().size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * model->TextBuffer().Length());
}
BENCHMARK(BM_RefreshClassView)->Arg(10)->Unit(benchmark::kMillisecond);

// Searches the whole text for the word on its last line with a pattern.
void TimeFindPattern(benchmark::State& state, BenchModel& model)
{
    for (auto _ : state) {
        VxEditFindRequest request;
        request.start = VxEditLineCol(0, 0);
        request.text = "zebra[A-Z]\\w+Marker";
        request.matchCase = true;
        request.pattern = true;
        const std::int64_t length = model.Find(request);
        if (length == 0 || request.match.line != model.LastLine() - 1)
            state.SkipWithError("the word was not found on the last line");
        benchmark::DoNotOptimize(length);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * model.TextBuffer().Length());
}

void BM_FindPattern(benchmark::State& state)
{
    TimeFindPattern(state, *LoadedModel(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_FindPattern)->Arg(10)->Unit(benchmark::kMillisecond);

// About 1 MB of real Java: whole sources of java.util from the JDK's
// src.zip, one after another, with the search's word on a last line. The
// generated text above suits the declaration list but is not a fair outline:
// its classes never close, so nearly all of it is one method body.
const std::string& RealJavaText()
{
    static const std::string text = [] {
        std::string java;
        const char* command = "unzip -p /usr/lib/jvm/java-17-openjdk-amd64/lib/src.zip "
                              "'java.base/java/util/[A-L]*.java' 2>/dev/null";
        if (FILE* pipe = popen(command, "r")) {
            char chunk[65536];
            std::size_t got = 0;
            while (java.size() < 1000 * 1000 && (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
                java.append(chunk, got);
            pclose(pipe);
        }
        // Cut at the last class-closing line so the text stays whole.
        const std::size_t end = java.rfind("\n}\n");
        java.resize(end == std::string::npos ? 0 : end + 3);
        return java + std::string("// end ") + kLastLineWord + "\n";
    }();
    return text;
}

tarrow::foundation::RefPtr<BenchModel> RealJavaModel(benchmark::State& state)
{
    if (RealJavaText().size() < 900 * 1000) {
        state.SkipWithError("the JDK's src.zip (openjdk-17-source) is missing");
        return {};
    }
    auto model = tarrow::foundation::MakeRef<BenchModel>();
    model->NewText();
    model->SetLangConfigByName("Java");
    const std::string& text = RealJavaText();
    model->InsertAtLineCol(0, 0, text.data(), static_cast<std::int64_t>(text.size()));
    return model;
}

// The search the outline is held to, over the same real text.
void BM_FindPatternInSources(benchmark::State& state)
{
    LoadedModel(1);  // registers the Java language
    auto model = RealJavaModel(state);
    if (model)
        TimeFindPattern(state, *model);
}
BENCHMARK(BM_FindPatternInSources)->Unit(benchmark::kMillisecond);

// The outline of types and members, as a refresh builds it beside the list.
void BM_ScanMembers(benchmark::State& state)
{
    LoadedModel(1);
    auto model = RealJavaModel(state);
    if (!model)
        return;
    const char* text = nullptr;
    std::int64_t length = 0;
    const std::int32_t last = model->LastLine();
    if (model->TextSpan(VxEditLineColPair(0, 0, last, model->LineLength(last)), text, length) != 1)
        std::abort();
    std::size_t members = 0;
    for (auto _ : state) {
        const std::vector<VxScrivoMember> outline = MemberScanner::Scan(text, static_cast<std::size_t>(length));
        members = outline.size();
        benchmark::DoNotOptimize(outline.data());
    }
    state.counters["members"] = static_cast<double>(members);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * length);
}
BENCHMARK(BM_ScanMembers)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
