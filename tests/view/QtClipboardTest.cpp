// Copy and paste through the system clipboard: text/plain and the
// "MSDEVColumnSelect" format for column blocks.
#include "ViewSupport.h"

#include "resources/CommandIds.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <gtest/gtest.h>

namespace quillet::test {
namespace {

class QtClipboardTest : public ::testing::Test, public ViewFixture {
protected:
    void Command(int id, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            view->OnCommand(id);
    }
    static void PutText(const QString& text, bool column)
    {
        auto* data = new QMimeData();
        data->setText(text);
        if (column)
            data->setData("MSDEVColumnSelect", text.toUtf8());
        QGuiApplication::clipboard()->setMimeData(data);
    }
    CScrivoCtlr& Ctlr() { return view->Controller(); }
};

TEST_F(QtClipboardTest, ColumnCopyOffersTextAndTheColumnFormatWithEmptyRowsForShortLines)
{
    // Rows end in LF, also in a text with CR LF line ends.
    SetText("abcdef\r\nab\r\nabcdef");
    Ctlr().SetSelection(VxEditLineCol(0, 3), VxEditLineCol(2, 5), VxEditSelection::kColumn);
    Command(cmd::kEditCopy);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(nullptr, data);
    EXPECT_EQ(QString("de\n\nde\n"), data->text());
    EXPECT_EQ(QByteArray("de\n\nde\n"), data->data("MSDEVColumnSelect"));
    EXPECT_TRUE(data->hasFormat("MSDEVColumnSelect"));
    // A stream copy carries no column format.
    Ctlr().SetSelection(VxEditLineCol(0, 0), VxEditLineCol(0, 2), VxEditSelection::kStream);
    Command(cmd::kEditCopy);
    data = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(QString("ab"), data->text());
    EXPECT_FALSE(data->hasFormat("MSDEVColumnSelect"));
}

TEST_F(QtClipboardTest, ColumnPasteFromAnotherProgramExtendsTheDocument)
{
    SetText("a\r\nb\r\nc");
    PutText("XX\r\nYY\r\nZZ\r\n", true);
    Ctlr().SetCaret(1, 0);
    Command(cmd::kEditPaste);
    EXPECT_EQ("a\r\nXXb\r\nYYc\r\nZZ", Text());
}

TEST_F(QtClipboardTest, TheUnterminatedLastRowOfAColumnBlockIsDropped)
{
    SetText("ab\r\ncd");
    PutText("1\r\n2", true);
    Ctlr().SetCaret(0, 1);
    Command(cmd::kEditPaste);
    EXPECT_EQ("a1b\r\ncd", Text());
}

TEST_F(QtClipboardTest, ALineCopiedWithoutASelectionPastesAboveAnotherLine)
{
    SetText("first\r\nsecond\r\nthird");
    Ctlr().SetCaret(2, 3);
    Command(cmd::kEditCopy);
    EXPECT_EQ(QString("third"), QGuiApplication::clipboard()->text());
    Ctlr().SetCaret(0, 2);
    Command(cmd::kEditCopy);
    EXPECT_EQ(QString("first\r\n"), QGuiApplication::clipboard()->text());
    Ctlr().SetCaret(2, 0);
    Command(cmd::kEditPaste);
    EXPECT_EQ("first\r\nsecond\r\nfirst\r\nthird", Text());
}

TEST_F(QtClipboardTest, TwoPastesAreUndoneOneAtATime)
{
    SetText("end");
    PutText("one\r\n", false);
    Command(cmd::kEditPaste, 2);
    EXPECT_EQ("one\r\none\r\nend", Text());
    Command(cmd::kEditUndo);
    EXPECT_EQ("one\r\nend", Text());
    Command(cmd::kEditUndo);
    EXPECT_EQ("end", Text());
}

TEST_F(QtClipboardTest, BytesThatAreNotUtf8RoundTripInsideTheProgram)
{
    SetText("a\xFF\x80z");
    Command(cmd::kEditSelectAll);
    Command(cmd::kEditCopy);
    Command(cmd::kTextEnd);
    Command(cmd::kEditPaste);
    EXPECT_EQ("a\xFF\x80za\xFF\x80z", Text());
}

TEST_F(QtClipboardTest, CopyAsHtmlGivesAccentedAndChineseTextAsCharacters)
{
    // The HTML goes on the clipboard as Unicode text, so no character set
    // needs declaring in it, unlike the exported page's bytes.
    SetText("caf\xC3\xA9 \xE4\xB8\xAD\xE6\x96\x87");
    Command(cmd::kEditSelectAll);
    Command(cmd::kEditCopyAsHtml);
    const QString html = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(html.startsWith(QStringLiteral("<PRE>")) && html.endsWith(QStringLiteral("</PRE>"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral(u"caf\u00e9 \u4e2d\u6587"))) << html.toStdString();
}

TEST_F(QtClipboardTest, AnEmptyClipboardDisablesPasteAndCopyOfNothingEmptiesIt)
{
    SetText("");
    PutText("x", false);
    Command(cmd::kEditCopy);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
    tarrow::foundation::CommandState state;
    ASSERT_TRUE(view->OnUpdateCommand(cmd::kEditPaste, state));
    EXPECT_FALSE(state.enabled);
}

}  // namespace
}  // namespace quillet::test
