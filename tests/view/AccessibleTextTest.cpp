// What a screen reader reads of an edit window equals the text as Qt would
// convert it whole: counts, pieces, lines, words, the caret, and the events
// after an edit.
#include "tests/view/ViewSupport.h"

#include "engine/VxEdit.h"
#include "engine/VxEditUtf16Index.h"

#include <QAccessible>
#include <QAccessibleTextInterface>

#include <gtest/gtest.h>

#include <random>

namespace {

using quillet::test::ViewFixture;

QString Reference(VxEdit& model)
{
    std::string bytes;
    model.CopyText(bytes, 0, 0, model.LastLine(), model.LineLength(model.LastLine()));
    std::u16string units;
    VxEditUtf16Index::AppendUtf16(units, bytes.data(), bytes.size());
    return QString(reinterpret_cast<const QChar*>(units.data()), static_cast<qsizetype>(units.size()));
}

TEST(AccessibleText, AnswersAsTheWholeTextWouldAndAnnouncesOnlyChanges)
{
    ViewFixture fixture;
    std::string text;
    for (int line = 0; line < 3000; ++line)
        text += "int v" + std::to_string(line) + (line % 5 ? " = 1;\n" : " = \xC3\xA9\xF0\x9F\x98\x80 x;\r\n");
    fixture.SetText(text);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(fixture.view.get());
    ASSERT_NE(accessible, nullptr);
    QAccessibleTextInterface* reader = accessible->textInterface();
    ASSERT_NE(reader, nullptr);

    const QString whole = Reference(*fixture.model);
    ASSERT_EQ(reader->characterCount(), whole.size());
    std::mt19937 random(7);
    for (int probe = 0; probe < 200; ++probe) {
        const int a = static_cast<int>(random() % (whole.size() + 1));
        const int b = std::min<int>(whole.size(), a + static_cast<int>(random() % 300));
        ASSERT_EQ(reader->text(a, b), whole.mid(a, b - a)) << a << ".." << b;
        int start = 0;
        int end = 0;
        const QString line = reader->textAtOffset(a, QAccessible::LineBoundary, &start, &end);
        ASSERT_EQ(line, whole.mid(start, end - start));
        ASSERT_LE(start, std::min<int>(a, whole.size() - 1));
        ASSERT_TRUE(start == 0 || whole[start - 1] == '\n');
        ASSERT_TRUE(end == whole.size() || whole[end - 1] == '\n');
        const QString word = reader->textAtOffset(a, QAccessible::WordBoundary, &start, &end);
        ASSERT_EQ(word, whole.mid(start, end - start));
    }

    // The caret at the end of the text; the reader agrees.
    fixture.view->Controller().SetCaret(fixture.model->LastLine(), fixture.model->LineLength(fixture.model->LastLine()));
    EXPECT_EQ(reader->cursorPosition(), whole.size());
    reader->setCursorPosition(5);
    EXPECT_EQ(reader->cursorPosition(), 5);

    // After an edit the reader counts the new text.
    fixture.model->InsertAtLineCol(1, 0, "\xC3\xA9t\xC3\xA9", 5);
    EXPECT_EQ(reader->characterCount(), whole.size() + 3);
    EXPECT_EQ(reader->text(0, reader->characterCount()), Reference(*fixture.model));
    fixture.model->DeleteRange(1, 0, 1, 5);
    EXPECT_EQ(reader->text(0, reader->characterCount()), whole);
}

}  // namespace
