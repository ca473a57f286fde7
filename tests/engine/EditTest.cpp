// Edits, undo and redo, composites, the modified flag, marks and the
// notifications a model sends.
#include "ModelSupport.h"

#include "engine/VxEditCompositeCommand.h"
#include "engine/VxEditCompositeGuard.h"
#include "engine/VxEditTextCommand.h"
#include "engine/VxScrivo.h"
#include "language/VxEditLangConfig.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace quillet::test {
namespace {

void Type(VxEdit& model, int line, int column, const std::string& text)
{
    ASSERT_EQ(1, model.InsertAtLineCol(line, column, text.data(), static_cast<std::int64_t>(text.size())));
}

TEST(Undo, TypingInACompositeIsUndoneInOneStep)
{
    auto model = NewModel();
    Type(*model, 0, 0, "keep ");
    {
        VxEditCompositeGuard outer(*model);
        VxEditCompositeGuard inner(*model);  // nested guards make one step
        Type(*model, 0, 5, "a");
        Type(*model, 0, 6, "b\nc");
        ASSERT_EQ(1, model->DeleteRange(0, 0, 0, 1));
    }
    EXPECT_EQ("eep ab\nc", AllText(*model));
    EXPECT_EQ(2u, model->UndoCount());
    ASSERT_NE(nullptr, model->Undo());
    EXPECT_EQ("keep ", AllText(*model));
    EXPECT_EQ(1, model->LineCount());
    ASSERT_NE(nullptr, model->Redo());
    EXPECT_EQ("eep ab\nc", AllText(*model));
}

TEST(Undo, HistoryKeepsTheNewest256Steps)
{
    auto model = NewModel();
    for (int i = 0; i < 300; ++i)
        Type(*model, 0, 0, "x");
    for (int i = 0; i < 256; ++i)
        ASSERT_NE(nullptr, model->Undo()) << i;
    EXPECT_EQ(nullptr, model->Undo());
    EXPECT_EQ(std::string(44, 'x'), AllText(*model));
    // The original empty text is out of reach, so this is not the saved state.
    EXPECT_EQ(1, model->IsModified());
}

TEST(Undo, UndoToTheSavedStateClearsModifiedAndRedoSetsIt)
{
    auto model = NewModel();
    EXPECT_EQ(0, model->IsModified());
    Type(*model, 0, 0, "a");
    EXPECT_EQ(1, model->IsModified());
    model->Undo();
    EXPECT_EQ(0, model->IsModified());
    model->Redo();
    EXPECT_EQ(1, model->IsModified());
}

TEST(Undo, ADiscardedSavedStateNeverCountsAsSavedAgain)
{
    auto model = NewModel();
    Type(*model, 0, 0, "saved");
    model->SetModified(0);  // as after a save
    model->Undo();
    EXPECT_EQ(1, model->IsModified());
    // The saved step leaves the history; a new command may reuse its memory.
    for (int i = 0; i < 20; ++i) {
        Type(*model, 0, 0, "n");
        EXPECT_EQ(1, model->IsModified()) << i;
        model->Undo();
        EXPECT_EQ(1, model->IsModified()) << i;
        model->Redo();
    }
}

TEST(Undo, ClearingTheHistoryKeepsTheModifiedFlag)
{
    auto model = NewModel();
    model->ClearHistory();
    EXPECT_EQ(0, model->IsModified());
    Type(*model, 0, 0, "a");
    model->ClearHistory();
    EXPECT_EQ(1, model->IsModified());
    EXPECT_EQ(nullptr, model->Undo());
    EXPECT_EQ(1, model->IsModified());
}

TEST(Undo, EmptyCompositeIsNeverLogged)
{
    auto model = NewModel();
    model->BeginComposite();
    model->EndComposite();
    EXPECT_EQ(0u, model->UndoCount());
    EXPECT_EQ(0, model->IsModified());
    ASSERT_EQ(1, model->DeleteRange(0, 0, 0, 0));  // nothing to delete: no step
    EXPECT_EQ(0u, model->UndoCount());
}

TEST(Undo, JoiningTwoLongLinesBreaksThemAgainAndOneUndoRestores)
{
    auto model = NewModel();
    const std::string first(1500, 'a');
    const std::string second(1500, 'b');
    Type(*model, 0, 0, first + "\r\n" + second);
    const std::string before = AllText(*model);
    ASSERT_EQ(1, model->DeleteRange(0, 1500, 1, 0));
    EXPECT_EQ(2, model->LineCount());
    EXPECT_EQ(first, LineOf(*model, 0));
    EXPECT_EQ(second, LineOf(*model, 1));
    ASSERT_NE(nullptr, model->Undo());
    EXPECT_EQ(before, AllText(*model));
}

TEST(Undo, PastingALongLineBreaksItAndOneUndoRemovesBoth)
{
    auto model = NewModel();
    Type(*model, 0, 0, std::string(3000, 'p'));
    ASSERT_EQ(2, model->LineCount());
    EXPECT_EQ(2048, model->LineLength(0));
    EXPECT_EQ(952, model->LineLength(1));
    ASSERT_NE(nullptr, model->Undo());
    EXPECT_EQ("", AllText(*model));
    EXPECT_EQ(1, model->LineCount());
    ASSERT_NE(nullptr, model->Redo());
    EXPECT_EQ(std::string(2048, 'p') + "\r\n" + std::string(952, 'p'), AllText(*model));
}

TEST(LineLength, ALoneCrIsAColumnOfItsLineForTheLengthRule)
{
    auto model = NewModel();
    const std::string typed = "ab\r" + std::string(3000, 'h');
    Type(*model, 0, 0, typed);
    ASSERT_EQ(2, model->LineCount());
    EXPECT_EQ(2048, model->LineLength(0));
    EXPECT_EQ(955, model->LineLength(1));
    ASSERT_NE(nullptr, model->Undo());
    EXPECT_EQ("", AllText(*model));
    ASSERT_NE(nullptr, model->Redo());
    ASSERT_EQ(2, model->LineCount());
    EXPECT_EQ(2048, model->LineLength(0));
}

TEST(LineLength, ALineLongerThanTheLimitKeepsItsLengthThroughEditsAndUndo)
{
    TempDir dir;
    const std::string loaded(5000, 'y');
    WriteFileBytes(dir.File("long.java"), loaded);
    auto model = NewModel();
    ASSERT_EQ(1, model->LoadFile(dir.File("long.java")));
    Type(*model, 0, 2500, "typed");
    Type(*model, 0, 5005, "x");
    ASSERT_EQ(1, model->LineCount());
    EXPECT_EQ(5006, model->LineLength(0));
    ASSERT_EQ(1, model->DeleteRange(0, 10, 0, 4000));
    EXPECT_EQ(1016, model->LineLength(0));
    // Undo puts back all 3990 bytes on the now short line, unbroken.
    ASSERT_NE(nullptr, model->Undo());
    EXPECT_EQ(5006, model->LineLength(0));
    ASSERT_NE(nullptr, model->Undo());
    ASSERT_NE(nullptr, model->Undo());
    EXPECT_EQ(loaded, AllText(*model));
    ASSERT_NE(nullptr, model->Redo());
    ASSERT_NE(nullptr, model->Redo());
    ASSERT_NE(nullptr, model->Redo());
    EXPECT_EQ(1, model->LineCount());
    EXPECT_EQ(1016, model->LineLength(0));

    // A line end typed into it and taken out again leaves it whole too.
    Type(*model, 0, 500, "\r\n");
    ASSERT_EQ(2, model->LineCount());
    ASSERT_EQ(1, model->DeleteRange(0, 500, 1, 0));
    EXPECT_EQ(1, model->LineCount());

    // Only a replacement that lengthens it past the limit is refused.
    EXPECT_FALSE(model->ReplacementTooLong(0, 1016));
    EXPECT_FALSE(model->ReplacementTooLong(0, 2048));
    EXPECT_TRUE(model->ReplacementTooLong(0, 2049));
}

TEST(LineLength, TypingTheColumnPastTheLimitStillBreaksTheLine)
{
    auto model = NewModel();
    Type(*model, 0, 0, std::string(2048, 'a'));
    ASSERT_EQ(1, model->LineCount());
    Type(*model, 0, 2048, "b");
    ASSERT_EQ(2, model->LineCount());
    EXPECT_EQ(std::string(2048, 'a') + "\r\nb", AllText(*model));
    EXPECT_FALSE(model->ReplacementTooLong(0, 2048));
    EXPECT_TRUE(model->ReplacementTooLong(0, 2049));
}

TEST(Undo, LogPairMergesWithThePreviousStep)
{
    auto model = NewModel();
    Type(*model, 0, 0, "a");
    // An edit made outside the history, then logged together with the
    // step before it.
    VxEditLineColPair range(0, 1, 0, 1);
    ASSERT_EQ(1, model->TextBuffer().InsertText(range, "b", 1));
    model->LogPair(new VxEditTextCommand(*model, range, true), false);
    EXPECT_EQ(1u, model->UndoCount());
    ASSERT_NE(nullptr, model->Undo());
    EXPECT_EQ("", AllText(*model));
    ASSERT_NE(nullptr, model->Redo());
    EXPECT_EQ("ab", AllText(*model));
}

TEST(Undo, TypedCharactersMergeIntoOneInsertion)
{
    auto model = NewModel();
    Type(*model, 0, 0, "a");
    auto* typing = dynamic_cast<VxEditTextCommand*>(model->UndoTop());
    ASSERT_NE(nullptr, typing);
    auto* next = new VxEditTextCommand(*model, VxEditLineColPair(0, 1, 0, 1), true, "b");
    ASSERT_TRUE(next->Execute());
    EXPECT_TRUE(typing->MergeInsertion(*next));
    next->Release();
    EXPECT_EQ("ab", AllText(*model));
    EXPECT_EQ(1u, model->UndoCount());
    ASSERT_NE(nullptr, model->Undo());
    EXPECT_EQ("", AllText(*model));
    ASSERT_NE(nullptr, model->Redo());
    EXPECT_EQ("ab", AllText(*model));
    auto* elsewhere = new VxEditTextCommand(*model, VxEditLineColPair(0, 0, 0, 0), true, "c");
    EXPECT_FALSE(typing->MergeInsertion(*elsewhere));  // undone once: it holds its text now
    elsewhere->Release();
}

TEST(Marks, EnterBeforeTheFirstNonBlankMovesTheMarkDown)
{
    auto model = NewModel();
    Type(*model, 0, 0, "  int x;\nnext");
    model->ToggleMark(0, VxEdit::kMarkBreakpoint);
    Type(*model, 0, 2, "\r\n");
    EXPECT_EQ(0, model->TestMark(0, VxEdit::kMarkBreakpoint));
    EXPECT_EQ(1, model->TestMark(1, VxEdit::kMarkBreakpoint));
    model->Undo();
    EXPECT_EQ(1, model->TestMark(0, VxEdit::kMarkBreakpoint));
    Type(*model, 0, 5, "\r\n");  // after the first non-blank
    EXPECT_EQ(1, model->TestMark(0, VxEdit::kMarkBreakpoint));
    EXPECT_EQ(0, model->TestMark(1, VxEdit::kMarkBreakpoint));
}

TEST(Marks, JoiningFromTheEndOfTheFirstLineKeepsItsMarks)
{
    auto model = NewModel();
    Type(*model, 0, 0, "first\nsecond\nthird");
    model->ToggleMark(0, VxEdit::kMarkBookmark);
    model->ToggleMark(1, VxEdit::kMarkBreakpoint);
    ASSERT_EQ(1, model->DeleteRange(0, 5, 1, 0));
    EXPECT_EQ("firstsecond", LineOf(*model, 0));
    EXPECT_EQ(1, model->TestMark(0, VxEdit::kMarkBookmark));
    EXPECT_EQ(0, model->TestMark(0, VxEdit::kMarkBreakpoint));
    EXPECT_EQ(0, model->TestMark(1, VxEdit::kMarkBreakpoint));
}

TEST(Marks, DeletingAWholeLineRemovesItsMarks)
{
    auto model = NewModel();
    Type(*model, 0, 0, "first\nsecond\nthird");
    model->ToggleMark(0, VxEdit::kMarkBookmark);
    model->ToggleMark(1, VxEdit::kMarkBreakpoint);
    ASSERT_EQ(1, model->DeleteRange(0, 0, 1, 0));
    EXPECT_EQ("second", LineOf(*model, 0));
    EXPECT_EQ(0, model->TestMark(0, VxEdit::kMarkBookmark));
    EXPECT_EQ(1, model->TestMark(0, VxEdit::kMarkBreakpoint));
    EXPECT_EQ(1, model->TestMark(0, VxEdit::kMarkChangedLine));
    EXPECT_EQ(0, model->CountMarkedLines(VxEdit::kMarkBookmark));
}

TEST(Marks, ToggleFindCountAndValues)
{
    auto model = NewModel();
    Type(*model, 0, 0, "a\nb\nc\nd");
    RecordingObserver observer;
    model->Attach(&observer);
    model->ToggleMark(2, VxEdit::kMarkBookmark);
    model->ToggleMark(2, VxEdit::kMarkBookmark);
    EXPECT_EQ(0, model->CountMarkedLines(VxEdit::kMarkBookmark));
    EXPECT_EQ(-1, model->FindMarkedLine(0, VxEdit::kMarkBookmark, true));
    EXPECT_EQ((std::vector<int>{kMsgInvalidateGutter, kMsgInvalidateGutter}), observer.ids);

    model->ToggleMark(1, VxEdit::kMarkBookmark);
    EXPECT_EQ(1, model->FindMarkedLine(3, VxEdit::kMarkBookmark, true));  // wraps to the start
    EXPECT_EQ(1, model->FindMarkedLine(1, VxEdit::kMarkBookmark, true));  // only the start line
    model->ToggleMark(3, VxEdit::kMarkBookmark);
    EXPECT_EQ(3, model->FindMarkedLine(1, VxEdit::kMarkBookmark, false));
    EXPECT_EQ(2, model->CountMarkedLines(VxEdit::kMarkBookmark));
    model->ClearMarkEverywhere(VxEdit::kMarkBookmark);
    EXPECT_EQ(0, model->CountMarkedLines(VxEdit::kMarkBookmark));

    EXPECT_EQ(0, model->SetLineValue(2, 7));
    EXPECT_EQ(7, model->GetLineValue(2));
    EXPECT_EQ(7, model->SetLineValue(2, 0));
    EXPECT_EQ(0, model->GetLineValue(9));
    model->ToggleMark(9, VxEdit::kMarkBookmark);  // past the end: ignored
    EXPECT_EQ(0, model->TestMark(9, VxEdit::kMarkBookmark));
    model->Detach(&observer);
}

TEST(Marks, ErrorLineOnTheJavaModelRepaintsItsLine)
{
    auto model = NewModel<VxScrivo>();
    Type(*model, 0, 0, "a\nb");
    RecordingObserver observer;
    model->Attach(&observer);
    model->ToggleMark(1, VxEdit::kMarkErrorLine);
    EXPECT_EQ((std::vector<int>{kMsgInvalidateGutter, kMsgInvalidateLines}), observer.ids);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{1, 1}}), observer.paints);
    model->Detach(&observer);
}

TEST(Notifications, EveryEditAndUndoSendsItsCommand)
{
    auto model = NewModel();
    RecordingObserver observer;
    model->Attach(&observer);
    Type(*model, 0, 0, "ab\ncd");
    ASSERT_EQ(1, model->DeleteRange(0, 1, 1, 1));
    model->Undo();
    model->Redo();
    EXPECT_EQ((std::vector<int>{kMsgTextCommand, kMsgTextCommand, kMsgTextCommand, kMsgTextCommand}),
              observer.ids);
    model->NewText();
    EXPECT_EQ(kMsgInitController, observer.ids.back());
    model->Detach(&observer);
}

TEST(Notifications, CommandsDescribeThemselves)
{
    auto model = NewModel();
    Type(*model, 0, 0, "abc\ndef");
    ASSERT_EQ(1, model->DeleteRange(0, 1, 1, 2));
    auto* deletion = dynamic_cast<VxEditTextCommand*>(model->UndoTop());
    ASSERT_NE(nullptr, deletion);
    EXPECT_EQ("Delete text from line 0, column 1 to line 1, column 2", deletion->GetDescription());
    EXPECT_EQ("bc\nde", deletion->Text());
    model->Undo();
    model->Undo();
    auto* insertion = dynamic_cast<VxEditTextCommand*>(model->RedoTop());
    ASSERT_NE(nullptr, insertion);
    EXPECT_EQ("Insert text having length 7 at line 0, column 0", insertion->GetDescription());
}

}  // namespace
}  // namespace quillet::test

namespace quillet::test {
namespace {

TEST(Notifications, ConfigurationChangesReachTheModelsObservers)
{
    auto model = NewModel();
    RecordingObserver observer;
    model->Attach(&observer);
    ASSERT_EQ(1, model->SetLangConfigByName("Default"));  // the one already in use: nothing to do
    EXPECT_EQ((std::vector<int>{}), observer.ids);
    model->GetLangConfig()->SetCharSet("+-", IVxEditLangConfig::kOperators, 0);
    EXPECT_EQ((std::vector<int>{kMsgInvalidateColouring}), observer.ids);
    EXPECT_EQ(0, model->SetLangConfigByName("No Such Language"));
    model->Detach(&observer);
    model->GetLangConfig()->SetCharSet("", IVxEditLangConfig::kOperators, 1);  // as "Default" starts
}

}  // namespace
}  // namespace quillet::test
