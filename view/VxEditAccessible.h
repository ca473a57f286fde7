#pragma once

#include "engine/VxEditLineCol.h"
#include "engine/VxEditTextObserver.h"
#include "mvc/IRefCount.h"

#include <QAccessibleWidget>

#include <memory>

class CScrivoView;
class VxEdit;
class VxEditUtf16Index;

// What a screen reader sees of an edit window: an editable, multi-line text
// with the caret and the selection. Offsets are UTF-16 units over the whole
// text (line ends included) and come from a block index kept in step with
// the edits, so every answer costs about what it returns, not the size of
// the text. Edits are announced with just the text that changed; a new text
// is announced without its content.
class VxEditAccessible : public QAccessibleWidget,
                         public QAccessibleTextInterface,
                         public VxEditTextObserver {
public:
    explicit VxEditAccessible(CScrivoView* view);
    ~VxEditAccessible() override;

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
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                             int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                            int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    // The model's edits, announced to screen readers.
    void OnNewText() override;
    void OnTextCommand(const VxEditTextCommand& command) override;

private:
    CScrivoView* View() const;
    int OffsetOf(const VxEditLineCol& position) const;
    VxEditLineCol PositionAt(int offset) const;
    // The text of the line holding the offset, with its bounds.
    QString LineAt(int offset, int* startOffset, int* endOffset) const;

    tarrow::foundation::RefPtr<VxEdit> model_;
    std::unique_ptr<VxEditUtf16Index> offsets_;
};
