// The console's terminal model and scrollback fed with a program's output:
// 10 MB of 80-column lines (as the pty delivers them, CR LF), in the chunks
// the console reads. Target: at most 1 s per 10 MB.
#include "javatools/console/ConsoleScreen.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr std::size_t kTotal = 10 * 1024 * 1024;
constexpr std::size_t kChunk = 16 * 1024;

std::string ProgramOutput()
{
    std::string output;
    output.reserve(kTotal + 128);
    for (int line = 0; output.size() < kTotal; ++line) {
        std::string text = "line " + std::to_string(line) + ": ";
        while (text.size() < 80)
            text += static_cast<char>('a' + (text.size() + static_cast<std::size_t>(line)) % 26);
        output += text;
        output += "\r\n";
    }
    return output;
}

void BM_ConsoleFeed(benchmark::State& state)
{
    const std::string output = ProgramOutput();
    for (auto _ : state) {
        ConsoleScreen screen(24, 80);
        for (std::size_t at = 0; at < output.size(); at += kChunk)
            screen.Feed(output.data() + at, std::min(kChunk, output.size() - at));
        benchmark::DoNotOptimize(screen.ScrollbackCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * output.size()));
}
BENCHMARK(BM_ConsoleFeed)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
