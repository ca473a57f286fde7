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
