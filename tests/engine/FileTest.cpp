// Loading and saving files byte for byte, and every way that can fail.
#include "ModelSupport.h"

#include "engine/VxEditMirrorFile.h"
#include "mvc/CArchive.h"
#include "platform/core/MessageSeam.h"
#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace quillet::test {
namespace {

namespace fs = std::filesystem;
using quillet::platform::RecordingMessageSink;

// Loads the bytes from a file and saves them to another; both must match.
void ExpectRoundTrip(const std::string& bytes)
{
    TempDir dir;
    WriteFileBytes(dir.File("in.java"), bytes);
    RecordingMessageSink sink;
    auto model = NewModel();
    ASSERT_EQ(1, model->LoadFile(dir.File("in.java")));
    EXPECT_EQ(bytes, AllText(*model));
    EXPECT_EQ(0, model->IsModified());
    EXPECT_EQ(0u, model->UndoCount());
    EXPECT_EQ(model->LineCount(), model->ColourCache().Lines());
    ASSERT_EQ(1, model->SaveFile(dir.File("out.java")));
    EXPECT_EQ(bytes, ReadFileBytes(dir.File("out.java")));
    EXPECT_EQ((std::vector<std::string>{}), sink.Texts());
    EXPECT_EQ(2, sink.WaitCount());
    EXPECT_EQ(0, sink.WaitDepth());
}

TEST(LoadAndSave, KeepsEveryByte)
{
    ExpectRoundTrip("");
    ExpectRoundTrip("no final line end");
    ExpectRoundTrip("ends in LF\n");
    ExpectRoundTrip("crlf\r\nlf\nlone cr\rand \r\r\n\n");
    ExpectRoundTrip(std::string("nul\0inside\0\n\0", 14));
    ExpectRoundTrip("bad \xFF\xFE utf-8 \xE4\xB8 cut \xC3\xA9 ok\n");
}

TEST(LoadAndSave, ACrLfSplitBetweenTwoReadsIsOneLineEnd)
{
    std::string bytes;
    while (bytes.size() < 511999)
        bytes += "int value = 42; // a line of Java text\r\n";
    bytes.resize(511999);
    bytes += "\r\nnext line\r\n";
    while (bytes.size() < 600000)
        bytes += "more text on more lines\r\n";
    ExpectRoundTrip(bytes);

    TempDir dir;
    WriteFileBytes(dir.File("big.java"), bytes);
    auto model = NewModel();
    ASSERT_EQ(1, model->LoadFile(dir.File("big.java")));
    const ReferenceLines lines(bytes);
    ASSERT_EQ(lines.Count(), model->LineCount());
    const VxEditLineCol split = lines.Position(512001);  // just after the LF at 512000
    EXPECT_EQ(0, split.column);
    EXPECT_EQ("next line", LineOf(*model, split.line));
}

TEST(LoadAndSave, TextsOfExactlyWholeReadsAndNulBytesKeepEveryByte)
{
    for (const std::size_t size : {std::size_t{512000}, std::size_t{1024000}}) {
        std::string bytes;
        for (std::size_t i = 0; bytes.size() < size; ++i)
            bytes += i % 97 == 0 ? std::string("nul \0 here\n", 12) : std::string("line of text\r\n");
        bytes.resize(size - 2);
        bytes += "\r\n";  // the last read ends on a line end
        ExpectRoundTrip(bytes);
    }
}

// A file of tens of megabytes is read by two threads, each into its half;
// the text, its lines and a CR LF across the halves' meeting point (on a
// 2 MiB boundary) come out as from one read.
TEST(LoadAndSave, ALargeFileReadInHalvesKeepsEveryByteAndLine)
{
    std::string bytes;
    for (std::size_t i = 0; bytes.size() < (std::size_t{40} << 20); ++i)
        bytes += i % 3 == 0 ? "public int value" + std::to_string(i) + " = 0;\r\n" : "    // comment\n";
    const std::size_t half = (bytes.size() / 2) & ~((std::size_t{1} << 21) - 1);
    bytes.replace(half - 1, 2, "\r\n");
    ExpectRoundTrip(bytes);

    TempDir dir;
    WriteFileBytes(dir.File("large.java"), bytes);
    auto model = NewModel();
    ASSERT_EQ(1, model->LoadFile(dir.File("large.java")));
    const ReferenceLines lines(bytes);
    ASSERT_EQ(lines.Count(), model->LineCount());
    const VxEditLineCol after = lines.Position(static_cast<std::int64_t>(half) + 1);
    EXPECT_EQ(0, after.column);
    for (const std::int32_t line : {0, lines.Count() / 3, lines.Count() / 2, lines.Count() - 1})
        EXPECT_EQ(lines.starts[static_cast<std::size_t>(line)], model->TextBuffer().LineStart(line)) << line;
}

// The size a file reports is only a hint: a file of the kernel reports 0
// bytes and is read to its end.
TEST(LoadAndSave, FilesAreReadToTheirEndWhateverSizeTheyReport)
{
    auto model = NewModel();
    ASSERT_EQ(1, model->LoadFile("/proc/self/status"));
    EXPECT_EQ(0u, AllText(*model).rfind("Name:", 0));
}

TEST(LoadAndSave, EmptyFileLoadsAsOneEmptyLine)
{
    TempDir dir;
    WriteFileBytes(dir.File("empty"), "");
    auto model = NewModel();
    ASSERT_EQ(1, model->LoadFile(dir.File("empty")));
    EXPECT_EQ(1, model->LineCount());
    EXPECT_EQ(0, model->LineLength(0));
}

TEST(LoadAndSave, LinesOfAnyLengthLoadWholeAndSaveByteForByte)
{
    ExpectRoundTrip(std::string(3000, 'x') + "\n" + std::string(5000, 'y'));
    // One megabyte on one line, with tabs and wide characters in it.
    std::string line;
    while (line.size() < (1u << 20))
        line += "\"text\t\xE4\xB8\xAD\" + ";
    ExpectRoundTrip("class A { String s = " + line + "\"\"; }\r\n");

    TempDir dir;
    WriteFileBytes(dir.File("long"), std::string(5000, 'y'));
    auto model = NewModel();
    ASSERT_EQ(1, model->LoadFile(dir.File("long")));
    ASSERT_EQ(1, model->LineCount());
    EXPECT_EQ(5000, model->DisplayLength(0));
    EXPECT_EQ(1, model->BreakLongLines(false, 0, -1));  // too long, and kept so
    EXPECT_EQ(0, model->IsModified());
    EXPECT_EQ(nullptr, model->Undo());
}

TEST(LoadFailures, MissingFileAndDirectoryLeaveTheModelAlone)
{
    TempDir dir;
    RecordingMessageSink sink;
    auto model = NewModel();
    model->InsertAtLineCol(0, 0, "kept", 4);
    EXPECT_EQ(0, model->LoadFile(dir.File("missing.java")));
    EXPECT_EQ(0, model->LoadFile(dir.Path().string()));
    EXPECT_EQ("kept", AllText(*model));
    EXPECT_EQ((std::vector<std::string>{"'" + dir.File("missing.java") + "' was not found.",
                                        "'" + dir.Path().string() + "' is a directory."}),
              sink.Texts());
}

// A pipe with no writer would hold the editor in open(), /dev/zero never
// ends, and a socket cannot be opened: each is refused at once, named as
// what it is, for reading and for writing.
TEST(LoadFailures, PipesDevicesAndSocketsAreRefusedByTheirKind)
{
    TempDir dir;
    const std::string pipe = dir.File("pipe.java");
    ASSERT_EQ(0, mkfifo(pipe.c_str(), 0600));
    const std::string socketPath = dir.File("socket.java");
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(0, bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address));
    RecordingMessageSink sink;
    auto model = NewModel();
    model->InsertAtLineCol(0, 0, "kept", 4);

    EXPECT_EQ(0, model->LoadFile(pipe));
    EXPECT_EQ(0, model->LoadFile("/dev/zero"));
    EXPECT_EQ(0, model->LoadFile(socketPath));
    EXPECT_EQ(0, model->SaveFile(pipe));
    close(listener);
    EXPECT_EQ("kept", AllText(*model));
    EXPECT_EQ((std::vector<std::string>{"'" + pipe + "' is not a regular file (a pipe).",
                                        "'/dev/zero' is not a regular file (a character device).",
                                        "'" + socketPath + "' is not a regular file (a socket).",
                                        "'" + pipe + "' is not a regular file (a pipe)."}),
              sink.Texts());
}

TEST(LoadFailures, TheOpenFailureBoxHasOnlyItsTextAndOk)
{
    RecordingMessageSink sink;
    auto model = NewModel();
    model->ReportOpenFailure();
    ASSERT_EQ(sink.Messages().size(), 1u);
    EXPECT_EQ(sink.Messages()[0].text, "Unable to Open File");
    EXPECT_EQ(sink.Messages()[0].buttons, quillet::platform::MessageButtons::Ok);
    EXPECT_EQ(sink.Messages()[0].icon, quillet::platform::MessageIcon::None);
}

TEST(LoadFailures, UnreadableFileReportsAccessDenied)
{
    QUILLET_RUN_UNPRIVILEGED();
    TempDir dir;
    WriteFileBytes(dir.File("secret"), "x");
    chmod(dir.File("secret").c_str(), 0);
    RecordingMessageSink sink;
    auto model = NewModel();
    EXPECT_EQ(0, model->LoadFile(dir.File("secret")));
    EXPECT_EQ((std::vector<std::string>{"Access to '" + dir.File("secret") + "' was denied."}), sink.Texts());
}

TEST(SaveFailures, ReadOnlyTargetIsNeverTouched)
{
    TempDir dir;
    const std::string target = dir.File("locked.java");
    WriteFileBytes(target, "old");
    chmod(target.c_str(), 0444);
    RecordingMessageSink sink;
    auto model = NewModel();
    model->InsertAtLineCol(0, 0, "new", 3);
    EXPECT_EQ(0, model->SaveFile(target));
    EXPECT_EQ((std::vector<std::string>{"The file '" + target +
                                        "' exists and is read-only. Please save to a different filename."}),
              sink.Texts());
    EXPECT_EQ("old", ReadFileBytes(target));
    EXPECT_EQ(1, model->IsModified());
}

TEST(SaveFailures, AMissingFolderIsNamed)
{
    TempDir dir;
    RecordingMessageSink sink;
    auto model = NewModel();
    const std::string target = dir.File("no/such/folder.java");
    EXPECT_EQ(0, model->SaveFile(target));
    EXPECT_EQ((std::vector<std::string>{"'" + target + "' cannot be saved: the folder '" + dir.File("no/such") +
                                        "' no longer exists."}),
              sink.Texts());
}

TEST(Save, KeepsPermissionsAndFollowsSymbolicLinks)
{
    TempDir dir;
    const std::string real = dir.File("Real.java");
    WriteFileBytes(real, "old");
    chmod(real.c_str(), 0640);
    fs::create_symlink("Real.java", dir.Path() / "Link.java");
    auto model = NewModel();
    model->InsertAtLineCol(0, 0, "new text", 8);
    ASSERT_EQ(1, model->SaveFile(dir.File("Link.java")));
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "Link.java"));
    EXPECT_EQ("new text", ReadFileBytes(real));
    struct stat status {};
    ASSERT_EQ(0, stat(real.c_str(), &status));
    EXPECT_EQ(0640u, status.st_mode & 07777);
    EXPECT_EQ(0, model->IsModified());
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(2, entries);  // no temporary file left behind
}

TEST(Archive, TextAndConfigurationNameTravelThroughAnArchive)
{
    auto model = NewModel();
    const std::string text("line one\r\nline\0two\n", 19);
    model->InsertAtLineCol(0, 0, text.data(), static_cast<std::int64_t>(text.size()));
    model->ToggleMark(1, VxEdit::kMarkBookmark);
    auto store = tarrow::foundation::CArchive::ForStoring();
    model->Serialize(store);
    model->SerializeConfigName(store);
    EXPECT_EQ(0, model->IsModified());

    auto copy = NewModel();
    auto load = tarrow::foundation::CArchive::ForLoading(store.Bytes());
    copy->Serialize(load);
    copy->SerializeConfigName(load);
    EXPECT_FALSE(load.Failed());
    EXPECT_EQ(text, AllText(*copy));
    EXPECT_EQ(3, copy->LineCount());
    EXPECT_EQ(3, copy->ColourCache().Lines());
    EXPECT_EQ(0, copy->IsModified());
    EXPECT_EQ(0u, copy->UndoCount());
    EXPECT_EQ(model->GetLangConfig(), copy->GetLangConfig());
}

}  // namespace
}  // namespace quillet::test
