#include "language/VxEditIniConfigReader.h"
#include "language/VxEditIniFile.h"
#include "language/VxEditLangConfig.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace tarrow::foundation;

namespace {

const std::string kSourceIni = std::string(QUILLET_SOURCE_DIR) + "resources/java.ini";
const std::string kProgramIni = std::string(QUILLET_PROGRAM_DIR) + "java.ini";

RefPtr<VxEditLangConfig> Java()
{
    auto config = MakeRef<VxEditLangConfig>("Java");
    EXPECT_EQ(MakeRef<VxEditIniConfigReader>(kSourceIni)->Load(*config), 1);
    return config;
}

int GroupOf(const VxEditLangConfig& config, const std::string& word)
{
    int group = -1;
    return config.LookupKeyword(word.data(), static_cast<int>(word.size()), group) ? group : -1;
}

std::string BeginAt(const VxEditLangConfig& config, const std::string& text, int kind)
{
    const VxEditLangTag* tag = config.FindTag(text.data(), static_cast<int>(text.size()), 0, kind);
    return tag ? tag->BeginTag : "(none)";
}

}  // namespace

TEST(JavaIni, IsDeliveredBesideTheProgram)
{
    EXPECT_EQ(quillet::test::ReadFileBytes(kProgramIni), quillet::test::ReadFileBytes(kSourceIni));
}

TEST(JavaIni, EveryLineIsUnderstood)
{
    VxEditIniFile file(kSourceIni);
    ASSERT_TRUE(file.Load());
    const int groups = file.GetInt("ColorGroups", "NumGroups", 0);
    for (int k = 1; k <= groups; ++k)
        EXPECT_FALSE(file.GetString("ColorGroups", "Group" + std::to_string(k), "").empty()) << k;
    auto config = Java();
    EXPECT_EQ(config->GetColorGroupCount(), groups);  // the four special groups are redefined in place
    EXPECT_EQ(config->GetKeywordTable().Count(), file.GetSection("Keywords").size());
    EXPECT_EQ(config->GetTagTable().TagCount(), static_cast<std::size_t>(file.GetInt("Parser", "NumTags", 0)));
}

TEST(JavaIni, HasTheGroupsTheEditorLooksFor)
{
    auto config = Java();
    for (const char* name : {"Text", "Text Selection", "Number", "Operator", "Keyword", "Comment", "String",
                             "Error Line", "Highlight"}) {
        const int index = config->FindColorGroup(name);
        ASSERT_GE(index, 0) << name;
        EXPECT_EQ(config->GetColorGroup(index)->DisplayName, name);
    }
    for (int kind = 0; kind < 4; ++kind)
        EXPECT_EQ(config->GetSpecialColorGroupIndex(kind), kind);
    // Coloured text stays readable on white: no group draws near-white on white.
    for (int i = 2; i < config->GetColorGroupCount(); ++i) {
        const VxEditColorGroup& group = *config->GetColorGroup(i);
        const std::uint32_t c = group.Foreground;
        const int luminance = (299 * (c & 0xFF) + 587 * ((c >> 8) & 0xFF) + 114 * ((c >> 16) & 0xFF)) / 1000;
        EXPECT_LT(luminance, 150) << group.DisplayName;
    }
    EXPECT_EQ(config->GetMatchCase(), 1);
    EXPECT_EQ(config->GetTabSize(), 4);
}

TEST(JavaIni, KnowsTheJava17Keywords)
{
    auto config = Java();
    const int keyword = config->FindColorGroup("Keyword");
    for (const char* word :
         {"abstract", "assert", "boolean", "break", "byte", "case", "catch", "char", "class", "const", "continue",
          "default", "do", "double", "else", "enum", "extends", "final", "finally", "float", "for", "goto", "if",
          "implements", "import", "instanceof", "int", "interface", "long", "native", "new", "package", "private",
          "protected", "public", "return", "short", "static", "strictfp", "super", "switch", "synchronized", "this",
          "throw", "throws", "transient", "try", "void", "volatile", "while", "_", "true", "false", "null", "var",
          "record", "yield", "sealed", "permits"})
        EXPECT_EQ(GroupOf(*config, word), keyword) << word;
    EXPECT_EQ(GroupOf(*config, "Class"), -1);  // case matters in Java
    EXPECT_EQ(GroupOf(*config, "String"), -1);
    EXPECT_EQ(GroupOf(*config, "42L"), config->FindColorGroup("Number"));
    EXPECT_EQ(GroupOf(*config, "@Override"), config->FindColorGroup("Annotation"));
}

TEST(JavaIni, CommentsAndLiteralsAreTags)
{
    auto config = Java();
    const int comment = config->FindColorGroup("Comment");
    const int string = config->FindColorGroup("String");
    const VxEditLangTag* block = config->FindTag("/* x */", 7, 0, 1);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->EndTag, "*/");
    EXPECT_EQ(block->ColorGroup, comment);
    const VxEditLangTag* line = config->FindTag("// x", 4, 0, 0);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->EndTag, "");
    EXPECT_EQ(line->ColorGroup, comment);
    for (const char* quote : {"\"", "'"}) {
        const VxEditLangTag* literal = config->FindTag(quote, 1, 0, 0);
        ASSERT_NE(literal, nullptr) << quote;
        EXPECT_EQ(literal->EndTag, quote);
        EXPECT_EQ(literal->EscapeChar, "\\");
        EXPECT_EQ(literal->ColorGroup, string);
    }
    EXPECT_EQ(BeginAt(*config, "/x", 2), "(none)");
    EXPECT_EQ(config->IsInCharSet('/', VxEditLangConfig::kOperators), 1);
    EXPECT_EQ(config->IsInCharSet('.', VxEditLangConfig::kDelimiters), 1);
    EXPECT_EQ(config->IsInCharSet('_', VxEditLangConfig::kDelimiters), 0);
    EXPECT_EQ(config->IsInCharSet('$', VxEditLangConfig::kDelimiters), 0);
}
