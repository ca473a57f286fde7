// Feeds every checked-in fuzzing input through its fuzzed entry point, so
// inputs that once found a fault keep guarding against it.
#include "fuzz/LanguageFuzz.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

int ReplayFolder(const std::string& name, int (*target)(const std::uint8_t*, std::size_t))
{
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(QUILLET_FUZZ_CORPUS) + name)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        SCOPED_TRACE(entry.path().filename().string());
        EXPECT_EQ(target(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
        ++replayed;
    }
    return replayed;
}

}  // namespace

TEST(FuzzCorpus, BinaryConfigInputs)
{
    EXPECT_GT(ReplayFolder("binary", FuzzBinaryConfig), 2);
    EXPECT_EQ(FuzzBinaryConfig(nullptr, 0), 0);
}

TEST(FuzzCorpus, IniFileInputs)
{
    EXPECT_GT(ReplayFolder("ini", FuzzIniFile), 2);
    EXPECT_EQ(FuzzIniFile(reinterpret_cast<const std::uint8_t*>(""), 0), 0);
}

TEST(FuzzCorpus, FileLoadInputs)
{
    EXPECT_GT(ReplayFolder("load", FuzzFileLoad), 2);
    EXPECT_EQ(FuzzFileLoad(reinterpret_cast<const std::uint8_t*>(""), 0), 0);
}

TEST(FuzzCorpus, JavaColourInputs)
{
    EXPECT_GT(ReplayFolder("colour", FuzzJavaColour), 2);
    EXPECT_EQ(FuzzJavaColour(reinterpret_cast<const std::uint8_t*>(""), 0), 0);
}
