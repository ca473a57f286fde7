#pragma once

// Models coloured with the real configurations (java.ini and the built-in
// HTML form), and colour runs in a form that is easy to compare.
#include "ModelSupport.h"

#include "engine/ColorRun.h"
#include "engine/VxScrivo.h"
#include "language/VxEditIniConfigReader.h"
#include "language/VxEditLangConfig.h"
#include "language/VxEditLangConfigRegistry.h"
#include "language/VxEditResConfigReader.h"

#include <string>
#include <utility>
#include <vector>

namespace quillet::test {

inline void RegisterRealConfigs()
{
    VxEditLangConfigRegistry& registry = VxEditLangConfigRegistry::Instance();
    registry.Reset();
    registry.Register("Java", tarrow::foundation::MakeRef<VxEditIniConfigReader>(QUILLET_JAVA_INI).Get());
    registry.Register("HTML", tarrow::foundation::MakeRef<VxEditResConfigReader>(146).Get());
}

// A document model in the named configuration holding the text.
inline tarrow::foundation::RefPtr<VxScrivo> ColouredModel(const char* language, const std::string& text)
{
    auto model = NewModel<VxScrivo>();
    model->SetLangConfigByName(language);
    if (!text.empty())
        model->InsertAtLineCol(0, 0, text.data(), static_cast<std::int64_t>(text.size()));
    return model;
}

// Runs as (length, group name); a length of 0 stands for the rest of the line.
using NamedRuns = std::vector<std::pair<int, std::string>>;

inline NamedRuns Named(VxEdit& model, int line)
{
    NamedRuns named;
    const std::vector<ColorRun>* runs = model.GetColourRuns(line);
    if (!runs)
        return named;
    for (ColorRun run : *runs)
        named.emplace_back(static_cast<int>(ColorRunLength(run)),
                           model.GetLangConfig()->GetColorGroupName(ColorRunGroup(run)));
    return named;
}

// The group of every byte of the line, from its runs: what a painter draws.
inline std::vector<int> ByteGroups(VxEdit& model, int line)
{
    const int length = model.LineLength(line);
    std::vector<int> groups;
    const std::vector<ColorRun>* runs = model.GetColourRuns(line);
    if (!runs)
        return groups;
    for (ColorRun run : *runs) {
        const int count = ColorRunLength(run) == 0 ? length - static_cast<int>(groups.size())
                                                    : static_cast<int>(ColorRunLength(run));
        groups.insert(groups.end(), static_cast<std::size_t>(std::max(count, 0)), ColorRunGroup(run));
    }
    return groups;
}

}  // namespace quillet::test
