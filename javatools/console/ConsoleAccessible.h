#pragma once

#include <QAccessibleWidget>

class ConsoleView;

// The console as assistive technology sees it: a terminal whose text is
// every line shown and kept, with the program's cursor as the caret and the
// mouse selection as the text selection.
class ConsoleAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ConsoleAccessible(ConsoleView* view);

    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(QAccessible::Text t) const override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    ConsoleView* View() const;
};

// Makes Qt's accessibility use ConsoleAccessible for every console view.
void InstallConsoleAccessibleFactory();
