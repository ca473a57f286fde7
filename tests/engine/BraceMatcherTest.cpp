// Matching brackets in real Java sources (OpenJDK 17's java.util): for every
// bracket outside strings and comments the partner found is the one a plain
// stack-based scan over a small Java lexer finds; brackets inside strings
// pair within their string only.
#include "ScanSupport.h"

#include "engine/VxEditBraceMatcher.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSourceZip = "/usr/lib/jvm/java-17-openjdk-amd64/lib/src.zip";

struct Bracket {
    std::int32_t line;
    std::int32_t column;
    bool operator<(const Bracket& other) const
    {
        return line < other.line || (line == other.line && column < other.column);
    }
};

// The code brackets of a Java text and their partners, by a stack over a
// lexer that knows comments, strings, characters and text blocks.
std::map<Bracket, Bracket> ReferencePairs(const std::string& text, std::vector<Bracket>& unpaired)
{
    std::map<Bracket, Bracket> pairs;
    std::vector<std::pair<Bracket, char>> stack;
    std::int32_t line = 0;
    std::int32_t column = 0;
    auto advance = [&](std::size_t& i) {
        if (text[i] == '\n') {
            ++line;
            column = 0;
        } else {
            ++column;
        }
        ++i;
    };
    auto at = [&](std::size_t i, const char* s) { return text.compare(i, std::strlen(s), s) == 0; };
    for (std::size_t i = 0; i < text.size();) {
        if (at(i, "//")) {
            while (i < text.size() && text[i] != '\n')
                advance(i);
        } else if (at(i, "/*")) {
            advance(i), advance(i);
            while (i < text.size() && !at(i, "*/"))
                advance(i);
            if (i < text.size())
                advance(i), advance(i);
        } else if (at(i, "\"\"\"")) {
            for (int k = 0; k < 3; ++k)
                advance(i);
            while (i < text.size() && !at(i, "\"\"\"")) {
                if (text[i] == '\\')
                    advance(i);
                if (i < text.size())
                    advance(i);
            }
            for (int k = 0; k < 3 && i < text.size(); ++k)
                advance(i);
        } else if (text[i] == '"' || text[i] == '\'') {
            const char quote = text[i];
            advance(i);
            while (i < text.size() && text[i] != quote && text[i] != '\n') {
                if (text[i] == '\\')
                    advance(i);
                if (i < text.size())
                    advance(i);
            }
            if (i < text.size() && text[i] == quote)
                advance(i);
        } else {
            const char c = text[i];
            const Bracket here{line, column};
            if (c == '(' || c == '[' || c == '{') {
                stack.push_back({here, c});
            } else if (c == ')' || c == ']' || c == '}') {
                const char open = c == ')' ? '(' : c == ']' ? '[' : '{';
                if (!stack.empty() && stack.back().second == open) {
                    pairs[stack.back().first] = here;
                    pairs[here] = stack.back().first;
                    stack.pop_back();
                } else {
                    unpaired.push_back(here);
                }
            }
            advance(i);
        }
    }
    for (const auto& open : stack)
        unpaired.push_back(open.first);
    return pairs;
}

TEST(BraceMatcher, CodeBracketsOfOpenJdkSourcesPairAsAStackScanPairsThem)
{
    if (!fs::exists(kSourceZip))
        GTEST_SKIP() << kSourceZip << " is missing (Debian package openjdk-17-source)";
    TempDir dir;
    const ProcessResult unpacked = RunProcess({"jar", "xf", kSourceZip, "java.base/java/util"}, dir.Path().string());
    ASSERT_EQ(0, unpacked.exitStatus) << unpacked.err;
    RegisterRealConfigs();
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir.Path() / "java.base/java/util")) {
        if (entry.path().extension() == ".java")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 100u);
    std::size_t checked = 0;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        auto model = NewModel<VxScrivo>();
        model->SetLangConfigByName("Java");
        ASSERT_EQ(1, model->LoadFile(file.string()));
        std::vector<Bracket> unpaired;
        const std::map<Bracket, Bracket> pairs = ReferencePairs(AllText(*model), unpaired);
        EXPECT_TRUE(unpaired.empty());
        VxEditBraceMatcher matcher(*model);
        for (const auto& [bracket, partner] : pairs) {
            VxEditLineCol found(-1, -1);
            ASSERT_TRUE(matcher.FindPartner(VxEditLineCol(bracket.line, bracket.column), found))
                << "no partner for " << bracket.line << ":" << bracket.column;
            ASSERT_EQ(partner.line, found.line) << "bracket at " << bracket.line << ":" << bracket.column;
            ASSERT_EQ(partner.column, found.column) << "bracket at " << bracket.line << ":" << bracket.column;
            ++checked;
        }
    }
    EXPECT_GT(checked, 50000u);
    VxEditLangConfigRegistry::Instance().Reset();
}

TEST(BraceMatcher, BracketInAStringPairsWithinThatString)
{
    RegisterRealConfigs();
    auto model = ColouredModel("Java", "f(\"(a)\", ')', b) /* ( */ )\n");
    VxEditBraceMatcher matcher(*model);
    VxEditLineCol found;
    ASSERT_TRUE(matcher.FindPartner(VxEditLineCol(0, 3), found));
    EXPECT_EQ(VxEditLineCol(0, 5), found);
    ASSERT_TRUE(matcher.FindPartner(VxEditLineCol(0, 1), found));
    EXPECT_EQ(VxEditLineCol(0, 15), found);
    EXPECT_FALSE(matcher.FindPartner(VxEditLineCol(0, 20), found));  // "(" in a comment, alone there
    EXPECT_FALSE(matcher.FindPartner(VxEditLineCol(0, 25), found));  // ")" with no code partner
    ASSERT_TRUE(matcher.BracketAt(VxEditLineCol(0, 16), found));     // caret just after ")"
    EXPECT_EQ(VxEditLineCol(0, 15), found);
    VxEditLangConfigRegistry::Instance().Reset();
}

}  // namespace
}  // namespace quillet::test
