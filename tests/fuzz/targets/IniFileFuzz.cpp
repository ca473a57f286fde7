#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "language/VxEditIniConfigReader.h"
#include "language/VxEditIniConfigWriter.h"
#include "language/VxEditIniFile.h"
#include "language/VxEditLangConfig.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

using tarrow::foundation::MakeRef;

namespace {

std::string Lower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

struct Value {
    std::string section;
    std::string key;
    std::string value;
};

// Keys that a lookup can reach, with what they read (enough of them to
// catch a write that disturbs its neighbours, few enough to keep runs fast).
std::vector<Value> Reachable(const VxEditIniFile& file)
{
    constexpr std::size_t kEnough = 48;
    std::vector<Value> values;
    for (const std::string& section : file.SectionNames()) {
        for (const std::string& line : file.GetSection(section)) {
            if (values.size() == kEnough)
                return values;
            const std::size_t equals = line.find('=');
            if (equals == std::string::npos)
                continue;
            std::string_view key = std::string_view(line).substr(0, equals);
            // Names end at the blanks the store trims: space, tab, CR, FF, VT.
            while (!key.empty() && std::string_view(" \t\r\f\v").find(key.back()) != std::string_view::npos)
                key.remove_suffix(1);
            if (key.empty() || !file.Has(section, key))
                continue;
            values.push_back({section, std::string(key), file.GetString(section, key, "")});
        }
    }
    return values;
}

// Writes one value and checks that it reads back and nothing else changed.
void WriteAndCheck(VxEditIniFile& file, const std::string& section, const std::string& key, const std::string& value)
{
    const std::vector<Value> before = Reachable(file);
    if (!file.WriteString(section, key, value))
        return;
    VxEditIniFile reparsed;
    reparsed.Parse(file.Text());
    QUILLET_FUZZ_CHECK(reparsed.GetString(section, key, "(missing)") == value);
    for (const Value& old : before) {
        if (Lower(old.section) == Lower(section) && Lower(old.key) == Lower(key))
            continue;
        QUILLET_FUZZ_CHECK(reparsed.GetString(old.section, old.key, "(missing)") == old.value);
    }
    file = std::move(reparsed);
}

}  // namespace

int FuzzIniFile(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    VxEditIniFile file;
    file.Parse(text);
    QUILLET_FUZZ_CHECK(file.Text() == text);

    auto config = MakeRef<VxEditLangConfig>("Fuzz");
    QUILLET_FUZZ_CHECK(VxEditIniConfigReader::ReadFrom(file, *config) == 1);
    QUILLET_FUZZ_CHECK(config->GetTabSize() >= 1 && config->GetTabSize() <= VxEditLangConfig::kMaxTabSize);
    for (int kind = 0; kind < 4; ++kind)
        QUILLET_FUZZ_CHECK(config->GetSpecialColorGroup(kind) != nullptr);

    // Writing the configuration into the same text keeps it readable.
    VxEditIniFile written = file;
    if (VxEditIniConfigWriter::WriteTo(written, *config)) {
        VxEditIniFile reparsed;
        reparsed.Parse(written.Text());
        auto again = MakeRef<VxEditLangConfig>("Fuzz");
        QUILLET_FUZZ_CHECK(VxEditIniConfigReader::ReadFrom(reparsed, *again) == 1);
        QUILLET_FUZZ_CHECK(again->GetTabSize() == config->GetTabSize());
        QUILLET_FUZZ_CHECK(again->GetMatchCase() == (config->GetMatchCase() ? 1 : 0));
    }

    // Values taken from the input itself, so the fuzzer can reach odd names.
    const std::size_t cut = text.find('\n');
    const std::string firstLine(text.substr(0, std::min<std::size_t>(cut, 40)));
    WriteAndCheck(file, "Keywords", "class", "Keyword");
    WriteAndCheck(file, "ColorGroups", "NumGroups", "7");
    WriteAndCheck(file, firstLine, "Key", " spaced \"value\" ");
    WriteAndCheck(file, "Fuzz", firstLine, firstLine);
    return 0;
}
