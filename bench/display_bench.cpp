// Speed of the display-line map on a long text: line to display line and
// back with 10,000 folds over 2 million lines, with and without wrapped
// heights, and a line added and removed under the folds.
#include "engine/VxEditDisplayLineMap.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>

namespace {

constexpr std::int32_t kLines = 2'000'000;
constexpr std::int32_t kFolds = 10'000;

// Every 200 lines a fold of 100, and one in ten of them inside a larger one.
void FoldAll(VxEditDisplayLineMap& map)
{
    constexpr std::int32_t step = kLines / kFolds;
    for (std::int32_t first = 0; first + step <= kLines; first += step) {
        if (first % (10 * step) == 0)
            map.Fold(first, first + step / 2 + 20);
        else
            map.Fold(first + 10, first + 10 + step / 2);
    }
}

void WrapAll(VxEditDisplayLineMap& map)
{
    map.SetWrapping(true);
    for (std::int32_t line = 0; line < kLines; ++line)
        map.SetHeight(line, 1 + line % 3);
}

void LineToDisplay(benchmark::State& state)
{
    VxEditDisplayLineMap map(kLines);
    FoldAll(map);
    if (state.range(0))
        WrapAll(map);
    std::mt19937 random(1);
    std::uniform_int_distribution<std::int32_t> line(0, kLines - 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(map.DisplayLine(line(random)));
    state.counters["folds"] = static_cast<double>(map.Folds().size());
    state.counters["bytes_per_line"] = static_cast<double>(map.BytesUsed()) / kLines;
}
BENCHMARK(LineToDisplay)->Arg(0)->Arg(1);

void DisplayToLine(benchmark::State& state)
{
    VxEditDisplayLineMap map(kLines);
    FoldAll(map);
    if (state.range(0))
        WrapAll(map);
    std::mt19937 random(2);
    std::uniform_int_distribution<std::int64_t> display(0, map.DisplayLineCount() - 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(map.PlaceAt(display(random)));
}
BENCHMARK(DisplayToLine)->Arg(0)->Arg(1);

// A line typed in and taken out again in the middle: the folds after it
// move and the partition shifts its blocks.
void EditUnderFolds(benchmark::State& state)
{
    VxEditDisplayLineMap map(kLines);
    FoldAll(map);
    for (auto _ : state) {
        map.InsertLines(kLines / 2, 1);
        benchmark::DoNotOptimize(map.DisplayLine(kLines - 1));
        map.RemoveLines(kLines / 2, 1);
        benchmark::DoNotOptimize(map.DisplayLine(kLines - 1));
    }
}
BENCHMARK(EditUnderFolds);

}  // namespace

BENCHMARK_MAIN();
