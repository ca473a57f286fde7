#include "JavaToolsSupport.h"

#include "app/CChildFrame.h"
#include "app/CScrivoDoc.h"
#include "app/CScrivoSettings.h"
#include "app/EditViewFactory.h"
#include "controller/VxEditController.h"
#include "javatools/classview/CClassView.h"
#include "platform/core/MessageSeam.h"
#include "resources/CommandIds.h"
#include "tests/support/TempDir.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quillet::test;

namespace {

bool WaitFor(const std::function<bool()>& condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

// A document window on a Java file, shown.
struct Window {
    explicit Window(const std::string& text)
    {
        RegisterJavaAndHtml();
        WriteFileBytes(dir.File("Shapes.java"), text);
        document.OnOpenDocument(dir.File("Shapes.java"));
        document.SetPathName(dir.File("Shapes.java"));
        EditViewParts view = CreateEditView(document, nullptr);
        std::vector<tarrow::foundation::ICommandTarget*> route = view.route;
        route.push_back(&document);
        frame = new CChildFrame(&document, view.widget, route);
        frame->SetSettings(&settings);
        frame->resize(640, 480);
        frame->show();
        frame->activateWindow();
        frame->FocusEditor();
    }
    ~Window() { delete frame; }

    VxEditController& Controller() { return *EditController(frame->EditView()); }

    // Runs the command while answering its dialog with `fill`, then OK.
    void RunWithDialog(int id, const std::function<void(QDialog&)>& fill)
    {
        QTimer::singleShot(0, [fill] {
            ASSERT_TRUE(WaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            fill(*dialog);
            dialog->accept();
            if (dialog->isVisible())
                dialog->reject();
        });
        frame->OnCommand(id);
    }

    TempDir dir;
    CScrivoDoc document;
    CScrivoSettings settings;
    CChildFrame* frame = nullptr;
};

}  // namespace

TEST(ClassViewWindowTest, DoubleClickGoesToTheDeclarationAndKeepsTheEditorFocused)
{
    Window window("package p;\r\n\r\ninterface Shape {\r\n}\r\n\r\nclass Circle implements Shape {\r\n}\r\n");
    CClassView& tree = *window.frame->ClassView();
    ASSERT_EQ(tree.topLevelItemCount(), 2);
    EXPECT_EQ(tree.topLevelItem(0)->text(0), "Circle");
    EXPECT_EQ(tree.topLevelItem(1)->text(0), "Shape");
    // Each kind shows its own image.
    const QImage classImage = tree.topLevelItem(0)->icon(0).pixmap(16, 16).toImage();
    const QImage interfaceImage = tree.topLevelItem(1)->icon(0).pixmap(16, 16).toImage();
    ASSERT_FALSE(classImage.isNull());
    EXPECT_NE(classImage, interfaceImage);

    QTreeWidgetItem* shape = tree.topLevelItem(1);
    const QPoint point = tree.visualItemRect(shape).center();
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, point);
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, point);
    EXPECT_EQ(window.Controller().Caret(), VxEditLineCol(2, 0));
    EXPECT_TRUE(WaitFor([&] { return window.frame->EditView()->hasFocus(); }));

    // Typing changes nothing in the tree; a save lists the new class.
    window.Controller().TypeText("class Square {}");
    EXPECT_EQ(tree.topLevelItemCount(), 2);
    window.frame->OnCommand(cmd::kFileSave);
    EXPECT_EQ(tree.topLevelItemCount(), 3);
}

TEST(ClassViewWindowTest, MembersShowUnderTheirTypeAndADoubleClickGoesToTheirLine)
{
    Window window("class Outer {\r\n\tint count;\r\n\tstatic class Inner {\r\n\t\tvoid put(String key, "
                  "java.util.List<String> values) { Runnable r = () -> {}; }\r\n\t}\r\n\tOuter() {}\r\n}\r\n");
    CClassView& tree = *window.frame->ClassView();
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    QTreeWidgetItem* outer = tree.topLevelItem(0);
    ASSERT_EQ(outer->childCount(), 3);
    EXPECT_EQ(outer->child(0)->text(0), "count");
    EXPECT_EQ(outer->child(1)->text(0), "Inner");
    EXPECT_EQ(outer->child(2)->text(0), "Outer()");
    QTreeWidgetItem* put = outer->child(1)->child(0);
    ASSERT_NE(put, nullptr);
    EXPECT_EQ(put->text(0), "put(String, java.util.List<String>)");
    EXPECT_EQ(put->toolTip(0), put->text(0));
    // Methods and fields have images of their own.
    EXPECT_NE(put->icon(0).pixmap(16, 16).toImage(), outer->child(0)->icon(0).pixmap(16, 16).toImage());

    const QPoint point = tree.visualItemRect(put).center();
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, point);
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, point);
    EXPECT_EQ(window.Controller().Caret(), VxEditLineCol(3, 0));
    // A member stands for its type when code is added to the selected class.
    EXPECT_EQ(tree.SelectedIndex(), 1);
}

namespace {

// A screen reader takes a tree's current item for the focused one: the
// tree of a window in the background must not have one.
int FocusedItems(CClassView& tree)
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&tree);
    int focused = 0;
    for (int i = 0; accessible && i < accessible->childCount(); ++i) {
        if (QAccessibleInterface* item = accessible->child(i); item && item->state().focused)
            ++focused;
    }
    return focused;
}

}  // namespace

TEST(ClassViewWindowTest, ReturnGoesToTheItemsLineAndOnlyTheFocusedTreeHasAFocusedItem)
{
    const std::string text = "class Outer {\r\n\tint count;\r\n\tvoid grow() {}\r\n}\r\n";
    Window behind(text);
    CClassView& hidden = *behind.frame->ClassView();
    hidden.setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(WaitFor([&] { return hidden.hasFocus(); }));
    EXPECT_EQ(FocusedItems(hidden), 1);

    Window front(text);
    CClassView& tree = *front.frame->ClassView();
    front.frame->activateWindow();
    tree.setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(WaitFor([&] { return tree.hasFocus(); }));
    EXPECT_EQ(FocusedItems(tree), 1);
    EXPECT_EQ(FocusedItems(hidden), 0);

    // Down to the field, Return: the caret is on its line, the editor focused.
    QTest::keyClick(&tree, Qt::Key_Down);
    QTest::keyClick(&tree, Qt::Key_Return);
    EXPECT_EQ(front.Controller().Caret(), VxEditLineCol(1, 0));
    EXPECT_TRUE(WaitFor([&] { return front.frame->EditView()->hasFocus(); }));
    EXPECT_EQ(FocusedItems(tree), 0);
    // Back in the tree the same item is current; Space goes there too.
    tree.setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(WaitFor([&] { return tree.hasFocus(); }));
    QTest::keyClick(&tree, Qt::Key_Down);
    QTest::keyClick(&tree, Qt::Key_Space);
    EXPECT_EQ(front.Controller().Caret(), VxEditLineCol(2, 0));
}

TEST(ClassViewWindowTest, NewClassAndMethodThroughTheDialogsAreOneUndoStepEach)
{
    quillet::platform::RecordingMessageSink messages;
    Window window("class A {\r\n}\r\n");
    CClassView& tree = *window.frame->ClassView();
    tarrow::foundation::CommandState state;
    ASSERT_TRUE(window.frame->OnUpdateCommand(cmd::kInsertMethod, state));
    EXPECT_FALSE(state.enabled);

    window.RunWithDialog(cmd::kInsertClass, [](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("Class Name")->setText("My Class");
        dialog.findChild<QCheckBox*>("Generate main(...) method")->setChecked(true);
    });
    const std::string withClass = "class A {\r\n}\r\n" "class MyClass \r\n{\r\n\tpublic static void main(String "
                                  "arguments[])\r\n\t{//TODO::Add entry code\r\n\t\tMyClass my = new MyClass();"
                                  "\r\n\t}\r\n}";
    EXPECT_EQ(WholeText(*window.document.Model()), withClass);
    ASSERT_EQ(tree.topLevelItemCount(), 2);

    tree.setCurrentItem(tree.topLevelItem(0));
    ASSERT_TRUE(window.frame->OnUpdateCommand(cmd::kInsertMethod, state));
    EXPECT_TRUE(state.enabled);
    window.RunWithDialog(cmd::kInsertMethod, [](QDialog& dialog) {
        // An empty name is refused and the dialog stays open.
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
        dialog.findChild<QCheckBox*>("Abstract")->setChecked(true);
        EXPECT_FALSE(dialog.findChild<QCheckBox*>("Static")->isEnabled());
        dialog.findChild<QLineEdit*>("Method Name")->setText("run");
    });
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Please enter valid method name"});
    EXPECT_EQ(WholeText(*window.document.Model()),
              "class A {\r\n\tabstract void run( ) \r\n\t{ //TODO: Add Method Code\r\n\t}\r\n}\r\n" +
                  withClass.substr(std::string("class A {\r\n}\r\n").size()));
    window.document.Model()->Undo();
    EXPECT_EQ(WholeText(*window.document.Model()), withClass);
    window.document.Model()->Undo();
    EXPECT_EQ(WholeText(*window.document.Model()), "class A {\r\n}\r\n");
}
