#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "language/VxEditLangConfig.h"
#include "mvc/CArchive.h"

#include <string>
#include <string_view>

using tarrow::foundation::CArchive;
using tarrow::foundation::MakeRef;

namespace {

std::string Stored(VxEditLangConfig& config)
{
    auto archive = CArchive::ForStoring();
    QUILLET_FUZZ_CHECK(config.Serialize(archive));
    return archive.TakeBytes();
}

// Runs the lookups the scanner makes with the input as line text.
void Query(const VxEditLangConfig& config, std::string_view text)
{
    const int length = static_cast<int>(std::min<std::size_t>(text.size(), 64));
    for (int at = 0; at < length; ++at) {
        int group = -1;
        const int found = config.LookupKeyword(text.data() + at, length - at, group);
        QUILLET_FUZZ_CHECK(found == 0 || found == length - at);
        for (int kind = 0; kind < 3; ++kind) {
            const VxEditLangTag* tag = config.FindTag(text.data() + at, length - at, 0, kind);
            QUILLET_FUZZ_CHECK(!tag || text.substr(at).rfind(tag->BeginTag, 0) == 0);
        }
        for (int set = 0; set < VxEditLangConfig::kSetCount; ++set)
            config.IsInCharSet(static_cast<unsigned char>(text[at]), set);
    }
    std::vector<VxEditLangTag*> tags;
    config.ListTags(tags, 2);
    for (const VxEditLangTag* tag : tags)
        QUILLET_FUZZ_CHECK(tag->ColorGroup >= 0 && tag->ColorGroup < config.GetColorGroupCount());
}

}  // namespace

int FuzzBinaryConfig(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto config = MakeRef<VxEditLangConfig>("Fuzz");
    const std::string reset = Stored(*config);

    auto archive = CArchive::ForLoading(bytes);
    if (!config->Serialize(archive)) {
        QUILLET_FUZZ_CHECK(Stored(*config) == reset);
        return 0;
    }
    QUILLET_FUZZ_CHECK(archive.Consumed() <= size);
    QUILLET_FUZZ_CHECK(config->GetColorGroupCount() >= 4);
    for (int kind = 0; kind < 4; ++kind)
        QUILLET_FUZZ_CHECK(config->GetSpecialColorGroup(kind) != nullptr);
    Query(*config, bytes);

    // What was read stores and reads back to the same form.
    const std::string stored = Stored(*config);
    auto again = MakeRef<VxEditLangConfig>("Fuzz");
    auto reread = CArchive::ForLoading(stored);
    QUILLET_FUZZ_CHECK(again->Serialize(reread));
    QUILLET_FUZZ_CHECK(reread.Remaining() == 0);
    QUILLET_FUZZ_CHECK(Stored(*again) == stored);
    return 0;
}
