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
