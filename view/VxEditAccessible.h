#pragma once

#include "engine/VxEditLineCol.h"

#include <QAccessibleWidget>

class CScrivoView;
class QString;

// What screen readers see of an edit window (AT-SPI through Qt): its whole
// text, the caret and the selection, as character offsets into the text.
// Offsets count UTF-16 units of the text, line ends included; the model's
// positions are lines and byte columns.
class VxEditAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit VxEditAccessible(CScrivoView* view);

    // Makes every edit window answer with this class; runs once.
    static void Install();

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(QAccessible::Text kind) const override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    CScrivoView* View() const;
    QString WholeText() const;
    int OffsetOf(const VxEditLineCol& position) const;
    VxEditLineCol PositionAt(int offset) const;
};
