#pragma once

#include "mvc/IRefCount.h"

#include <QPersistentModelIndex>
#include <QTreeWidget>

#include <memory>

class DeclarationScanner;
class QTimer;
class VxScrivo;

namespace tarrow::foundation {
class ICommandTarget;
}

// The class tree of a document window: one root item per top-level
// declaration of the text (classes, enums and records, then interfaces),
// with its constructors, methods, fields and nested types below it in
// source order; each item has the image of its kind, its line as item data
// and its whole text as tooltip. Built on request only, never while typing. A double-click asks for the declaration's line and leaves the
// keyboard focus with the edit view; the right button opens the tree popup,
// whose commands go to the window's command target. Return and Space go to
// the current item's line as a double-click does. Only the tree with the
// focus has a current item, since screen readers take every tree's current
// item for the focused one, in hidden windows too.
class CClassView : public QTreeWidget {
    Q_OBJECT
public:
    explicit CClassView(VxScrivo& model, QWidget* parent = nullptr);
    ~CClassView() override;

    // Rebuilds the list from the text, at once.
    void Refresh();
    // Rebuilds the list in steps while the window stays responsive (for a
    // large text); the tree is filled when the last step is done.
    void RefreshInSteps();
    bool IsRefreshing() const { return pending_ != nullptr; }

    // The index in the declaration list of the selected type, or of the
    // type of the selected member; -1 without one.
    int SelectedIndex() const;
    // The item data of the selected item; line 0 without a selection.
    int SelectedLine() const;
    bool HasItems() const { return topLevelItemCount() > 0; }

    // Where the popup's commands and their states go.
    void SetCommandTarget(tarrow::foundation::ICommandTarget* target) { commandTarget_ = target; }
    // The popup's entries, for the windows that show it.
    QMenu* CreatePopup(QWidget* parent);

signals:
    // The user double-clicked a declaration, or pressed Return or Space on
    // it: go to its line.
    void DeclarationActivated(int line);
    // The tree got the focus back right after a double-click.
    void FocusReturnRequested();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void StepRefresh();
    void FillTree();

    tarrow::foundation::RefPtr<VxScrivo> model_;
    std::unique_ptr<DeclarationScanner> pending_;
    QTimer* stepper_ = nullptr;
    tarrow::foundation::ICommandTarget* commandTarget_ = nullptr;
    bool returnFocusPending_ = false;
    // The current item while the tree is without the focus.
    QPersistentModelIndex keptCurrent_;
};
