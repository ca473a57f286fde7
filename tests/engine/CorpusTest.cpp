// Real Java sources from OpenJDK 17 (Debian's openjdk-17-source): every file
// opens unmodified with an empty history, colours without fault and saves
// byte for byte. A sample of a few hundred files runs here; scripts/corpus.sh
// runs all of them by naming a folder in QUILLET_CORPUS_DIR.
#include "ScanSupport.h"

#include "platform/core/MessageSeam.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSourceZip = "/usr/lib/jvm/java-17-openjdk-amd64/lib/src.zip";

std::vector<fs::path> JavaFilesUnder(const fs::path& root)
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file() && entry.path().extension() == ".java")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(OpenJdkSources, OpenUnmodifiedColourAndSaveByteForByte)
{
    TempDir dir;
    fs::path root;
    if (const char* corpus = std::getenv("QUILLET_CORPUS_DIR"); corpus && *corpus) {
        root = corpus;
    } else {
        if (!fs::exists(kSourceZip))
            GTEST_SKIP() << kSourceZip << " is missing (Debian package openjdk-17-source)";
        // The launcher's resources hold lines of several thousand columns,
        // the diagnostic commands hold text blocks.
        const ProcessResult unpacked =
            RunProcess({"jar", "xf", kSourceZip, "java.base/sun/launcher", "java.base/java/util",
                        "jdk.jcmd/sun/tools/jcmd", "jdk.jfr/jdk/jfr/internal/dcmd"},
                       dir.Path().string());
        ASSERT_EQ(0, unpacked.exitStatus) << unpacked.err;
        root = dir.Path();
    }
    RegisterRealConfigs();
    quillet::platform::RecordingMessageSink messages;
    const std::vector<fs::path> files = JavaFilesUnder(root);
    ASSERT_GE(files.size(), 300u);
    const std::string copy = dir.File("saved.java");
    int longLines = 0;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        auto model = NewModel<VxScrivo>();
        model->SetLangConfigByName("Java");
        ASSERT_EQ(1, model->LoadFile(file.string()));
        EXPECT_EQ(0, model->IsModified());
        EXPECT_EQ(0u, model->UndoCount());
        for (std::int32_t line = 0; line <= model->LastLine(); ++line) {
            ASSERT_NE(nullptr, model->GetColourRuns(line));
            longLines += model->DisplayLength(line) > VxEdit::kMaxLineLength ? 1 : 0;
        }
        ASSERT_EQ(1, model->SaveFile(copy));
        ASSERT_TRUE(ReadFileBytes(file.string()) == ReadFileBytes(copy)) << "saved bytes differ";
    }
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_GT(longLines, 0);  // the sample holds lines longer than the limit
    VxEditLangConfigRegistry::Instance().Reset();
}

}  // namespace
}  // namespace quillet::test
