// The indentation unit a loaded text is found to use: OpenJDK's own sources
// read as four spaces, small texts as what their lines show, and a huge text
// by its first lines only.
#include "ModelSupport.h"

#include "engine/VxEditIndentUnit.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace quillet::test {
namespace {

namespace fs = std::filesystem;
using Kind = VxEditIndentUnit::Kind;

constexpr const char* kSourceZip = "/usr/lib/jvm/java-17-openjdk-amd64/lib/src.zip";

VxEditIndentUnit UnitOfLoaded(const TempDir& dir, const std::string& text)
{
    const std::string path = dir.File("Sample.java");
    WriteFileBytes(path, text);
    auto model = NewModel();
    EXPECT_EQ(1, model->LoadFile(path));
    return model->DetectedIndent();
}

TEST(IndentUnit, OpenJdkSourcesAreIndentedWithFourSpaces)
{
    if (!fs::exists(kSourceZip))
        GTEST_SKIP() << kSourceZip << " is missing (Debian package openjdk-17-source)";
    TempDir dir;
    const ProcessResult unpacked =
        RunProcess({"jar", "xf", kSourceZip, "java.base/java/util", "java.base/java/lang"},
                   dir.Path().string());
    ASSERT_EQ(0, unpacked.exitStatus) << unpacked.err;
    // A file with no indented code (package-info.java, a bare annotation
    // type) shows no unit; every other one reads as four spaces.
    std::size_t checked = 0;
    std::size_t unknown = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path())) {
        if (entry.path().extension() != ".java")
            continue;
        SCOPED_TRACE(entry.path().string());
        auto model = NewModel();
        ASSERT_EQ(1, model->LoadFile(entry.path().string()));
        ++checked;
        if (model->DetectedIndent().kind == Kind::kUnknown) {
            ++unknown;
            continue;
        }
        EXPECT_EQ(Kind::kSpaces, model->DetectedIndent().kind);
        EXPECT_EQ(4, model->DetectedIndent().spaces);
    }
    EXPECT_GT(checked, 600u);
    EXPECT_LT(unknown * 10, checked);
}

TEST(IndentUnit, SmallTextsReadAsTheirLinesShow)
{
    TempDir dir;
    EXPECT_EQ(Kind::kTabs, UnitOfLoaded(dir, "class A {\n\tint a;\n\tvoid f() {\n\t\tg(1,\n\t\t  2);\n\t}\n}\n").kind);
    const VxEditIndentUnit two = UnitOfLoaded(dir, "class A {\n  /**\n   * f\n   */\n  void f() {\n    g();\n  }\n}\n");
    EXPECT_EQ(Kind::kSpaces, two.kind);
    EXPECT_EQ(2, two.spaces);
    const VxEditIndentUnit eight = UnitOfLoaded(dir, "class A {\r\n        int a;\r\n}\r\n");
    EXPECT_EQ(Kind::kSpaces, eight.kind);
    EXPECT_EQ(8, eight.spaces);
    EXPECT_EQ(Kind::kUnknown, UnitOfLoaded(dir, "class A {}\n\n   \n").kind);
    EXPECT_EQ(Kind::kUnknown, UnitOfLoaded(dir, "").kind);
}

TEST(IndentUnit, AHugeTextIsJudgedByItsFirstIndentedLines)
{
    std::string text;
    for (int i = 0; i < 2 * VxEditIndentUnit::kSampleLines; ++i)
        text += i % 2 ? "  a;\n" : "b {\n";
    for (int i = 0; i < 4 * VxEditIndentUnit::kSampleLines; ++i)
        text += "\tc;\n";
    TempDir dir;
    const VxEditIndentUnit unit = UnitOfLoaded(dir, text);
    EXPECT_EQ(Kind::kSpaces, unit.kind);
    EXPECT_EQ(2, unit.spaces);
}

TEST(IndentUnit, ANewTextHasNoUnitOfItsOwn)
{
    TempDir dir;
    const std::string path = dir.File("Sample.java");
    WriteFileBytes(path, "class A {\n  int a;\n}\n");
    auto model = NewModel();
    ASSERT_EQ(1, model->LoadFile(path));
    model->SetBraceIndented(true);
    EXPECT_TRUE(model->IndentsWithSpaces());
    EXPECT_EQ(2, model->IndentWidth());
    model->NewText();
    EXPECT_FALSE(model->IndentsWithSpaces());
    EXPECT_EQ(model->TabSize(), model->IndentWidth());
}

}  // namespace
}  // namespace quillet::test
