#include "JavaToolsSupport.h"

#include "javatools/classview/DeclarationScanner.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace quillet::test;

namespace {

using Kind = VxScrivoDeclaration::Kind;

std::vector<VxScrivoDeclaration> Scan(const std::string& text, const char* language = "Java")
{
    RegisterJavaAndHtml();
    auto model = ScrivoModel(text, language);
    DeclarationScanner::Rebuild(*model);
    return model->Declarations();
}

}  // namespace

TEST(DeclarationTest, RealJavaSourceListsItsTypesByNameKindAndLine)
{
    const std::string source = DataFile("Declarations.java");
    // The source is real Java 17.
    TempDir dir;
    WriteFileBytes(dir.File("Declarations.java"), source);
    const ProcessResult javac = RunProcess({"javac", "-d", dir.File("out"), dir.File("Declarations.java")});
    ASSERT_TRUE(javac.started);
    EXPECT_EQ(javac.exitStatus, 0) << javac.err;

    const std::vector<VxScrivoDeclaration> expected = {
        {"Declarations", 11, Kind::kClass}, {"Nested", 21, Kind::kClass},
        {"Inner", 22, Kind::kClass},        {"Annotated", 27, Kind::kClass},
        {"Colour", 32, Kind::kEnum},        {"Point", 34, Kind::kRecord},
        {"Circle", 51, Kind::kRecord},      {"Square", 54, Kind::kClass},
        {"Base", 58, Kind::kClass},         {"Visitor", 41, Kind::kInterface},
        {"Marker", 45, Kind::kInterface},   {"Shape", 48, Kind::kInterface},
    };
    const std::vector<VxScrivoDeclaration> found = Scan(source);
    ASSERT_EQ(found.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(found[i].name, expected[i].name) << i;
        EXPECT_EQ(found[i].line, expected[i].line) << expected[i].name;
        EXPECT_EQ(found[i].kind, expected[i].kind) << expected[i].name;
    }
}

TEST(DeclarationTest, HeadersOfThePlainForms)
{
    const std::string text = "import a;\r\n\r\n\r\n\r\n\r\n"
                             "public class Hello extends Applet implements Runnable {\r\n"
                             "class World{\r\n"
                             "class Outer\r\n{\r\n";
    const std::vector<VxScrivoDeclaration> found = Scan(text);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0], (VxScrivoDeclaration{"Hello", 5, Kind::kClass}));
    EXPECT_EQ(found[1], (VxScrivoDeclaration{"World", 6, Kind::kClass}));
    EXPECT_EQ(found[2], (VxScrivoDeclaration{"Outer", 7, Kind::kClass}));
}

TEST(DeclarationTest, HtmlAndOneLineTextsHaveNoDeclarations)
{
    EXPECT_TRUE(Scan("<html>\r\nclass Hello {\r\n</html>", "HTML").empty());
    EXPECT_TRUE(Scan("class Hello { }").empty());
}

// Old Mac files end their lines with a lone CR: one line for the editor,
// where the class and its members are listed on the line a double click
// goes to.
TEST(DeclarationTest, AFileWithLoneCrLineEndsListsItsClassAndItsField)
{
    RegisterJavaAndHtml();
    auto model = ScrivoModel("class Mac {\r  int one;\r}\r");
    ASSERT_EQ(1, model->LineCount());
    DeclarationScanner::Rebuild(*model);
    ASSERT_EQ(1u, model->Declarations().size());
    EXPECT_EQ(model->Declarations()[0], (VxScrivoDeclaration{"Mac", 0, Kind::kClass}));
    const std::vector<VxScrivoMember>& outline = model->Outline();
    ASSERT_EQ(2u, outline.size());
    EXPECT_EQ("Mac", outline[0].name);
    EXPECT_EQ((VxScrivoMember{"one", "one", 0, VxScrivoMember::kField, 0, 0}), outline[1]);
}

// A scan in steps of any size finds what one scan of the whole text finds,
// and an edit between steps starts it over on the edited text.
TEST(DeclarationTest, ScanningInStepsFindsWhatOneScanFinds)
{
    RegisterJavaAndHtml();
    const std::string source = DataFile("Declarations.java");
    std::string text;
    for (int copy = 0; copy < 4; ++copy)
        text += source;
    const std::vector<VxScrivoDeclaration> whole = Scan(text);
    ASSERT_FALSE(whole.empty());
    const auto same = [](const std::vector<VxScrivoDeclaration>& a, const std::vector<VxScrivoDeclaration>& b) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (a[i].name != b[i].name || a[i].line != b[i].line || a[i].kind != b[i].kind)
                return false;
        }
        return true;
    };
    for (const std::int64_t step : {std::int64_t{1}, std::int64_t{7}, std::int64_t{100}, std::int64_t{4096}}) {
        auto model = ScrivoModel(text, "Java");
        DeclarationScanner scanner(*model);
        int steps = 0;
        while (!scanner.Step(step))
            ++steps;
        EXPECT_TRUE(same(whole, model->Declarations())) << "steps of " << step;
        EXPECT_GT(steps, 0);
    }

    auto model = ScrivoModel(text, "Java");
    DeclarationScanner scanner(*model);
    ASSERT_FALSE(scanner.Step(static_cast<std::int64_t>(text.size() / 2)));
    const std::string added = "class Added {}\n";
    model->InsertAtLineCol(0, 0, added.data(), static_cast<std::int64_t>(added.size()));
    while (!scanner.Step(1000))
        continue;
    ASSERT_FALSE(model->Declarations().empty());
    EXPECT_EQ("Added", model->Declarations().front().name);
    EXPECT_EQ(whole.size() + 1, model->Declarations().size());
}
