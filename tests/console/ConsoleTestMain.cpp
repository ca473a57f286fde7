// The console tests need an application object for fonts, the clipboard and
// windows; it lives for the whole run. Shells started after a program are
// the plain /bin/sh, whatever the user's login shell is.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("SHELL", "/bin/sh", 1);
    ::setenv("PS1", "$ ", 1);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
