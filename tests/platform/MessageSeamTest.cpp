#include "platform/core/MessageSeam.h"

#include <gtest/gtest.h>

using namespace quillet::platform;

TEST(MessageSeam, RecordingSinkRecordsTextsAndGivesQueuedAnswers)
{
    RecordingMessageSink sink;
    sink.QueueAnswer(MessageAnswer::No);
    EXPECT_EQ(ShowMessage("Save changes?", MessageButtons::YesNoCancel), MessageAnswer::No);
    EXPECT_EQ(ShowMessage("Again?", MessageButtons::YesNo), MessageAnswer::Yes);
    EXPECT_EQ(sink.Texts(), (std::vector<std::string>{"Save changes?", "Again?"}));
}

TEST(MessageSeam, WaitCursorIsBalancedAndSinksNest)
{
    RecordingMessageSink outer;
    {
        RecordingMessageSink inner;
        {
            WaitCursor wait;
            EXPECT_EQ(inner.WaitDepth(), 1);
        }
        EXPECT_EQ(inner.WaitDepth(), 0);
        EXPECT_EQ(inner.WaitCount(), 1);
        ShowMessage("inner");
        EXPECT_EQ(inner.Texts().size(), 1u);
    }
    ShowMessage("outer");
    EXPECT_EQ(outer.Texts(), std::vector<std::string>{"outer"});
}

TEST(MessageSeam, FileDialogsAreAnsweredFromTheQueueAndGetTheDefaultSuffix)
{
    RecordingMessageSink sink;
    FileDialogRequest request;
    request.save = true;
    request.defaultSuffix = ".java";
    std::string path;
    EXPECT_FALSE(ChooseFile(request, path));  // nothing queued: cancelled
    sink.QueueFileAnswer("/tmp/Test");
    sink.QueueFileAnswer("/tmp/dir.v2/page.html");
    sink.QueueFileAnswer("/tmp/dir.v2/Main");
    ASSERT_TRUE(ChooseFile(request, path));
    EXPECT_EQ(path, "/tmp/Test.java");
    ASSERT_TRUE(ChooseFile(request, path));
    EXPECT_EQ(path, "/tmp/dir.v2/page.html");
    ASSERT_TRUE(ChooseFile(request, path));
    EXPECT_EQ(path, "/tmp/dir.v2/Main.java");
    EXPECT_EQ(sink.FileRequests().size(), 4u);
    // Any dot in the file name counts as an extension, as in the file
    // dialog, which asks about replacing the very name that is written.
    EXPECT_EQ(WithDefaultSuffix("/tmp/.hidden", ".java"), "/tmp/.hidden");
}
