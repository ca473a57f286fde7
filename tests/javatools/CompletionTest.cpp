// Complete Word: candidates gathered from texts (checked against a plain
// split into words, with the store's gap anywhere), from a real JDK's class
// list and its cache, and a chosen class put in with its import in one
// undo step.
#include "ControllerSupport.h"
#include "TempDir.h"

#include "engine/VxEditWordCompleter.h"
#include "javatools/completion/JavaImportPlacer.h"
#include "javatools/completion/JdkClassList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>

namespace quillet::test {
namespace {

const std::string kJdk = "/usr/lib/jvm/java-17-openjdk-amd64";

tarrow::foundation::RefPtr<VxEdit> TextModel(const std::string& text)
{
    auto model = tarrow::foundation::MakeRef<VxEdit>();
    model->NewText();
    VxEditLineColPair range(0, 0, 0, 0);
    model->InsertAt(range, text.data(), static_cast<std::int64_t>(text.size()));
    return model;
}

std::vector<std::string> Words(const std::vector<VxEditCompletion>& candidates)
{
    std::vector<std::string> words;
    for (const VxEditCompletion& candidate : candidates)
        words.push_back(candidate.package.empty() ? candidate.word : candidate.word + " " + candidate.package);
    return words;
}

// The words of a text that start with the prefix, by splitting it whole.
std::set<std::string> ReferenceWords(const std::string& text, const std::string& prefix)
{
    std::set<std::string> words;
    for (std::size_t at = 0; at < text.size();) {
        if (!VxEditWordCompleter::IsWordByte(static_cast<unsigned char>(text[at]))) {
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < text.size() && VxEditWordCompleter::IsWordByte(static_cast<unsigned char>(text[end])))
            ++end;
        const std::string word = text.substr(at, end - at);
        if (word.starts_with(prefix) && word != prefix && word.size() <= VxEditWordCompleter::kLongestWord)
            words.insert(word);
        at = end;
    }
    return words;
}

TEST(WordCompleterTest, WordsOfAnyTextWithTheGapAnywhereAreThoseOfAPlainSplit)
{
    std::mt19937 random(7);
    const std::string alphabet = "aab_$ .\n(xa";
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int length = std::uniform_int_distribution<int>(0, 120)(random);
        for (int i = 0; i < length; ++i)
            text += alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
        // Built by two insertions, so the store's gap stands inside the text.
        const std::size_t split = text.empty() ? 0 : std::uniform_int_distribution<std::size_t>(0, text.size())(random);
        auto model = TextModel(text.substr(split));
        model->InsertAtLineCol(0, 0, text.data(), static_cast<std::int64_t>(split));
        for (const std::string prefix : {"a", "ab", "aa", "_a", "$"}) {
            VxEditWordCompleter completer(prefix);
            completer.AddWordsOf(model->TextBuffer());
            const std::vector<std::string> got = Words(completer.Candidates());
            const std::set<std::string> expected = ReferenceWords(text, prefix);
            ASSERT_EQ(std::vector<std::string>(expected.begin(), expected.end()), got)
                << "text \"" << text << "\" gap at " << split << ", prefix " << prefix;
        }
    }
}

TEST(WordCompleterTest, TwoOpenTextsKeywordsAndJdkClassesTogether)
{
    auto first = TextModel("int counter = 0;\ncountDown(counter);\n");
    auto second = TextModel("// counted twice: counter\nString country;\n");
    VxEditKeywordTable keywords;
    keywords.Set("continue", 1);
    keywords.Set("const", 1);
    VxEditWordCompleter completer("co");
    completer.AddWordsOf(first->TextBuffer());
    completer.AddWordsOf(second->TextBuffer());
    completer.AddKeywords(keywords);
    completer.AddClass("countDown", "java.example");
    EXPECT_EQ((std::vector<std::string>{"const", "continue", "countDown java.example", "counted", "counter",
                                        "country"}),
              Words(completer.Candidates()));
}

TEST(JdkClassListTest, PublicTopLevelClassesOfTheApiPackagesComeFromTheJdkAndItsCache)
{
    if (!std::filesystem::exists(kJdk + "/bin/jimage"))
        GTEST_SKIP() << "no JDK at " << kJdk;
    EXPECT_EQ(kJdk, JdkClassList::JdkHomeOfCompiler(kJdk + "/bin/javac", ""));
    TempDir cache;
    JdkClassIndex index;
    std::string failure;
    ASSERT_TRUE(JdkClassList::Load(kJdk, cache.Path().string(), index, failure)) << failure;
    EXPECT_TRUE(index.Has("HashMap", "java.util"));
    EXPECT_TRUE(index.Has("String", "java.lang"));
    EXPECT_TRUE(index.Has("Document", "org.w3c.dom"));
    EXPECT_FALSE(index.Has("JumboEnumSet", "java.util"));  // package-private
    for (const JdkClass& jdkClass : index.Classes()) {
        ASSERT_EQ(std::string::npos, jdkClass.name.find('$')) << jdkClass.name;
        ASSERT_FALSE(jdkClass.package.starts_with("jdk.") || jdkClass.package.starts_with("sun."))
            << jdkClass.package;
    }
    std::vector<std::string> arrays;
    for (const JdkClass& jdkClass : index.WithPrefix("ArrayL"))
        arrays.push_back(jdkClass.name + " " + jdkClass.package);
    EXPECT_EQ((std::vector<std::string>{"ArrayList java.util"}), arrays);

    // The cache answers while its key holds; a stale key is read anew.
    const std::string file = JdkClassList::CacheFile(cache.Path().string(), kJdk);
    const std::string cached = ReadFileBytes(file);
    const std::string header = cached.substr(0, cached.find('\n') + 1);
    WriteFileBytes(file, header + "Marker\tq.r\n");
    ASSERT_TRUE(JdkClassList::Load(kJdk, cache.Path().string(), index, failure));
    EXPECT_EQ(1u, index.Size());
    WriteFileBytes(file, "# Quillet JDK classes 1\t" + kJdk + "\t1\t1.0\nMarker\tq.r\n");
    ASSERT_TRUE(JdkClassList::Load(kJdk, cache.Path().string(), index, failure));
    EXPECT_TRUE(index.Has("HashMap", "java.util"));
    EXPECT_EQ(cached, ReadFileBytes(file));
}

class ImportTest : public ::testing::Test, public ControllerFixture {
protected:
    // Types the start of a word at the end of a line and completes it with
    // the class.
    void Choose(int line, const std::string& typed, const std::string& name, const std::string& package)
    {
        controller.SetCaret(line, model->LineLength(line));
        Type(typed);
        VxEditLineCol start;
        const std::string word = controller.WordBeforeCaret(start);
        ASSERT_TRUE(typed.ends_with(word)) << word;
        controller.CompleteWord(start, name, [&](VxEditLineCol& at, std::string& text) {
            const JavaImportEdit edit = JavaImportPlacer::Place(*model, package, name);
            at = VxEditLineCol(edit.line, edit.column);
            text = edit.text;
            return edit.needed;
        });
    }
};

TEST_F(ImportTest, HashMapIsImportedInSortedPlaceOnceAndUndoTakesBothAway)
{
    const std::string before = "package app;\n\nimport java.io.File;\nimport java.util.List;\n\nclass A {\n    \n}\n";
    SetText(before);
    Choose(6, "HashM", "HashMap", "java.util");
    const std::string once =
        "package app;\n\nimport java.io.File;\nimport java.util.HashMap;\nimport java.util.List;\n\nclass A {\n    HashMap\n}\n";
    EXPECT_EQ(once, Text());
    EXPECT_EQ(At(7, 11), Caret());
    Press(cmd::kEditUndo);
    EXPECT_EQ(before.substr(0, before.find("    \n") + 4) + "HashM\n}\n", Text());
    Press(cmd::kEditRedo);
    EXPECT_EQ(once, Text());

    Choose(7, " m = new HashM", "HashMap", "java.util");
    EXPECT_EQ(once.substr(0, once.rfind("\n}")) + " m = new HashMap\n}\n", Text());
}

TEST_F(ImportTest, ClassesOfJavaLangTheOwnPackageOrAStarImportAddNothing)
{
    SetText("package java.util;\n\nclass A {\n\n}\n");
    Choose(3, "Str", "String", "java.lang");
    Choose(3, " Arr", "ArrayList", "java.util");
    EXPECT_EQ("package java.util;\n\nclass A {\nString ArrayList\n}\n", Text());
    SetText("import java.util.*;\nclass A {\n\n}\n");
    Choose(2, "Has", "HashMap", "java.util");
    EXPECT_EQ("import java.util.*;\nclass A {\nHashMap\n}\n", Text());
}

TEST_F(ImportTest, WithoutImportsTheImportFollowsThePackageLineElseOpensTheText)
{
    SetText("package app;\nclass A {\n\n}\n");
    Choose(2, "Lis", "List", "java.util");
    EXPECT_EQ("package app;\n\nimport java.util.List;\n\nclass A {\nList\n}\n", Text());
    EXPECT_EQ(At(5, 4), Caret());
    SetText("class A {\n\n}\n");
    Choose(1, "Fi", "File", "java.io");
    EXPECT_EQ("import java.io.File;\n\nclass A {\nFile\n}\n", Text());
    SetText("import java.util.List;\r\nclass A {\r\n\r\n}\r\n");
    Choose(2, "Arr", "ArrayList", "java.util");
    EXPECT_EQ("import java.util.ArrayList;\r\nimport java.util.List;\r\nclass A {\r\nArrayList\r\n}\r\n", Text());
}

}  // namespace
}  // namespace quillet::test
