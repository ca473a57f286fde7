#pragma once

// Java models coloured with the real configurations, for the Java tools'
// tests, and the Java sources they read.
#include "tests/engine/ScanSupport.h"

#include <fstream>
#include <sstream>
#include <string>

namespace quillet::test {

inline void RegisterJavaAndHtml()
{
    RegisterRealConfigs();
}

// A model holding the text with no history: its first undo step is the
// test's own.
inline tarrow::foundation::RefPtr<VxScrivo> ScrivoModel(const std::string& text, const char* language = "Java")
{
    auto model = ColouredModel(language, text);
    model->ClearHistory();
    return model;
}

inline std::string WholeText(VxEdit& model)
{
    return AllText(model);
}

inline std::string DataFile(const std::string& name)
{
    std::ifstream in(std::string(QUILLET_SOURCE_DIR) + "tests/javatools/data/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace quillet::test
