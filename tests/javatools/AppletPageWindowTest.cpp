#include "JavaToolsSupport.h"

#include "controller/VxEditController.h"
#include "javatools/applet/AppletPage.h"
#include "javatools/applet/CHTMLTextDlg.h"
#include "platform/core/MessageSeam.h"
#include "tests/support/TempDir.h"
#include "view/CScrivoView.h"

#include <QLineEdit>

#include <gtest/gtest.h>

using namespace quillet::test;

TEST(AppletPageWindowTest, TheEditedPageIsWhatGetsWritten)
{
    RegisterJavaAndHtml();
    quillet::platform::RecordingMessageSink messages;
    TempDir dir;
    const std::string source = dir.File("Hello.java");
    WriteFileBytes(source, "public class Hello {}\r\n");

    CHTMLTextDlg dialog;
    dialog.SetClassName(AppletPage::ClassFileName("Hello.java"));
    dialog.SetFileName(AppletPage::OutputFileName(source));
    dialog.SetDocumentPath(source);
    EXPECT_EQ(dialog.Model().GetLangConfig()->GetName(), "HTML");
    EXPECT_NE(dialog.PageText().find("<applet code=Hello.class\r\n"), std::string::npos);
    EXPECT_EQ(dialog.FileName(), dir.File("Hello.html"));

    // The page's own file name may not be the source's.
    dialog.findChild<QLineEdit*>("Save HTML file as")->setText(QString::fromStdString(source));
    dialog.accept();
    EXPECT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(ReadFileBytes(source), "public class Hello {}\r\n");

    dialog.SetFileName(dir.File("Hello.html"));
    VxEditController& controller = dialog.PageView().Controller();
    controller.SetCaret(4, 12);
    controller.TypeText("\"speed\"");
    controller.SetCaret(4, 26);
    controller.TypeText("9");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ReadFileBytes(dir.File("Hello.html")),
              "<html>\r\n<head></head><body>\r\n<applet code=Hello.class\r\n width=400 height=400>\r\n"
              "<param name=\"speed\" value=9>\r\n</applet></body>\r\n</html>");
}
