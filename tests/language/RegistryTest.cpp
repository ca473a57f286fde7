#include "language/VxEditChainConfigReader.h"
#include "language/VxEditIniConfigReader.h"
#include "language/VxEditIniConfigWriter.h"
#include "language/VxEditLangConfigRegistry.h"
#include "language/VxEditRegConfigReader.h"
#include "language/VxEditRegConfigWriter.h"
#include "language/VxEditResConfigReader.h"
#include "platform/core/MemoryProfile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace tarrow::foundation;
using quillet::platform::MemoryProfile;
using quillet::test::TempDir;

namespace {

const std::string kJavaIni = std::string(QUILLET_SOURCE_DIR) + "resources/java.ini";

class CountingReader : public VxEditLangConfigReader {
public:
    explicit CountingReader(int result) : VxEditLangConfigReader(false), result_(result) {}
    int loads = 0;

protected:
    int Read(VxEditLangConfig& config) override
    {
        ++loads;
        config.SetTabSize(config.GetTabSize() + 1);
        return result_;
    }

private:
    int result_;
};

class CountingWriter : public VxEditLangConfigWriter {
public:
    explicit CountingWriter(int result) : result_(result) {}
    int saves = 0;
    int Save(const VxEditLangConfig&) override
    {
        ++saves;
        return result_;
    }

private:
    int result_;
};

// The process-wide registry, cleaned before and after each test.
class Registry : public ::testing::Test {
protected:
    void SetUp() override { VxEditLangConfigRegistry::Instance().Reset(); }
    void TearDown() override { VxEditLangConfigRegistry::Instance().Reset(); }
    VxEditLangConfigRegistry& registry = VxEditLangConfigRegistry::Instance();
};

}  // namespace

TEST_F(Registry, HoldsDefaultFromTheStartAndNothingElse)
{
    VxEditLangConfig* config = registry.Get("Default");
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(config->GetName(), "Default");
    EXPECT_EQ(config->GetColorGroupCount(), 4);
    EXPECT_EQ(config->RefCount(), 1);
    EXPECT_EQ(registry.Get("Default"), config);
    EXPECT_EQ(registry.Get("Java"), nullptr);
    EXPECT_EQ(registry.Save("Default"), 0);
    EXPECT_EQ(registry.Save(), 0);
}

TEST_F(Registry, ConfigurationIsReadOnceOnFirstUseAndShared)
{
    auto reader = MakeRef<CountingReader>(1);
    registry.Register("Lang", reader.Get());
    EXPECT_EQ(reader->RefCount(), 2);
    EXPECT_FALSE(registry.IsLoaded("Lang"));
    VxEditLangConfig* first = registry.Get("Lang");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetName(), "Lang");
    EXPECT_EQ(first->GetTabSize(), 5);
    EXPECT_EQ(registry.Get("Lang"), first);
    EXPECT_EQ(reader->loads, 1);

    // A model keeps its own reference beyond the registry's.
    RefPtr<VxEditLangConfig> held(first);
    registry.Reset();
    EXPECT_EQ(held->RefCount(), 1);
    EXPECT_EQ(reader->RefCount(), 1);
    EXPECT_EQ(held->GetName(), "Lang");
}

TEST_F(Registry, FailedReadStillGivesTheConfiguration)
{
    auto reader = MakeRef<CountingReader>(0);
    registry.Register("Broken", reader.Get());
    VxEditLangConfig* config = registry.Get("Broken");
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(config->GetTabSize(), 5);
}

TEST_F(Registry, RegisteringAgainReplacesAndReleases)
{
    auto first = MakeRef<CountingReader>(1);
    auto second = MakeRef<CountingReader>(1);
    auto writer = MakeRef<CountingWriter>(1);
    registry.Register("Lang", first.Get(), writer.Get());
    registry.Register("Lang", second.Get());  // the writer stays
    EXPECT_EQ(first->RefCount(), 1);
    EXPECT_EQ(second->RefCount(), 2);
    EXPECT_EQ(writer->RefCount(), 2);
    ASSERT_NE(registry.Get("Lang"), nullptr);
    EXPECT_EQ(first->loads, 0);
    EXPECT_EQ(second->loads, 1);
    EXPECT_EQ(registry.Save("Lang"), 1);
    EXPECT_EQ(writer->saves, 1);
}

TEST_F(Registry, SaveAllRunsEveryLoadedConfigurationWithAWriter)
{
    auto reader = MakeRef<CountingReader>(1);
    auto failing = MakeRef<CountingWriter>(0);
    auto working = MakeRef<CountingWriter>(1);
    auto unused = MakeRef<CountingWriter>(1);
    registry.Register("A", reader.Get(), failing.Get());
    registry.Register("B", reader.Get(), working.Get());
    registry.Register("C", reader.Get(), unused.Get());  // never loaded
    registry.Get("A");
    registry.Get("B");
    EXPECT_EQ(registry.Save("A"), 0);
    EXPECT_EQ(registry.Save("C"), 0);
    EXPECT_EQ(registry.Save(), 1);
    EXPECT_EQ(failing->saves, 2);
    EXPECT_EQ(working->saves, 1);
    EXPECT_EQ(unused->saves, 0);
}

TEST_F(Registry, StartUpRegistrationOfJavaAndHtml)
{
    TempDir dir;
    const std::string ini = dir.File("java.ini");
    std::filesystem::copy_file(kJavaIni, ini);
    MemoryProfile profile;
    profile.WriteInt("HTML\\Editor", "TabSize", 3);

    registry.Register("Java", MakeRef<VxEditIniConfigReader>(ini).Get(), MakeRef<VxEditIniConfigWriter>(ini).Get());
    auto chain = MakeRef<VxEditChainConfigReader>(std::vector<RefPtr<VxEditLangConfigReader>>{
        RefPtr<VxEditLangConfigReader>(MakeRef<VxEditResConfigReader>(146).Get()),
        RefPtr<VxEditLangConfigReader>(MakeRef<VxEditRegConfigReader>(profile, "HTML").Get())});
    registry.Register("HTML", chain.Get(), MakeRef<VxEditRegConfigWriter>(profile, "HTML\\").Get());

    VxEditLangConfig* java = registry.Get("Java");
    ASSERT_NE(java, nullptr);
    EXPECT_EQ(java->GetMatchCase(), 1);
    EXPECT_GE(java->FindColorGroup("Keyword"), 4);

    VxEditLangConfig* html = registry.Get("HTML");
    ASSERT_NE(html, nullptr);
    EXPECT_EQ(html->GetColorGroupCount(), 8);
    EXPECT_EQ(html->GetTabSize(), 3);

    html->SetTabSize(6);
    java->SetTabSize(2);
    EXPECT_EQ(registry.Save(), 1);
    EXPECT_EQ(profile.GetInt("HTML\\Editor", "TabSize", 0), 6);
    EXPECT_EQ(MakeRef<VxEditLangConfig>("x")->GetTabSize(), 4);
    auto reread = MakeRef<VxEditLangConfig>("Java");
    MakeRef<VxEditIniConfigReader>(ini)->Load(*reread);
    EXPECT_EQ(reread->GetTabSize(), 2);
}

TEST_F(Registry, ChainReportsFailureButKeepsReading)
{
    MemoryProfile profile;
    profile.WriteInt("HTML\\Editor", "TabSize", 7);
    auto chain = MakeRef<VxEditChainConfigReader>(std::vector<RefPtr<VxEditLangConfigReader>>{
        RefPtr<VxEditLangConfigReader>(MakeRef<VxEditResConfigReader>(999).Get()),
        RefPtr<VxEditLangConfigReader>(MakeRef<VxEditRegConfigReader>(profile, "HTML").Get())});
    auto config = MakeRef<VxEditLangConfig>("HTML");
    EXPECT_EQ(chain->Load(*config), 0);
    EXPECT_EQ(config->GetColorGroupCount(), 4);  // the reset state...
    EXPECT_EQ(config->GetTabSize(), 7);          // ...with the user's values over it
}
