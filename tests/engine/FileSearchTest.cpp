// Find in Files over real Java sources from OpenJDK 17: every search gives
// the lines that grep (or, for whole words, a plain line-by-line reference)
// gives, line for line. Open documents are searched as they are, binary
// files are skipped, a link loop ends, and a stop ends a search at once.
// QUILLET_CORPUS_DIR names an unpacked copy of all the sources
// (scripts/corpus.sh); without it a sample is unpacked.
#include "engine/VxEditFileSearch.h"
#include "engine/VxEditFileWalker.h"
#include "engine/VxEditTextSearch.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSourceZip = "/usr/lib/jvm/java-17-openjdk-amd64/lib/src.zip";

struct Found {
    std::string path;
    std::int64_t line;
    std::string text;
    bool operator<(const Found& other) const
    {
        return std::tie(path, line) < std::tie(other.path, other.line);
    }
    bool operator==(const Found&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Found& found)
{
    return out << found.path << ":" << found.line << ": " << found.text;
}

class CollectingSink : public IVxEditFileSearchSink {
public:
    void OnMatches(std::vector<VxEditFileMatch>&& matches) override
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        for (VxEditFileMatch& match : matches)
            found.push_back(Found{match.path, match.line, match.text});
        if (!matches.empty())
            order.push_back(matches.front().path);
    }
    void OnProgress(std::int64_t searched, std::int64_t) override
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        this->searched = searched;
        ++reports;
        changed_.notify_all();
    }
    void OnFinished(const VxEditFileSearchSummary& summary) override
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        this->summary = summary;
        finished = true;
        finishedAt = std::chrono::steady_clock::now();
        changed_.notify_all();
    }
    // Waits until the search has gone through some files.
    void WaitForProgress(std::int64_t files)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(60),
                          [&] { return finished || (reports > 0 && searched >= files); });
    }

    std::vector<Found> found;
    std::vector<std::string> order;
    std::int64_t searched = 0;
    int reports = 0;
    VxEditFileSearchSummary summary;
    bool finished = false;
    std::chrono::steady_clock::time_point finishedAt;

private:
    std::mutex mutex_;
    std::condition_variable changed_;
};

std::string WithoutCarriageReturn(std::string text)
{
    if (!text.empty() && text.back() == '\r')
        text.pop_back();
    return text;
}

class FileSearchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        corpusCopy_ = new TempDir;
        if (const char* corpus = std::getenv("QUILLET_CORPUS_DIR"); corpus && *corpus) {
            root_ = corpus;
            return;
        }
        root_ = corpusCopy_->Path() / "src";
        fs::create_directories(root_);
        if (!fs::exists(kSourceZip))
            return;
        const ProcessResult unpacked = RunProcess(
            {"jar", "xf", kSourceZip, "java.base/java/util", "java.base/java/io", "java.desktop/javax/swing/text"},
            root_.string());
        ASSERT_EQ(0, unpacked.exitStatus) << unpacked.err;
    }
    static void TearDownTestSuite()
    {
        delete corpusCopy_;
        corpusCopy_ = nullptr;
    }
    void SetUp() override
    {
        if (!fs::exists(root_ / "java.base"))
            GTEST_SKIP() << kSourceZip << " is missing (Debian package openjdk-17-source)";
    }

    static VxEditFileSearchRequest Request(const std::string& text, bool matchCase, bool wholeWord, bool pattern)
    {
        VxEditFileSearchRequest request;
        request.text = text;
        request.matchCase = matchCase;
        request.wholeWord = wholeWord;
        request.pattern = pattern;
        request.folder = root_.string();
        request.fileTypes = VxEditFileSearchRequest::SplitFileTypes("*.java");
        return request;
    }

    static std::vector<Found> Search(const VxEditFileSearchRequest& request, CollectingSink& sink)
    {
        const std::atomic<bool> stop{false};
        VxEditFileSearch::Run(request, sink, stop);
        EXPECT_TRUE(sink.summary.patternError.empty()) << sink.summary.patternError;
        std::vector<Found> found = sink.found;
        for (Found& entry : found)
            entry.text = WithoutCarriageReturn(entry.text);
        std::sort(found.begin(), found.end());
        return found;
    }

    // grep in the C locale, binary files left out.
    static std::vector<Found> Grep(const std::string& text, bool matchCase, bool pattern)
    {
        std::vector<std::string> argv = {"env", "LC_ALL=C", "grep", "-rnI", "--include=*.java",
                                         pattern ? "-P" : "-F"};
        if (!matchCase)
            argv.push_back("-i");
        argv.insert(argv.end(), {"-e", text, root_.string()});
        const ProcessResult grep = RunProcess(argv);
        EXPECT_LE(grep.exitStatus, 1) << grep.err;
        std::vector<Found> found;
        std::istringstream lines(grep.out);
        for (std::string line; std::getline(lines, line);) {
            const std::size_t pathEnd = line.find(':');
            const std::size_t numberEnd = line.find(':', pathEnd + 1);
            found.push_back(Found{line.substr(0, pathEnd),
                                  std::stoll(line.substr(pathEnd + 1, numberEnd - pathEnd - 1)),
                                  WithoutCarriageReturn(line.substr(numberEnd + 1))});
        }
        std::sort(found.begin(), found.end());
        return found;
    }

    // Whole words as Find takes them, line by line with a plain loop.
    static std::vector<Found> WholeWordReference(const std::string& word, bool matchCase)
    {
        auto fold = [matchCase](unsigned char c) { return matchCase ? c : static_cast<unsigned char>(std::tolower(c)); };
        auto boundary = [](unsigned char c) { return c == '\r' || VxEditTextSearch::IsDelimiter(c); };
        std::vector<Found> found;
        for (const auto& entry : fs::recursive_directory_iterator(root_)) {
            if (!entry.is_regular_file() || entry.is_symlink() || entry.path().extension() != ".java")
                continue;
            const std::string bytes = ReadFileBytes(entry.path().string());
            if (bytes.substr(0, 8192).find('\0') != std::string::npos)
                continue;
            std::istringstream lines(bytes);
            std::int64_t number = 0;
            for (std::string line; std::getline(lines, line);) {
                ++number;
                for (std::size_t at = 0; at + word.size() <= line.size(); ++at) {
                    std::size_t i = 0;
                    while (i < word.size() && fold(line[at + i]) == fold(word[i]))
                        ++i;
                    if (i == word.size() && (at == 0 || boundary(line[at - 1])) &&
                        (at + i == line.size() || boundary(line[at + i]))) {
                        found.push_back(Found{entry.path().string(), number, WithoutCarriageReturn(line)});
                        break;
                    }
                }
            }
        }
        std::sort(found.begin(), found.end());
        return found;
    }

    static TempDir* corpusCopy_;
    static fs::path root_;
};

TempDir* FileSearchTest::corpusCopy_ = nullptr;
fs::path FileSearchTest::root_;

TEST_F(FileSearchTest, PlainTextAndPatternsFindTheLinesGrepFinds)
{
    struct Case {
        const char* text;
        bool matchCase;
        bool pattern;
    };
    const Case cases[] = {
        {"HashMap", true, false},
        {"hashmap", false, false},
        {"e.g.", true, false},
        {"ConcurrentModificationException(", false, false},
        {"\\bput\\w*\\(", true, true},
        {"synchronized\\s*\\(this\\)", false, true},
        {"^\\s*@Override$", true, true},
        {"[0-9]{4,}L", true, true},
        {"return\\s+null;\\s*$", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CollectingSink sink;
        const std::vector<Found> found = Search(Request(c.text, c.matchCase, false, c.pattern), sink);
        const std::vector<Found> expected = Grep(c.text, c.matchCase, c.pattern);
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(expected, found);
        EXPECT_EQ(sink.summary.matches, static_cast<std::int64_t>(found.size()));
    }
}

TEST_F(FileSearchTest, WholeWordsAreFoundAsFindTakesThem)
{
    for (const auto& [word, matchCase] : {std::pair{"get", true}, std::pair{"size", false}, std::pair{"I", true}}) {
        SCOPED_TRACE(word);
        CollectingSink sink;
        EXPECT_EQ(WholeWordReference(word, matchCase), Search(Request(word, matchCase, true, false), sink));
    }
}

TEST_F(FileSearchTest, ResultsComeInFileOrderWhateverThreadFoundThem)
{
    CollectingSink sink;
    Search(Request("import", true, false, false), sink);
    ASSERT_GT(sink.order.size(), 100u);
    // The walk's order: folder by folder, each in name order.
    std::vector<std::string> walked;
    const std::atomic<bool> stop{false};
    VxEditFileWalker({"*.java"}, true, stop).Walk(root_.string(), walked);
    std::map<std::string, std::size_t> place;
    for (std::size_t i = 0; i < walked.size(); ++i)
        place[walked[i]] = i;
    std::vector<std::size_t> places;
    for (const std::string& path : sink.order)
        places.push_back(place.at(path));
    EXPECT_TRUE(std::is_sorted(places.begin(), places.end()));
    EXPECT_GT(sink.summary.filesSearched, 300);
    EXPECT_EQ(sink.summary.filesMatched, static_cast<std::int64_t>(sink.order.size()));
}

TEST_F(FileSearchTest, OpenDocumentsBinaryFilesAndLinkLoops)
{
    TempDir dir;
    const fs::path tree = dir.Path() / "tree";
    fs::create_directories(tree / "inner");
    WriteFileBytes((tree / "Saved.java").string(), "class Saved {\n}\n");
    WriteFileBytes((tree / "inner" / "Blob.java").string(), std::string("class \0Marker\n", 14));
    WriteFileBytes((tree / "inner" / "Other.java").string(), "// Marker here\r\n");
    // A link back to the top: walked once only.
    fs::create_directory_symlink("..", tree / "inner" / "loop");
    fs::create_directory_symlink(tree, tree / "again");
    // A pipe, named or linked to, is no file to search: it waits for a writer.
    ASSERT_EQ(0, mkfifo((tree / "inner" / "Pipe.java").c_str(), 0600));
    fs::create_symlink("Pipe.java", tree / "inner" / "PipeLink.java");

    VxEditFileSearchRequest request = Request("Marker", true, false, false);
    request.folder = tree.string();
    request.openTexts[(tree / "Saved.java").string()] = "class Saved {\n\t// Marker typed, not saved\n}\n";
    CollectingSink sink;
    const std::vector<Found> found = Search(request, sink);
    const std::vector<Found> expected = {
        {(tree / "Saved.java").string(), 2, "\t// Marker typed, not saved"},
        {(tree / "inner" / "Other.java").string(), 1, "// Marker here"},
    };
    EXPECT_EQ(expected, found);
    EXPECT_EQ(sink.summary.binarySkipped, 1);
    EXPECT_EQ(sink.summary.filesSearched, 2);
    EXPECT_EQ(sink.summary.filesMatched, 2);
}

TEST_F(FileSearchTest, AnUnreadableFileIsCountedAndABadPatternReported)
{
    TempDir dir;
    WriteFileBytes(dir.File("A.java"), "x\n");
    fs::create_symlink(dir.File("absent"), dir.Path() / "Dangling.java");
    if (geteuid() != 0) {
        WriteFileBytes(dir.File("Locked.java"), "x\n");
        fs::permissions(dir.File("Locked.java"), fs::perms::none);
    }
    VxEditFileSearchRequest request = Request("x", true, false, false);
    request.folder = dir.Path().string();
    CollectingSink sink;
    const std::atomic<bool> stop{false};
    VxEditFileSearch::Run(request, sink, stop);
    EXPECT_EQ(sink.summary.filesSearched, 1);
    EXPECT_EQ(sink.summary.unreadable, geteuid() != 0 ? 1 : 0);

    CollectingSink bad;
    request.text = "(unclosed";
    request.pattern = true;
    VxEditFileSearch::Run(request, bad, stop);
    EXPECT_FALSE(bad.summary.patternError.empty());
    EXPECT_TRUE(bad.found.empty());
}

TEST_F(FileSearchTest, AStopEndsASearchWithinATenthOfASecond)
{
    CollectingSink sink;
    VxEditFileSearch search(sink);
    VxEditFileSearchRequest request = Request("\\w+\\s*=\\s*new\\s+\\w+\\s*<", false, false, true);
    request.fileTypes.clear();
    search.Start(request);
    sink.WaitForProgress(0);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    ASSERT_FALSE(sink.finished) << "the search ended before it could be stopped";
    const auto stoppedAt = std::chrono::steady_clock::now();
    search.Stop();
    search.Wait();
    ASSERT_TRUE(sink.finished);
    EXPECT_TRUE(sink.summary.stopped);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(sink.finishedAt - stoppedAt).count(), 100);
}

// A real folder that sorts before sub holds a link to it, and sub holds a
// link back to the top: each file is found once, under the path that goes
// through no link. A link that leads out of the tree still counts.
TEST(FileSearchLinks, AFileBehindALinkLoopIsFoundOnceUnderItsRealPath)
{
    TempDir dir;
    const fs::path tree = dir.Path() / "tree";
    fs::create_directories(tree / "loop2");
    fs::create_directories(tree / "sub" / "down");
    fs::create_directories(dir.Path() / "outside");
    WriteFileBytes((tree / "sub" / "s.txt").string(), "needle\n");
    WriteFileBytes((tree / "sub" / "down" / "d.txt").string(), "needle\n");
    WriteFileBytes((dir.Path() / "outside" / "o.txt").string(), "needle\n");
    fs::create_directory_symlink("../sub", tree / "loop2" / "up");
    fs::create_directory_symlink("../..", tree / "sub" / "down" / "top");
    fs::create_symlink("sub/s.txt", tree / "link.txt");
    fs::create_directory_symlink("../outside", tree / "zout");

    VxEditFileSearchRequest request;
    request.text = "needle";
    request.folder = tree.string();
    CollectingSink sink;
    const std::atomic<bool> stop{false};
    VxEditFileSearch::Run(request, sink, stop);
    std::vector<std::string> paths;
    for (const Found& found : sink.found)
        paths.push_back(found.path);
    EXPECT_EQ(paths, (std::vector<std::string>{(tree / "sub" / "down" / "d.txt").string(),
                                               (tree / "sub" / "s.txt").string(),
                                               (tree / "zout" / "o.txt").string()}));
    EXPECT_EQ(sink.summary.filesSearched, 3);
}

// (a+)+b on a long run of a's takes PCRE2 past its limits, with JIT too:
// the line is passed over and named, and the matches around it are found.
TEST(FileSearchPattern, ALineThePatternIsTooComplexForIsNamedAndTheRestIsSearched)
{
    TempDir dir;
    const std::string runOfAs(40, 'a');
    WriteFileBytes(dir.File("a.txt"), "ab\n" + runOfAs + "c\naab\nxxab\n");
    WriteFileBytes(dir.File("b.txt"), runOfAs + "\nab\n");
    VxEditFileSearchRequest request;
    request.text = "(a+)+b";
    request.pattern = true;
    request.folder = dir.Path().string();
    CollectingSink sink;
    const std::atomic<bool> stop{false};
    VxEditFileSearch::Run(request, sink, stop);
    const std::vector<Found> expected = {
        {dir.File("a.txt"), 1, "ab"}, {dir.File("a.txt"), 3, "aab"},
        {dir.File("a.txt"), 4, "xxab"}, {dir.File("b.txt"), 2, "ab"},
    };
    EXPECT_EQ(sink.found, expected);
    EXPECT_EQ(sink.summary.matches, 4);
    EXPECT_EQ(sink.summary.tooComplexLines, 2);
    EXPECT_EQ(sink.summary.tooComplexPath, dir.File("a.txt"));
    EXPECT_EQ(sink.summary.tooComplexLine, 2);
}

TEST(FileTypes, SplitAtSemicolonsAndCommas)
{
    EXPECT_EQ((std::vector<std::string>{"*.java", "*.html", "*.htm", "*.js"}),
              VxEditFileSearchRequest::SplitFileTypes("*.java;*.html; *.htm ;*.js"));
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), VxEditFileSearchRequest::SplitFileTypes("a,,b;"));
    EXPECT_TRUE(VxEditFileSearchRequest::SplitFileTypes(" ").empty());
}

}  // namespace
}  // namespace quillet::test
