// The bounded command stacks and the undo history of a transaction model.
#include "mvc/CCStack_T.h"
#include "mvc/CMvcCommand.h"
#include "mvc/MvcTransactionModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using tarrow::foundation::CCStack_T;
using tarrow::foundation::CMvcCommand;
using tarrow::foundation::MvcTransactionModel;

TEST(CommandStack, PushingOntoAFullStackHandsBackTheOldest)
{
    CCStack_T<int, 3> stack;
    EXPECT_EQ(0, stack.Pop());
    EXPECT_EQ(0, stack.Peek());
    EXPECT_EQ(0, stack.Push(1));
    EXPECT_EQ(0, stack.Push(2));
    EXPECT_EQ(0, stack.Push(3));
    EXPECT_TRUE(stack.IsFull());
    EXPECT_EQ(1, stack.Push(4));
    EXPECT_EQ(2, stack.Push(5));
    EXPECT_EQ(5, stack.Peek());
    EXPECT_EQ(5, stack.Pop());
    EXPECT_EQ(4, stack.Pop());
    EXPECT_EQ(3, stack.Pop());
    EXPECT_EQ(0, stack.Pop());
    EXPECT_TRUE(stack.IsEmpty());
}

// Appends its name to a shared log; can be told to fail.
class LoggingCommand : public CMvcCommand {
public:
    LoggingCommand(std::string name, std::vector<std::string>& log, int& alive, bool fails = false)
        : name_(std::move(name)), log_(log), alive_(alive), fails_(fails)
    {
        ++alive_;
    }
    int GetId() const override { return 1; }
    std::string GetDescription() const override { return name_; }
    bool Execute() override { return Run("do " + name_); }
    bool Unexecute() override { return Run("undo " + name_); }
    bool Succeeded() const override { return succeeded_; }

private:
    ~LoggingCommand() override { --alive_; }
    bool Run(const std::string& entry)
    {
        log_.push_back(entry);
        if (fails_)
            succeeded_ = false;
        return succeeded_;
    }

    std::string name_;
    std::vector<std::string>& log_;
    int& alive_;
    bool fails_;
    bool succeeded_ = true;
};

class History : public MvcTransactionModel {
public:
    int discarded = 0;
    int changes = 0;

protected:
    void OnHistoryChanged() override { ++changes; }
    void OnCommandDiscarded(CMvcCommand*, bool) override { ++discarded; }
};

TEST(TransactionModel, UndoAndRedoMoveCommandsBetweenTheStacks)
{
    std::vector<std::string> log;
    int alive = 0;
    {
        auto history = tarrow::foundation::MakeRef<History>();
        history->Log(new LoggingCommand("a", log, alive));
        history->Log(new LoggingCommand("b", log, alive));
        EXPECT_EQ("b", history->Undo()->GetDescription());
        EXPECT_EQ("a", history->Undo()->GetDescription());
        EXPECT_EQ(nullptr, history->Undo());
        EXPECT_EQ("a", history->Redo()->GetDescription());
        EXPECT_EQ((std::vector<std::string>{"undo b", "undo a", "do a"}), log);
        // A new step drops what could have been redone.
        history->Log(new LoggingCommand("c", log, alive));
        EXPECT_EQ(0u, history->RedoCount());
        EXPECT_EQ(1, history->discarded);
        EXPECT_EQ(2, alive);
        EXPECT_EQ(7, history->changes);  // every Log, Undo and Redo
    }
    EXPECT_EQ(0, alive);
}

TEST(TransactionModel, AFailedStepIsSkipped)
{
    std::vector<std::string> log;
    int alive = 0;
    auto history = tarrow::foundation::MakeRef<History>();
    history->Log(new LoggingCommand("good", log, alive));
    history->Log(new LoggingCommand("bad", log, alive, true));
    EXPECT_EQ("good", history->Undo()->GetDescription());
    EXPECT_EQ((std::vector<std::string>{"undo bad", "undo good"}), log);
    EXPECT_EQ("good", history->Redo()->GetDescription());
    EXPECT_EQ(nullptr, history->Redo());  // the failed step is never run again
    EXPECT_EQ((std::vector<std::string>{"undo bad", "undo good", "do good"}), log);
}

TEST(TransactionModel, OverflowDropsTheOldestStep)
{
    std::vector<std::string> log;
    int alive = 0;
    auto history = tarrow::foundation::MakeRef<History>();
    for (int i = 0; i < 260; ++i)
        history->Log(new LoggingCommand(std::to_string(i), log, alive));
    EXPECT_EQ(256u, history->UndoCount());
    EXPECT_EQ(256, alive);
    EXPECT_EQ(4, history->discarded);
    history->ClearHistory();
    EXPECT_EQ(0, alive);
}

}  // namespace
