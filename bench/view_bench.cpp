// Typing into and scrolling an edit view on large Java-like documents,
// offscreen at 800×600: nothing a keystroke costs may grow with the size of
// the document.
#include "engine/VxEdit.h"
#include "language/VxEditLangConfig.h"
#include "view/CScrivoView.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

constexpr std::size_t kMegabyte = 1024 * 1024;

std::string JavaLikeText(std::size_t bytes)
{
    static const char* const kBlock =
        "package org.example.shapes;\r\n"
        "\r\n"
        "import java.util.ArrayList;\r\n"
        "\r\n"
        "/* A shape with a name and an area. */\r\n"
        "public class Shape implements Comparable<Shape> {\r\n"
        "\tprivate final String name;\r\n"
        "\tprivate double area = 0.0; // computed lazily\r\n"
        "\r\n"
        "\tpublic int compareTo(Shape other) {\r\n"
        "\t\treturn Double.compare(area, other.area);\r\n"
        "\t}\r\n"
        "}\r\n";
    const std::string block(kBlock);
    std::string text;
    text.reserve(bytes + block.size());
    while (text.size() < bytes)
        text += block;
    return text;
}

// A minified script of at least the given size on one line, without a line
// end: short names, no spaces, numbers that vary so that no two stretches
// are alike.
std::string MinifiedScriptLine(std::size_t bytes)
{
    std::string text;
    text.reserve(bytes + 256);
    for (std::size_t i = 0; text.size() < bytes; ++i) {
        const std::string n = std::to_string(i);
        text += "function f" + n + "(a,b){var c=a*" + n + "+b;if(c>" + n +
                ")return\"s" + n + "\";for(var i=0;i<c;i++){b+=a[i]||0}return b}";
        text += "var v" + n + "={k:" + n + ",l:[1,2," + n + "],m:/x" + n + "+/g};";
    }
    return text;
}

// One document and its view per kind and size, made once and kept for all
// runs.
struct Document {
    tarrow::foundation::RefPtr<VxEdit> model;
    tarrow::foundation::RefPtr<VxEditLangConfig> config;
    std::unique_ptr<CScrivoView> view;
    QImage image{800, 600, QImage::Format_RGB32};
};

using DocumentMap = std::map<std::string, std::unique_ptr<Document>>;
// Owned by main, so that the windows go before the application object.
DocumentMap* documents = nullptr;

// The document under key, made by fill from an empty model the first time.
Document& CachedDocument(const std::string& key, const std::function<void(VxEdit&)>& fill)
{
    std::unique_ptr<Document>& document = (*documents)[key];
    if (!document) {
        document = std::make_unique<Document>();
        document->model = tarrow::foundation::MakeRef<VxEdit>();
        document->config =
            tarrow::foundation::RefPtr<VxEditLangConfig>::Adopt(new VxEditLangConfig("Bench"));
        document->config->SetFaceName("DejaVu Sans Mono");
        document->model->SetLangConfig(document->config.Get());
        document->model->NewText();
        fill(*document->model);
        document->model->ClearHistory();
        document->view = std::make_unique<CScrivoView>(*document->model);
        document->view->resize(800, 600);
        document->view->show();
        QCoreApplication::processEvents();
    }
    return *document;
}

// Java-like lines, typed in as one insertion.
Document& DocumentOf(std::size_t megabytes)
{
    return CachedDocument("java/" + std::to_string(megabytes), [megabytes](VxEdit& model) {
        const std::string text = JavaLikeText(megabytes * kMegabyte);
        VxEditLineColPair range(0, 0, 0, 0);
        model.InsertAt(range, text.data(), static_cast<std::int64_t>(text.size()));
    });
}

// A file that is one minified line, loaded as a file is opened: an edit
// would break so long a line, a file keeps it whole.
Document& LongLineDocumentOf(std::size_t megabytes)
{
    return CachedDocument("line/" + std::to_string(megabytes), [megabytes](VxEdit& model) {
        const char* folder = std::getenv("TMPDIR");
        const std::string path = std::string(folder ? folder : "/tmp") + "/quillet_view_bench_" +
                                 std::to_string(getpid()) + ".js";
        {
            std::ofstream(path, std::ios::binary) << MinifiedScriptLine(megabytes * kMegabyte);
        }
        const int loaded = model.LoadFile(path);
        std::remove(path.c_str());
        if (loaded != 1)
            std::abort();
    });
}

void Press(QWidget& widget, int key, Qt::KeyboardModifiers modifiers, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(&widget, &release);
}

void Paint(Document& document)
{
    document.view->viewport()->render(&document.image);
}

void BM_TypeAndPaint(benchmark::State& state)
{
    Document& document = DocumentOf(static_cast<std::size_t>(state.range(0)));
    CScrivoView& view = *document.view;
    // The caret near the end: a few lines above the last, in a line of code.
    Press(view, Qt::Key_End, Qt::ControlModifier);
    for (int i = 0; i < 4; ++i)
        Press(view, Qt::Key_Up, Qt::NoModifier);
    Press(view, Qt::Key_End, Qt::NoModifier);
    // The first edit of a document gives its per-line arrays their memory,
    // once; it is not part of the cost of a keystroke.
    Press(view, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    Paint(document);
    int typed = 0;
    for (auto _ : state) {
        // A new line now and then, so that no line reaches the length limit.
        if (++typed % 64 == 0)
            Press(view, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        else
            Press(view, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        Paint(document);
    }
    benchmark::DoNotOptimize(document.image.constBits());
    QCoreApplication::processEvents();
}
BENCHMARK(BM_TypeAndPaint)->Arg(1)->Arg(100)->Unit(benchmark::kMicrosecond);

// A character typed at the end of a file that is one line of megabytes, and
// the window painted: neither may cost in proportion to the line's length.
void BM_TypeInLongLine(benchmark::State& state)
{
    Document& document = LongLineDocumentOf(static_cast<std::size_t>(state.range(0)));
    CScrivoView& view = *document.view;
    VxEdit& model = *document.model;
    Press(view, Qt::Key_End, Qt::ControlModifier);
    Paint(document);
    const std::int32_t lengthBefore = model.LineLength(model.LastLine());
    std::int64_t typed = 0;
    for (auto _ : state) {
        Press(view, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        Paint(document);
        ++typed;
    }
    benchmark::DoNotOptimize(document.image.constBits());
    QCoreApplication::processEvents();
    // Every character must have gone onto the one line, at its end.
    if (model.LineCount() != 1 || model.LineLength(0) != lengthBefore + typed)
        state.SkipWithError("the typed characters did not all go onto the end of the one line");
    state.counters["line_bytes"] = static_cast<double>(model.LineLength(0));
}
BENCHMARK(BM_TypeInLongLine)->Arg(10)->Unit(benchmark::kMicrosecond);

void BM_ScrollToEnd(benchmark::State& state)
{
    Document& document = DocumentOf(static_cast<std::size_t>(state.range(0)));
    CScrivoView& view = *document.view;
    for (auto _ : state) {
        state.PauseTiming();
        Press(view, Qt::Key_Home, Qt::ControlModifier);
        Paint(document);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        Press(view, Qt::Key_End, Qt::ControlModifier);
        Paint(document);
    }
    benchmark::DoNotOptimize(document.image.constBits());
}
BENCHMARK(BM_ScrollToEnd)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    DocumentMap owned;
    documents = &owned;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
