// Recovery journals: random edits, undo and redo, written at random moments,
// rebuild exactly the text of the last write; a torn last record falls back
// to the write before; a large file's journal holds only the edits.
#include "ModelSupport.h"

#include "engine/VxEditRecoveryJournal.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace quillet::test {
namespace {

std::string Rebuilt(const std::string& journal)
{
    VxEditRecoveryJournal::Contents contents;
    std::string reason;
    EXPECT_TRUE(VxEditRecoveryJournal::Read(journal, contents, reason)) << reason;
    return contents.text;
}

TEST(RecoveryJournal, RebuildsTheTextOfEveryWriteAndIgnoresATornLastRecord)
{
    TempDir dir;
    const std::string journalPath = dir.File("doc.journal");
    std::mt19937 random(7);
    auto uniform = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const char* const pieces[] = {"word", " ", "\t", "\r\n", "\n", "\r", "\xC3\xA9", "{", "}", "x"};
    auto model = NewModel();
    VxEditRecoveryJournal journal(*model, journalPath);
    journal.Restart({}, "Quillet1", {});
    std::string written;
    for (int step = 0; step < 600; ++step) {
        const int kind = uniform(0, 9);
        if (kind <= 5) {
            std::string text;
            for (int i = uniform(1, 4); i > 0; --i)
                text += pieces[uniform(0, 9)];
            const int line = uniform(0, model->LastLine());
            const int column = uniform(0, model->LineLength(line));
            model->InsertAtLineCol(line, model->SnapColumn(line, column), text.data(),
                                   static_cast<std::int64_t>(text.size()));
        } else if (kind <= 7) {
            const int line = uniform(0, model->LastLine());
            const int end = std::min(model->LastLine(), line + uniform(0, 1));
            model->DeleteRange(line, 0, end, model->SnapColumn(end, uniform(0, model->LineLength(end))));
        } else if (kind == 8) {
            model->Undo();
        } else {
            model->Redo();
        }
        if (uniform(0, 20) == 0) {
            ASSERT_TRUE(journal.Flush());
            // An unmodified text is not written until it is edited.
            if (!std::filesystem::exists(journalPath)) {
                ASSERT_EQ(0, model->IsModified());
                continue;
            }
            written = AllText(*model);
            ASSERT_EQ(written, Rebuilt(journalPath)) << "step " << step;
        }
    }
    ASSERT_TRUE(journal.Flush());
    written = AllText(*model);
    const auto whole = std::filesystem::file_size(journalPath);
    model->InsertAtLineCol(0, 0, "lost in the crash", 17);
    ASSERT_TRUE(journal.Flush());
    // Killed while writing: the last record is cut short.
    std::filesystem::resize_file(journalPath, whole + 5);
    EXPECT_EQ(written, Rebuilt(journalPath));
    VxEditRecoveryJournal::Contents contents;
    std::string reason;
    ASSERT_TRUE(VxEditRecoveryJournal::Read(journalPath, contents, reason));
    EXPECT_EQ("its last 5 bytes are cut short or damaged, and the edits they held are left out", contents.damage);

    journal.Remove();
    EXPECT_FALSE(std::filesystem::exists(journalPath));
}

TEST(RecoveryJournal, ALargeFilesJournalHoldsOnlyTheEditsAndNeedsTheSameFile)
{
    TempDir dir;
    const std::string file = dir.File("Big.java");
    std::string bytes;
    while (bytes.size() <= static_cast<std::size_t>(VxEditRecoveryJournal::kWholeTextLimit))
        bytes += "    int value = 42; // a line of Java\n";
    WriteFileBytes(file, bytes);
    const std::string journalPath = dir.File("big.journal");
    auto model = NewModel();
    ASSERT_EQ(1, model->LoadFile(file));
    VxEditRecoveryJournal journal(*model, journalPath);
    journal.Restart(file, "Big.java", VxEditFileStamp::Of(file));
    EXPECT_TRUE(journal.Flush());
    EXPECT_FALSE(std::filesystem::exists(journalPath));  // nothing changed yet
    for (int i = 0; i < 50; ++i) {
        model->InsertAtLineCol(1000, 4, "x", 1);
        ASSERT_TRUE(journal.Flush());
    }
    model->DeleteRange(5, 0, 7, 0);
    ASSERT_TRUE(journal.Flush());
    EXPECT_LT(std::filesystem::file_size(journalPath), 8000u);
    VxEditRecoveryJournal::Contents contents;
    std::string reason;
    ASSERT_TRUE(VxEditRecoveryJournal::Read(journalPath, contents, reason)) << reason;
    EXPECT_EQ(AllText(*model), contents.text);
    EXPECT_EQ(file, contents.documentPath);
    EXPECT_EQ("Big.java", contents.title);

    // The file the edits were made against is gone: nothing is made up.
    WriteFileBytes(file, "changed");
    EXPECT_FALSE(VxEditRecoveryJournal::Read(journalPath, contents, reason));
    EXPECT_NE(std::string::npos, reason.find("changed")) << reason;
}

}  // namespace
}  // namespace quillet::test
