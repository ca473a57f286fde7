#include "FuzzCheck.h"
#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "engine/VxEditTextBuffer.h"
#include "engine/VxEditUtf8.h"
#include "engine/VxScrivo.h"
#include "language/VxEditIniConfigReader.h"
#include "language/VxEditLangConfigRegistry.h"
#include "language/VxEditResConfigReader.h"

#include <algorithm>
#include <string>
#include <string_view>

using tarrow::foundation::MakeRef;
using tarrow::foundation::RefPtr;

namespace {

// The built-in HTML configuration's resource.
constexpr int kHtmlResource = 146;

RefPtr<VxScrivo> ColouredModel(const char* language, std::string_view text)
{
    static const bool registered = [] {
        VxEditLangConfigRegistry& registry = VxEditLangConfigRegistry::Instance();
        registry.Register("Java", MakeRef<VxEditIniConfigReader>(QUILLET_JAVA_INI).Get());
        registry.Register("HTML", MakeRef<VxEditResConfigReader>(kHtmlResource).Get());
        return true;
    }();
    (void)registered;
    auto model = MakeRef<VxScrivo>();
    model->NewText();
    QUILLET_FUZZ_CHECK(model->SetLangConfigByName(language) == 1);
    if (!text.empty())
        QUILLET_FUZZ_CHECK(model->InsertAtLineCol(0, 0, text.data(), static_cast<std::int64_t>(text.size())) == 1);
    return model;
}

// A column of the line at a character boundary, chosen by the byte.
std::int32_t Column(VxEdit& model, std::int32_t line, std::uint8_t choice)
{
    const char* text = nullptr;
    std::int32_t length = 0;
    model.LineText(line, text, length);
    std::int32_t column = choice % (length + 1);
    while (column > 0 && column < length && VxEditUtf8::IsContinuation(static_cast<unsigned char>(text[column])))
        --column;
    return column;
}

// The first five bytes choose the edit: the line, the column, how many lines
// to delete across, the end column and how many trailing bytes to insert
// instead. The rest is the text.
int FuzzColour(const char* language, const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t kHeader = 5;
    if (size < kHeader)
        return 0;
    const std::string_view body(reinterpret_cast<const char*>(data) + kHeader, size - kHeader);
    const std::size_t inserted = std::min<std::size_t>(data[4] % 32, body.size());
    const std::string_view text = body.substr(0, body.size() - inserted);
    const std::string_view insertion = body.substr(body.size() - inserted);

    auto model = ColouredModel(language, text);
    for (std::int32_t line = 0; line <= model->LastLine(); ++line)
        QUILLET_FUZZ_CHECK(model->GetColourRuns(line) != nullptr);

    const std::int32_t line = data[0] % (model->LastLine() + 1);
    const std::int32_t endLine = std::min(model->LastLine(), line + data[2] % 3);
    std::int32_t column = Column(*model, line, data[1]);
    std::int32_t endColumn = Column(*model, endLine, data[3]);
    if (endLine == line && endColumn < column)
        std::swap(column, endColumn);
    QUILLET_FUZZ_CHECK(model->DeleteRange(line, column, endLine, endColumn) == 1);
    if (!insertion.empty())
        QUILLET_FUZZ_CHECK(model->InsertAtLineCol(line, column, insertion.data(),
                                                  static_cast<std::int64_t>(insertion.size())) == 1);

    // Re-coloured from the bottom up, against a fresh model asked from the top.
    auto fresh = ColouredModel(language, AllText(*model));
    QUILLET_FUZZ_CHECK(fresh->LineCount() == model->LineCount());
    for (std::int32_t line = model->LastLine(); line >= 0; --line) {
        const std::vector<ColorRun>* runs = model->GetColourRuns(line);
        QUILLET_FUZZ_CHECK(runs != nullptr);
        (void)runs;
    }
    for (std::int32_t line = 0; line <= model->LastLine(); ++line) {
        const std::vector<ColorRun>* expected = fresh->GetColourRuns(line);
        const std::vector<ColorRun>* runs = model->GetColourRuns(line);
        QUILLET_FUZZ_CHECK(expected != nullptr && runs != nullptr && *expected == *runs);
    }
    QUILLET_FUZZ_CHECK(fresh->Spans().size() == model->Spans().size());
    for (std::size_t i = 0; i < model->Spans().size(); ++i) {
        QUILLET_FUZZ_CHECK(fresh->Spans()[i].start == model->Spans()[i].start);
        QUILLET_FUZZ_CHECK(fresh->Spans()[i].end == model->Spans()[i].end);
        QUILLET_FUZZ_CHECK(fresh->Spans()[i].kind == model->Spans()[i].kind);
    }
    return 0;
}

}  // namespace

int FuzzJavaColour(const std::uint8_t* data, std::size_t size)
{
    return FuzzColour("Java", data, size);
}

int FuzzHtmlColour(const std::uint8_t* data, std::size_t size)
{
    return FuzzColour("HTML", data, size);
}
