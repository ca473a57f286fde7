#include "javatools/applet/AppletPage.h"

#include <gtest/gtest.h>

TEST(AppletPageTest, NamesFromTheDocument)
{
    EXPECT_EQ(AppletPage::ClassFileName("Hello.java"), "Hello.class");
    EXPECT_EQ(AppletPage::ClassFileName("Hello"), "Hello.class");
    EXPECT_EQ(AppletPage::ClassFileName("HELLO.JAVA"), "HELLO.JAVA.class");
    EXPECT_EQ(AppletPage::OutputFileName("/src/Hello.java"), "/src/Hello.html");
    // Never the source itself, whatever the case of its extension.
    EXPECT_EQ(AppletPage::OutputFileName("/src/HELLO.JAVA"), "/src/HELLO.html");
    EXPECT_EQ(AppletPage::OutputFileName("/src.java/Hello"), "/src.java/Hello.html");
    EXPECT_EQ(AppletPage::OutputFileName("/src/Page.html"), "/src/Page.html.html");
    EXPECT_EQ(AppletPage::OutputFileName(""), "");
}

TEST(AppletPageTest, PageTemplate)
{
    EXPECT_EQ(AppletPage::PageText("Hello.class"),
              "<html>\r\n<head></head><body>\r\n<applet code=Hello.class\r\n width=400 height=400>\r\n"
              "<param name= value=>\r\n</applet></body>\r\n</html>");
}
