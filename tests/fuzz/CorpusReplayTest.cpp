// Feeds every checked-in fuzzing input through its fuzzed entry point, so
// inputs that once found a fault keep guarding against it.
#include "FuzzTargets.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

struct Target {
    const char* name;  // also the corpus folder
    int (*entry)(const std::uint8_t*, std::size_t);
};

const Target kTargets[] = {
    {"BinaryConfig", FuzzBinaryConfig}, {"IniFile", FuzzIniFile},
    {"FileLoad", FuzzFileLoad},         {"JavaColour", FuzzJavaColour},
    {"HtmlColour", FuzzHtmlColour},     {"ArgumentSplit", FuzzArgumentSplit},
    {"CompilerMessage", FuzzCompilerMessage}, {"RecoveryRecord", FuzzRecoveryRecord},
    {"SettingsValues", FuzzSettingsValues}, {"JdwpPacket", FuzzJdwpPacket},
    {"LspMessage", FuzzLspMessage},
};

class FuzzCorpus : public testing::TestWithParam<Target> {};

TEST_P(FuzzCorpus, EveryInputPasses)
{
    const Target& target = GetParam();
    EXPECT_EQ(target.entry(reinterpret_cast<const std::uint8_t*>(""), 0), 0);
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(QUILLET_FUZZ_CORPUS) + target.name)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        SCOPED_TRACE(entry.path().filename().string());
        EXPECT_EQ(target.entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
        ++replayed;
    }
    EXPECT_GT(replayed, 2);
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzCorpus, testing::ValuesIn(kTargets),
                         [](const testing::TestParamInfo<Target>& info) { return std::string(info.param.name); });

}  // namespace
