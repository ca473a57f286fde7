// JavaScript colouring with the delivered javascript.ini: regular
// expressions told apart from division, template literals whose
// substitutions are code on every line and nest, and the JavaScript files
// Debian ships coloured without fault, their comments and strings where a
// small tokenizer of this test finds them.
#include "ScanSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

class ScriptColourTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterRealConfigs();
        VxEditLangConfigRegistry::Instance().Register(
            "JavaScript", tarrow::foundation::MakeRef<VxEditIniConfigReader>(QUILLET_JAVASCRIPT_INI).Get());
        VxEditLangConfigRegistry::Instance().Register(
            "CSS", tarrow::foundation::MakeRef<VxEditIniConfigReader>(QUILLET_CSS_INI).Get());
    }

    int Group(const char* name) { return model->GetLangConfig()->FindColorGroup(name); }

    // The group name of the byte at column of the line.
    std::string At(int line, int column)
    {
        const std::vector<int> groups = ByteGroups(*model, line);
        if (column >= static_cast<int>(groups.size()))
            return "(none)";
        return model->GetLangConfig()->GetColorGroupName(groups[static_cast<std::size_t>(column)]);
    }

    // The group name of the first byte of the first occurrence of needle on the line.
    std::string AtText(int line, const std::string& needle, std::size_t from = 0)
    {
        const std::size_t column = LineOf(*model, line).find(needle, from);
        EXPECT_NE(column, std::string::npos) << needle;
        return At(line, static_cast<int>(column));
    }

    tarrow::foundation::RefPtr<VxScrivo> model;
};

TEST_F(ScriptColourTest, SlashIsDivisionAfterValuesAndRegexAfterOperatorsAndKeywords)
{
    model = ColouredModel("JavaScript",
                          "x = a / b / c;\n"          // 0: division twice
                          "x = /re/g;\n"              // 1
                          "if (x) /re/.test(s);\n"    // 2: ) closing an if head
                          "return /re/;\n"            // 3
                          "}\n"                       // 4
                          "/re/.exec(s);\n"           // 5: after } on the line above
                          "y = f(x) / 2 / g[1];\n"    // 6: after ) of a call and ]
                          "z = typeof /a[/]b/i;\n");  // 7: a slash inside a class
    EXPECT_EQ(AtText(0, "/"), "Operator");
    EXPECT_EQ(AtText(0, "b"), "Text");
    EXPECT_EQ(AtText(0, "/", 7), "Operator");
    EXPECT_EQ(AtText(1, "/re"), "Regex");
    EXPECT_EQ(AtText(1, "g;"), "Regex");
    EXPECT_EQ(AtText(1, ";"), "Text");
    EXPECT_EQ(AtText(2, "/re"), "Regex");
    EXPECT_EQ(AtText(2, ".test"), "Text");
    EXPECT_EQ(AtText(3, "/re"), "Regex");
    EXPECT_EQ(AtText(5, "/re"), "Regex");
    EXPECT_EQ(AtText(6, "/ 2"), "Operator");
    EXPECT_EQ(AtText(6, "2"), "Number");
    EXPECT_EQ(AtText(6, "/ g"), "Operator");
    EXPECT_EQ(AtText(7, "b/i"), "Regex");
    EXPECT_EQ(AtText(7, "i;"), "Regex");
    EXPECT_EQ(AtText(7, ";"), "Text");
}

TEST_F(ScriptColourTest, NumbersKeywordsAndDocumentationComments)
{
    model = ColouredModel("JavaScript",
                          "const n = 0x1F + 1_000n + 1.5e-3 + .25;\n"
                          "/** Docs @param x */ /**/ /* plain */\n");
    EXPECT_EQ(Named(*model, 0)[0], (std::pair<int, std::string>(5, "Keyword")));
    EXPECT_EQ(AtText(0, "x1F"), "Number");
    EXPECT_EQ(AtText(0, "000n"), "Number");
    EXPECT_EQ(AtText(0, "5e-3"), "Number");
    EXPECT_EQ(AtText(0, "-3"), "Number");
    EXPECT_EQ(AtText(0, "25"), "Number");
    EXPECT_EQ(AtText(1, "Docs"), "Doc Comment");
    EXPECT_EQ(AtText(1, "/**/"), "Comment");
    EXPECT_EQ(AtText(1, "plain"), "Comment");
}

TEST_F(ScriptColourTest, TemplatesNestThreeDeepWithCodeInEverySubstitution)
{
    model = ColouredModel("JavaScript", "s = `a${ `b${ `c${ new X }` }` }d` + 1;\n");
    EXPECT_EQ(AtText(0, "`a"), "Template");
    EXPECT_EQ(AtText(0, "b$"), "Template");
    EXPECT_EQ(AtText(0, "c$"), "Template");
    EXPECT_EQ(AtText(0, "new"), "Keyword");
    EXPECT_EQ(AtText(0, "X"), "Text");
    EXPECT_EQ(AtText(0, "d`"), "Template");
    EXPECT_EQ(AtText(0, "+"), "Operator");
    EXPECT_EQ(AtText(0, "1;"), "Number");
}

TEST_F(ScriptColourTest, TemplateAcrossLinesColoursItsSubstitutionsAsCode)
{
    model = ColouredModel("JavaScript",
                          "let page = html`\n"                         // 0
                          "  <ul>${items.map(\n"                       // 1
                          "    (i) => `<li>${ typeof i }</li>`\n"      // 2
                          "  )}</ul> /* not a comment */\n"             // 3
                          "`; return 1; // done\n"                     // 4
                          "let after = `x`;\n");                       // 5
    // Asked from the bottom up, so that each line is found from the span.
    EXPECT_EQ(AtText(5, "let"), "Keyword");
    EXPECT_EQ(AtText(4, "return"), "Keyword");
    EXPECT_EQ(AtText(4, "`;"), "Template");
    EXPECT_EQ(AtText(4, "// done"), "Comment");
    EXPECT_EQ(AtText(3, ")"), "Text");
    EXPECT_EQ(AtText(3, "}</ul>"), "Template");
    EXPECT_EQ(AtText(3, "not"), "Template");
    EXPECT_EQ(AtText(2, "typeof"), "Keyword");
    EXPECT_EQ(AtText(2, "<li>"), "Template");
    EXPECT_EQ(AtText(2, "</li>"), "Template");
    EXPECT_EQ(AtText(1, "<ul>"), "Template");
    EXPECT_EQ(AtText(1, "items"), "Text");
    EXPECT_EQ(AtText(0, "let"), "Keyword");
    EXPECT_EQ(AtText(0, "`"), "Template");

    // An edit that closes the template early turns the rest into code.
    model->InsertAtLineCol(1, 2, "`;", 2);
    EXPECT_EQ(AtText(1, "<ul>"), "Operator");
    EXPECT_EQ(AtText(2, "typeof"), "Keyword");
}

TEST_F(ScriptColourTest, StyleSheetsColourSelectorsPropertiesValuesAndColours)
{
    model = ColouredModel("CSS",
                          "@media screen {\n"
                          "  #main .note > p { background-color: #fff; margin: -1.5em 0 /* c */; }\n"
                          "  a::after { content: \"}\"; color: #12345g }\n"
                          "}\n");
    EXPECT_EQ(AtText(0, "@media"), "At-Rule");
    EXPECT_EQ(AtText(1, "#main"), "Selector");
    EXPECT_EQ(AtText(1, "note"), "Selector");
    EXPECT_EQ(AtText(1, "background-color"), "Property");
    EXPECT_EQ(AtText(1, "#fff"), "Color");
    EXPECT_EQ(AtText(1, "-1.5em"), "Number");
    EXPECT_EQ(AtText(1, "em 0"), "Number");
    EXPECT_EQ(AtText(1, "c */"), "Comment");
    EXPECT_EQ(AtText(2, "\"}\""), "String");
    EXPECT_NE(AtText(2, "#12345g"), "Color");
}

// The group of each byte of the whole text, line ends left out.
std::vector<std::string> GroupsOfText(VxScrivo& model)
{
    std::vector<std::string> names;
    for (int line = 0; line < model.LineCount(); ++line) {
        for (int group : ByteGroups(model, line))
            names.push_back(model.GetLangConfig()->GetColorGroupName(group));
    }
    return names;
}

TEST_F(ScriptColourTest, ScriptAndStyleElementsOfAPageAreColouredAsTheirLanguages)
{
    const std::string page = "<P>if (a < b) return</P>\n"                         // 0: text, not code
                             "<script type=\"module\">\n"                       // 1
                             "  if (a < b) { s = \"</script>\"; }\n"           // 2: ends in the string
                             "<style>\n"                                          // 3
                             "  p { color: red } /* <b> */\n"                    // 4
                             "</STYLE><script type=\"text/template\">if</script>\n"  // 5
                             "<script>let t = `${ 1 }`; // x</script><B>x</B>\n"       // 6
                             "<P style=\"color: red\" title=\"color\">\n";               // 7
    model = ColouredModel("HTML", page);
    EXPECT_EQ(AtText(0, "if"), "Text");
    EXPECT_EQ(AtText(1, "script"), "Element");
    EXPECT_EQ(AtText(1, "\"module\""), "String");
    EXPECT_EQ(AtText(2, "if"), "Element");
    EXPECT_EQ(AtText(2, "< b"), "Text");
    EXPECT_EQ(AtText(2, "\"</"), "String");
    // The end tag inside the string ends the script there.
    EXPECT_EQ(AtText(2, "script>"), "Element");
    EXPECT_EQ(AtText(2, "}"), "Text");
    EXPECT_EQ(AtText(4, "color"), "Attribute Name");
    EXPECT_EQ(AtText(4, "<b>"), "Comment");
    EXPECT_EQ(AtText(5, "</STYLE"), "Operator");
    EXPECT_EQ(AtText(5, "if"), "Text");
    EXPECT_EQ(AtText(6, "let"), "Element");
    EXPECT_EQ(AtText(6, "`"), "String");
    EXPECT_EQ(AtText(6, "1 }"), "Number");
    EXPECT_EQ(AtText(6, "// x"), "Comment");
    EXPECT_EQ(AtText(6, "B>"), "Element");
    EXPECT_EQ(AtText(7, "\"color:"), "String");
    EXPECT_EQ(AtText(7, "color:"), "Attribute Name");
    EXPECT_EQ(AtText(7, "red"), "Text");
    EXPECT_EQ(AtText(7, "color\">"), "String");

    // Asked for from the last line up, or after an edit, the colours are the same.
    const std::vector<std::string> forward = GroupsOfText(*model);
    auto fresh = ColouredModel("HTML", page);
    for (int line = fresh->LineCount() - 1; line >= 0; --line)
        fresh->GetColourRuns(line);
    EXPECT_EQ(GroupsOfText(*fresh), forward);
    model->InsertAtLineCol(4, 0, "x", 1);
    model->DeleteRange(4, 0, 4, 1);
    EXPECT_EQ(GroupsOfText(*model), forward);
}

// What a browser's tokenizer makes of a script, reduced to the bytes in
// comments (C) and quoted strings (S); template literals and regular
// expressions are marked T and R and not compared. It reads the whole text
// at once, tracking whether the last token was a value.
std::string Classify(const std::string& text)
{
    std::string kinds(text.size(), '.');
    std::vector<int> braces;  // per open substitution: its open braces
    bool valueBefore = false;
    std::string word;
    auto isName = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$'; };
    std::size_t i = 0;
    std::function<void()> templ = [&]() {
        // i at the opening backquote
        kinds[i++] = 'T';
        while (i < text.size()) {
            if (text[i] == '\\') {
                kinds[i++] = 'T';
                if (i < text.size())
                    kinds[i++] = 'T';
            } else if (text[i] == '`') {
                kinds[i++] = 'T';
                return;
            } else if (text[i] == '$' && i + 1 < text.size() && text[i + 1] == '{') {
                kinds[i] = kinds[i + 1] = 'T';
                i += 2;
                braces.push_back(0);
                return;
            } else {
                kinds[i++] = 'T';
            }
        }
    };
    while (i < text.size()) {
        const char c = text[i];
        const char next = i + 1 < text.size() ? text[i + 1] : 0;
        if (c == '/' && next == '/') {
            while (i < text.size() && text[i] != '\n')
                kinds[i++] = 'C';
        } else if (c == '/' && next == '*') {
            const std::size_t end = text.find("*/", i + 2);
            const std::size_t stop = end == std::string::npos ? text.size() : end + 2;
            for (; i < stop; ++i)
                kinds[i] = text[i] == '\n' ? '.' : 'C';
        } else if (c == '"' || c == '\'') {
            kinds[i++] = 'S';
            while (i < text.size() && text[i] != c && text[i] != '\n') {
                if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] != '\n')
                    kinds[i++] = 'S';
                kinds[i++] = 'S';
            }
            if (i < text.size() && text[i] == c)
                kinds[i++] = 'S';
            valueBefore = true;
        } else if (c == '`') {
            templ();
            valueBefore = true;
        } else if (c == '}' && !braces.empty() && braces.back() == 0) {
            braces.pop_back();
            templ();
            valueBefore = true;
        } else if (c == '/' && !valueBefore) {
            // A regular expression up to its closing slash on the line.
            bool inClass = false;
            std::size_t j = i + 1;
            for (; j < text.size() && text[j] != '\n'; ++j) {
                if (text[j] == '\\')
                    ++j;
                else if (text[j] == '[')
                    inClass = true;
                else if (text[j] == ']')
                    inClass = false;
                else if (text[j] == '/' && !inClass)
                    break;
            }
            const std::size_t stop = j < text.size() && text[j] == '/' ? j + 1 : i + 1;
            for (; i < stop; ++i)
                kinds[i] = 'R';
            valueBefore = true;
        } else if (isName(c)) {
            word.clear();
            while (i < text.size() && isName(text[i]))
                word += text[i++];
            static const std::vector<std::string> operators = {"return", "typeof", "case", "do", "else", "in",
                                                               "of", "new", "delete", "void", "throw",
                                                               "instanceof", "yield", "await"};
            valueBefore = std::find(operators.begin(), operators.end(), word) == operators.end();
        } else {
            if (c == '{' && !braces.empty())
                ++braces.back();
            if (c == '}' && !braces.empty())
                --braces.back();
            if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
                valueBefore = c == ')' || c == ']';
            ++i;
        }
    }
    return kinds;
}

std::vector<fs::path> ShippedScripts()
{
    std::vector<fs::path> files;
    for (const char* root : {"/usr/share/javascript", "/usr/lib/node_modules"}) {
        std::error_code error;
        if (!fs::is_directory(root, error))
            continue;
        for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, error);
             it != fs::recursive_directory_iterator(); it.increment(error)) {
            if (error)
                break;
            const fs::path& path = it->path();
            if (it->is_regular_file(error) && path.extension() == ".js" && it->file_size(error) < 200 * 1024)
                files.push_back(path);
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST_F(ScriptColourTest, ShippedScriptsColourWholeAndAgreeOnCommentsAndStrings)
{
    std::vector<fs::path> files = ShippedScripts();
    if (files.empty())
        GTEST_SKIP() << "no JavaScript files under /usr/share/javascript or /usr/lib/node_modules";
    // Every file is coloured to its end; a sample spread over the list is
    // compared byte by byte.
    constexpr std::size_t kColoured = 400;
    constexpr std::size_t kCompared = 12;
    if (files.size() > kColoured) {
        std::vector<fs::path> sample;
        for (std::size_t k = 0; k < kColoured; ++k)
            sample.push_back(files[k * files.size() / kColoured]);
        files = std::move(sample);
    }
    std::size_t compared = 0;
    std::size_t checkedBytes = 0;
    for (std::size_t k = 0; k < files.size(); ++k) {
        std::ifstream in(files[k], std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        const std::string text = bytes.str();
        model = ColouredModel("JavaScript", text);
        const int lines = model->LineCount();
        for (int line = 0; line < lines; ++line)
            ASSERT_TRUE(model->GetColourRuns(line)) << files[k] << ":" << line;
        if (k % std::max<std::size_t>(1, files.size() / kCompared) != 0 || text.find('\r') != std::string::npos)
            continue;
        ++compared;
        const std::string kinds = Classify(text);
        const int comment = Group("Comment");
        const int doc = Group("Doc Comment");
        const int string = Group("String");
        std::size_t lineStart = 0;
        for (int line = 0; line < lines; ++line) {
            const std::string lineText = LineOf(*model, line);
            const std::string lineKinds = kinds.substr(lineStart, lineText.size());
            lineStart += lineText.size() + 1;
            // Lines with what the two readers may take differently are left out.
            if (lineText.size() > static_cast<std::size_t>(VxEdit::kColouredBytes) ||
                lineKinds.find_first_of("TR") != std::string::npos)
                continue;
            const std::vector<int> groups = ByteGroups(*model, line);
            for (std::size_t c = 0; c < lineKinds.size(); ++c) {
                const int group = groups[c];
                if (lineKinds[c] == 'C')
                    ASSERT_TRUE(group == comment || group == doc) << files[k] << ":" << line + 1 << ":" << c;
                else if (lineKinds[c] == 'S')
                    ASSERT_EQ(group, string) << files[k] << ":" << line + 1 << ":" << c;
                else
                    ASSERT_TRUE(group != comment && group != doc && group != string)
                        << files[k] << ":" << line + 1 << ":" << c << " " << lineText;
                ++checkedBytes;
            }
        }
    }
    EXPECT_GE(compared, 5u);
    EXPECT_GT(checkedBytes, 10000u);
}

}  // namespace
}  // namespace quillet::test
