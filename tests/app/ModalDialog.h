#pragma once

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace quillet::test {

// Carries out a command that runs a modal dialog of the given class, letting
// act work in the dialog (and close it) once it shows.
template <typename Dialog>
void WithModalDialog(const std::function<void()>& command, const std::function<void(Dialog&)>& act)
{
    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        ran = true;
        act(*dialog);
    });
    command();
    EXPECT_TRUE(ran);
}

}  // namespace quillet::test
