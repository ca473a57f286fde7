// Fold regions of real Java sources (OpenJDK 17's java.util) against a small
// Java lexer: every brace block and block comment that spans lines can be
// folded, braces in strings and comments never count, the imports fold as
// one run, and the regions nest or stand apart so that all can be folded at
// once. HTML elements and comments spanning lines fold too.
#include "ScanSupport.h"

#include "engine/VxEditDisplayLineMap.h"
#include "engine/VxEditFoldRegions.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSourceZip = "/usr/lib/jvm/java-17-openjdk-amd64/lib/src.zip";

struct Expected {
    std::vector<VxEditFoldRegion> blocks;    // brace pairs over lines
    std::vector<VxEditFoldRegion> comments;  // block comments over lines
    std::int32_t firstImport = -1;
    std::int32_t lastImport = -1;
};

// Comments, strings, characters and text blocks are passed over; what is
// left is code.
Expected Lex(const std::string& text)
{
    Expected expected;
    std::vector<std::int32_t> open;
    std::int32_t line = 0;
    bool lineStart = true;
    auto at = [&](std::size_t i, const char* s) { return text.compare(i, std::strlen(s), s) == 0; };
    auto pass = [&](std::size_t& i, const char* end, bool escapes) {
        while (i < text.size() && !at(i, end)) {
            if (escapes && text[i] == '\\')
                ++i;
            else if (text[i] == '\n')
                ++line;
            ++i;
        }
        i += std::strlen(end);
    };
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            lineStart = true;
            ++i;
            continue;
        }
        if (lineStart && c != ' ' && c != '\t') {
            lineStart = false;
            if (at(i, "import ")) {
                if (expected.firstImport < 0)
                    expected.firstImport = line;
                expected.lastImport = line;
            }
        }
        if (at(i, "//")) {
            pass(i, "\n", false);
            --i;  // the line end is read as one
        } else if (at(i, "/*")) {
            const std::int32_t first = line;
            i += 2;
            pass(i, "*/", false);
            if (line > first)
                expected.comments.push_back({first, line, VxEditFoldRegion::kComment});
        } else if (at(i, "\"\"\"")) {
            i += 3;
            pass(i, "\"\"\"", true);
        } else if (c == '"' || c == '\'') {
            ++i;
            pass(i, c == '"' ? "\"" : "'", true);
        } else {
            if (c == '{') {
                open.push_back(line);
            } else if (c == '}') {
                if (open.back() < line)
                    expected.blocks.push_back({open.back(), line, VxEditFoldRegion::kBlock});
                open.pop_back();
            }
            ++i;
        }
    }
    return expected;
}

// Whether a region of the kind starts on first and ends on last or, where
// something else starts on last, the line before.
bool Found(const std::vector<VxEditFoldRegion>& regions, const VxEditFoldRegion& wanted)
{
    for (const VxEditFoldRegion& region : regions) {
        if (region.first == wanted.first)
            return region.last == wanted.last || region.last == wanted.last - 1 || region.kind != wanted.kind;
    }
    return wanted.last - wanted.first < 2;
}

TEST(FoldRegions, OpenJdkSourcesFoldTheirBlocksCommentsAndImportsAndNoBraceInAStringOrComment)
{
    if (!fs::exists(kSourceZip))
        GTEST_SKIP() << kSourceZip << " is missing (Debian package openjdk-17-source)";
    TempDir dir;
    const std::vector<std::string> names = {"ArrayList.java", "HashMap.java", "Formatter.java"};
    std::vector<std::string> argv = {"unzip", "-q", "-o", kSourceZip};
    for (const std::string& name : names)
        argv.push_back("java.base/java/util/" + name);
    const ProcessResult unpacked = RunProcess(argv, dir.Path().string());
    ASSERT_EQ(0, unpacked.exitStatus) << unpacked.err;
    RegisterRealConfigs();
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        auto model = NewModel<VxScrivo>();
        model->SetLangConfigByName("Java");
        ASSERT_EQ(1, model->LoadFile((dir.Path() / "java.base/java/util" / name).string()));
        const Expected expected = Lex(AllText(*model));
        ASSERT_GT(expected.blocks.size(), 20u);
        ASSERT_GT(expected.comments.size(), 20u);
        ASSERT_GT(expected.lastImport, expected.firstImport);

        const std::vector<VxEditFoldRegion> regions = VxEditFoldRegions(*model).Find();
        for (const VxEditFoldRegion& block : expected.blocks)
            EXPECT_TRUE(Found(regions, block)) << "block " << block.first << ".." << block.last;
        for (const VxEditFoldRegion& comment : expected.comments)
            EXPECT_TRUE(Found(regions, comment)) << "comment " << comment.first << ".." << comment.last;
        // Nothing else: each region is one of the lexer's.
        std::size_t imports = 0;
        for (const VxEditFoldRegion& region : regions) {
            const std::vector<VxEditFoldRegion>& pool =
                region.kind == VxEditFoldRegion::kBlock ? expected.blocks : expected.comments;
            if (region.kind == VxEditFoldRegion::kImports) {
                ++imports;
                EXPECT_EQ(expected.firstImport, region.first);
                EXPECT_EQ(expected.lastImport, region.last);
                continue;
            }
            EXPECT_TRUE(std::any_of(pool.begin(), pool.end(), [&](const VxEditFoldRegion& r) {
                return r.first == region.first && (r.last == region.last || r.last == region.last + 1);
            })) << "unexpected region " << region.first << ".." << region.last << " kind " << region.kind;
        }
        EXPECT_EQ(1u, imports);
        // Regions nest or stand apart, in order: all fold at once, and the
        // lines left on show are those no region hides.
        VxEditDisplayLineMap map(model->LineCount());
        std::vector<bool> hidden(static_cast<std::size_t>(model->LineCount()), false);
        for (std::size_t i = 0; i < regions.size(); ++i) {
            ASSERT_LT(regions[i].first, regions[i].last);
            if (i > 0) {
                ASSERT_LT(regions[i - 1].first, regions[i].first);
            }
            for (std::size_t j = 0; j < i; ++j)
                ASSERT_TRUE(regions[i].first > regions[j].last || regions[i].last <= regions[j].last)
                    << regions[j].first << ".." << regions[j].last << " crosses " << regions[i].first << ".."
                    << regions[i].last;
            ASSERT_TRUE(map.Fold(regions[i].first, regions[i].last));
            for (std::int32_t line = regions[i].first + 1; line <= regions[i].last; ++line)
                hidden[static_cast<std::size_t>(line)] = true;
        }
        EXPECT_EQ(std::count(hidden.begin(), hidden.end(), false), map.DisplayLineCount());
    }
}

TEST(FoldRegions, HtmlElementsAndCommentsSpanningLinesFold)
{
    RegisterRealConfigs();
    const std::string page = "<html>\n"                            // 0
                             "<head><title>t</title>\n"            // 1
                             "<style>\n p { color: red }\n"        // 2, 3
                             " </style>\n"                         // 4
                             "</head>\n"                           // 5
                             "<body class=\"a>b\">\n"              // 6
                             "<!-- a\n comment -->\n"              // 7, 8
                             "<p>one<br>\n two<img src=x\n />\n"   // 9, 10, 11
                             "</p><div/>\n"                        // 12
                             "<ul><li>a</li>\n<li>b</ul>\n"        // 13, 14
                             "</body>\n</html>\n";                 // 15, 16
    auto model = ColouredModel("HTML", page);
    const std::vector<VxEditFoldRegion> regions = VxEditFoldRegions(*model).Find();
    const std::vector<VxEditFoldRegion> expected = {
        {0, 16, VxEditFoldRegion::kElement}, {1, 5, VxEditFoldRegion::kElement},
        {2, 4, VxEditFoldRegion::kElement},  {6, 15, VxEditFoldRegion::kElement},
        {7, 8, VxEditFoldRegion::kComment},  {9, 12, VxEditFoldRegion::kElement},
        {13, 14, VxEditFoldRegion::kElement}};
    EXPECT_EQ(expected, regions);
}

}  // namespace
}  // namespace quillet::test
