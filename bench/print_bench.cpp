// Laying out a large Java file for printing (A4 at 1200 pixels per inch,
// the Java configuration's font), against reading the same file and
// counting its lines.
#include "bench/BenchFiles.h"
#include "engine/VxEdit.h"
#include "language/VxEditIniConfigReader.h"
#include "language/VxEditLangConfigRegistry.h"
#include "platform/core/MessageSeam.h"
#include "view/VxEditPrinter.h"

#include <QGuiApplication>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

BenchFiles& Files()
{
    static BenchFiles files("print_bench", {}, "}\r\n");
    return files;
}

void BM_Paginate(benchmark::State& state)
{
    VxEditLangConfigRegistry& registry = VxEditLangConfigRegistry::Instance();
    if (!registry.Get("Java"))
        registry.Register("Java", tarrow::foundation::MakeRef<VxEditIniConfigReader>(QUILLET_JAVA_INI).Get());
    auto model = tarrow::foundation::MakeRef<VxEdit>();
    model->NewText();
    if (!model->SetLangConfigByName("Java") || !model->LoadFile(Files().Path(static_cast<int>(state.range(0)))))
        std::abort();
    QPdfWriter writer(QStringLiteral("/dev/null"));
    VxEditPrinter::SetUpPdfWriter(writer);
    VxEditPrinter printer(*model, "Bench.java");
    int pages = 0;
    for (auto _ : state)
        pages = printer.BeginPrinting(writer);
    state.counters["pages"] = pages;
    state.counters["rows"] = printer.Layout()->RowCount();
}
BENCHMARK(BM_Paginate)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_ReadAndCountLines(benchmark::State& state)
{
    RunReadAndCountLines(state, Files().Path(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_ReadAndCountLines)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    quillet::platform::RecordingMessageSink messages;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return messages.Messages().empty() ? 0 : 1;
}
