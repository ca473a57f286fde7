#pragma once

// Java models coloured with the real configurations, for the Java tools'
// tests.
#include "engine/VxScrivo.h"
#include "engine/VxEditTextBuffer.h"
#include "language/VxEditIniConfigReader.h"
#include "language/VxEditLangConfigRegistry.h"
#include "language/VxEditResConfigReader.h"
#include "mvc/IRefCount.h"

#include <fstream>
#include <sstream>
#include <string>

namespace quillet::test {

inline void RegisterJavaAndHtml()
{
    VxEditLangConfigRegistry& registry = VxEditLangConfigRegistry::Instance();
    registry.Reset();
    registry.Register("Java", tarrow::foundation::MakeRef<VxEditIniConfigReader>(QUILLET_JAVA_INI).Get());
    registry.Register("HTML", tarrow::foundation::MakeRef<VxEditResConfigReader>(146).Get());
}

inline tarrow::foundation::RefPtr<VxScrivo> ScrivoModel(const std::string& text, const char* language = "Java")
{
    auto model = tarrow::foundation::MakeRef<VxScrivo>();
    model->NewText();
    model->SetLangConfigByName(language);
    if (!text.empty())
        model->InsertAtLineCol(0, 0, text.data(), static_cast<std::int64_t>(text.size()));
    model->ClearHistory();
    return model;
}

inline std::string WholeText(VxEdit& model)
{
    const VxEditTextBuffer& buffer = model.TextBuffer();
    std::string text(static_cast<std::size_t>(buffer.Length()), '\0');
    buffer.CopyOut(text.data(), 0, buffer.Length());
    return text;
}

inline std::string DataFile(const std::string& name)
{
    std::ifstream in(std::string(QUILLET_SOURCE_DIR) + "tests/javatools/data/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace quillet::test
