#include "javatools/completion/JdkClassIndex.h"

#include <algorithm>
#include <tuple>

namespace {

bool Before(const JdkClass& a, const JdkClass& b)
{
    return std::tie(a.name, a.package) < std::tie(b.name, b.package);
}

}  // namespace

JdkClassIndex::JdkClassIndex(std::vector<JdkClass> classes) : classes_(std::move(classes))
{
    std::sort(classes_.begin(), classes_.end(), Before);
    classes_.erase(std::unique(classes_.begin(), classes_.end()), classes_.end());
}

std::span<const JdkClass> JdkClassIndex::WithPrefix(std::string_view prefix) const
{
    const auto first = std::lower_bound(classes_.begin(), classes_.end(), prefix,
                                        [](const JdkClass& c, std::string_view p) { return c.name < p; });
    auto last = first;
    while (last != classes_.end() && std::string_view(last->name).starts_with(prefix))
        ++last;
    return {first, last};
}

bool JdkClassIndex::Has(std::string_view name, std::string_view package) const
{
    for (const JdkClass& c : WithPrefix(name)) {
        if (c.name == name && c.package == package)
            return true;
    }
    return false;
}

std::string JdkClassIndex::Serialize() const
{
    std::string text;
    for (const JdkClass& c : classes_)
        text.append(c.name).append(1, '\t').append(c.package).append(1, '\n');
    return text;
}

JdkClassIndex JdkClassIndex::Parse(std::string_view text)
{
    std::vector<JdkClass> classes;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos || tab == 0 || tab + 1 == line.size())
            continue;
        classes.push_back({std::string(line.substr(0, tab)), std::string(line.substr(tab + 1))});
    }
    return JdkClassIndex(std::move(classes));
}
