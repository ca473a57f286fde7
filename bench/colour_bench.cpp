// Colouring the last screen of a large Java text, as a view scrolled to the
// end asks for it, against searching the same text for the BeginTag of its
// block comments: scanning ahead looks only for BeginTags, so the first must
// stay within a small factor of the second.
#include "engine/VxEditTextBuffer.h"
#include "engine/VxScrivo.h"
#include "language/VxEditIniConfigReader.h"
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

// Java-like text of about 35 bytes a line with a block comment every 300
// lines and a string holding "/*" every 1,000 lines.
class BenchFiles {
public:
    ~BenchFiles()
    {
        for (const auto& [size, path] : paths_)
            std::remove(path.c_str());
    }

    const std::string& Path(int megabytes)
    {
        auto found = paths_.find(megabytes);
        if (found != paths_.end())
            return found->second;
        const char* folder = std::getenv("TMPDIR");
        std::string path = std::string(folder ? folder : "/tmp") + "/quillet_colour_bench_" +
                           std::to_string(megabytes) + "_" + std::to_string(getpid()) + ".java";
        Write(path, static_cast<std::size_t>(megabytes) * 1000 * 1000);
        return paths_.emplace(megabytes, path).first->second;
    }

private:
    static void Write(const std::string& path, std::size_t size)
    {
        static const char* const kLines[] = {
            "public class Account extends Base {\r\n",
            "    private int balance = 0;\r\n",
            "    public int getBalance() {\r\n",
            "        return balance; // current value\r\n",
            "    }\r\n",
            "    // deposit adds money to the account\r\n",
            "    public void deposit(int amount) {\r\n",
            "        if (amount > 0) balance += amount;\r\n",
            "\t\tSystem.out.println(\"deposit \" + amount);\r\n",
            "    }\r\n",
        };
        std::ofstream out(path, std::ios::binary);
        std::string chunk;
        std::size_t written = 0;
        for (std::size_t i = 0; written + chunk.size() < size; ++i) {
            if (i % 300 == 0)
                chunk += "    /**\r\n     * Deposits money.\r\n     * @param amount what to add\r\n     */\r\n";
            if (i % 1000 == 500)
                chunk += "        String pattern = \"/*\"; // not a comment\r\n";
            chunk += kLines[i % 10];
            if (chunk.size() > 1 << 20) {
                out << chunk;
                written += chunk.size();
                chunk.clear();
            }
        }
        out << chunk << "}";
    }

    std::map<int, std::string> paths_;
};

BenchFiles& Files()
{
    static BenchFiles files;
    return files;
}

// A document model whose colouring can be started afresh.
class BenchModel : public VxScrivo {
public:
    void ForgetColouring() { ResetColouring(); }

protected:
    ~BenchModel() override = default;
};

tarrow::foundation::RefPtr<BenchModel> LoadedModel(int megabytes)
{
    VxEditLangConfigRegistry& registry = VxEditLangConfigRegistry::Instance();
    if (!registry.Get("Java"))
        registry.Register("Java", tarrow::foundation::MakeRef<VxEditIniConfigReader>(QUILLET_JAVA_INI).Get());
    auto model = tarrow::foundation::MakeRef<BenchModel>();
    model->NewText();
    if (!model->SetLangConfigByName("Java") || !model->LoadFile(Files().Path(megabytes)))
        std::abort();
    return model;
}

void BM_ColourLastScreen(benchmark::State& state)
{
    auto model = LoadedModel(static_cast<int>(state.range(0)));
    const std::int32_t last = model->LastLine();
    std::size_t runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        model->ForgetColouring();
        state.ResumeTiming();
        for (std::int32_t line = last - kScreenLines + 1; line <= last; ++line)
            runs += model->GetColourRuns(line)->size();
    }
    benchmark::DoNotOptimize(runs);
    state.counters["spans"] = static_cast<double>(model->Spans().size());
}
BENCHMARK(BM_ColourLastScreen)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);

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

}  // namespace

BENCHMARK_MAIN();
