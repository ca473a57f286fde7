// Screen-reader offsets of a text that is edited at random: after every edit,
// undo and redo, the index answers as a plain count over the whole text does.
#include "ModelSupport.h"

#include "engine/VxEditCompositeGuard.h"
#include "engine/VxEditTextBuffer.h"
#include "engine/VxEditUtf16Index.h"

#include <gtest/gtest.h>

#include <random>

namespace quillet::test {
namespace {

// The whole text as UTF-16, with the unit offset of every byte offset that
// starts a character (and of the end).
struct Reference {
    std::u16string units;
    std::vector<std::int64_t> offsetOfByte;

    explicit Reference(VxEdit& model)
    {
        const std::string text = AllText(model);
        offsetOfByte.assign(text.size() + 1, -1);
        VxEditUtf16Index::AppendUtf16(units, text.data(), text.size());
        std::int64_t at = 0;
        for (std::size_t byte = 0; byte < text.size();) {
            offsetOfByte[byte] = at;
            const int size = VxEditUtf8::CharLength(text.data() + byte, text.size() - byte);
            at += size == 4 ? 2 : 1;
            byte += static_cast<std::size_t>(size);
        }
        offsetOfByte[text.size()] = at;
    }
};

std::string Piece(std::mt19937& random, bool ascii)
{
    static const char* const kAscii[] = {"word", " ", "\t", "\r\n", "\n", "\r", "{}", "line\nline\n"};
    if (ascii)
        return kAscii[random() % std::size(kAscii)];
    static const char* const kPieces[] = {"word", "x", " ", "\t", "\r\n", "\n", "\r", "\xC3\xA9",
                                          "\xE4\xB8\xAD", "\xF0\x9F\x98\x80", "\xFF", "\x80", "\xE4\xB8",
                                          "line\nline\nline\n", "\n\n\n\n"};
    return kPieces[random() % std::size(kPieces)];
}

void ExpectAgrees(VxEdit& model, VxEditUtf16Index& index, std::mt19937& random, int step)
{
    const Reference reference(model);
    ASSERT_EQ(index.Units(), static_cast<std::int64_t>(reference.units.size())) << "step " << step;
    VxEditTextBuffer& buffer = model.TextBuffer();
    for (int probe = 0; probe < 8; ++probe) {
        const std::int32_t line = static_cast<std::int32_t>(random() % model.LineCount());
        const std::int32_t length = model.LineLength(line);
        const std::int32_t column = model.SnapColumn(line, static_cast<std::int32_t>(random() % (length + 1)));
        const std::int64_t byte = buffer.OffsetOf(line, column);
        ASSERT_EQ(index.OffsetOf(VxEditLineCol(line, column)), reference.offsetOfByte[byte])
            << "step " << step << " at " << line << ":" << column;
        // Back from that offset to the same position.
        const VxEditLineCol back = index.PositionAt(reference.offsetOfByte[byte]);
        ASSERT_EQ(back.line, line) << "step " << step;
        ASSERT_EQ(back.column, column) << "step " << step;
    }
}

void RunRandomEdits(bool ascii)
{
    std::mt19937 random(2026);
    auto model = NewModel();
    std::string start;
    for (int line = 0; line < 300; ++line)
        start += "line " + std::to_string(line) +
                 (line % 7 == 0 && !ascii ? " \xC3\xA9\xF0\x9F\x98\x80\r\n" : "\n");
    model->InsertAtLineCol(0, 0, start.data(), static_cast<std::int64_t>(start.size()));
    // Blocks of 16 lines, so that edits cross and empty them.
    VxEditUtf16Index index(*model, 16);
    model->Attach(&index);
    ExpectAgrees(*model, index, random, -1);

    for (int step = 0; step < 600; ++step) {
        const int action = static_cast<int>(random() % 10);
        const std::int32_t line = static_cast<std::int32_t>(random() % model->LineCount());
        const std::int32_t column =
            model->SnapColumn(line, static_cast<std::int32_t>(random() % (model->LineLength(line) + 1)));
        if (action < 5) {
            std::string text;
            for (int i = static_cast<int>(random() % 4); i >= 0; --i)
                text += Piece(random, ascii);
            model->InsertAtLineCol(line, column, text.data(), static_cast<std::int64_t>(text.size()));
        } else if (action < 8) {
            const std::int32_t endLine =
                std::min(model->LastLine(), line + static_cast<std::int32_t>(random() % 40));
            const std::int32_t endColumn = endLine == line
                                               ? model->LineLength(line)
                                               : model->SnapColumn(endLine, static_cast<std::int32_t>(
                                                                                 random() % (model->LineLength(endLine) + 1)));
            model->DeleteRange(line, column, endLine, endColumn);
        } else if (action == 8) {
            model->Undo();
        } else {
            model->Redo();
        }
        ExpectAgrees(*model, index, random, step);
    }

    // A new text makes the blocks anew.
    model->NewText();
    EXPECT_EQ(index.Units(), 0);
    model->Detach(&index);
}

// Texts with characters outside ASCII, and texts of ASCII only, whose
// blocks map offsets to bytes directly.
TEST(Utf16Index, FollowsRandomEditsUndoAndRedoAcrossBlocks)
{
    RunRandomEdits(false);
    RunRandomEdits(true);
}

}  // namespace
}  // namespace quillet::test
