#pragma once

#include "engine/VxEditWordCompleter.h"

#include <QListWidget>
#include <QPointer>

#include <vector>

// The list that Complete Word opens at the caret of an edit window: one row
// per candidate, a class with its package beside it ("HashMap — java.util").
// The keyboard stays with the edit window, whose keys the list watches
// while open: Up, Down, Page Up and Page Down move in the list, Enter
// chooses, Escape closes; every other key edits the text as usual, after
// which the list is asked to narrow. A click elsewhere or the edit window
// losing the focus closes it. It is a tool-tip window rather than a popup,
// which takes no keyboard and which Qt keeps off the accessibility tree:
// screen readers see a list named "Completions" with its rows as items.
class VxEditCompletionPopup : public QListWidget {
    Q_OBJECT
public:
    VxEditCompletionPopup();

    // Shows the candidates with the first one current, the list's top left
    // corner at a screen point, watching the editor's keys.
    void Open(QWidget* editor, const std::vector<VxEditCompletion>& candidates, const QPoint& at);
    // Replaces the rows, keeping the current word when it is still there.
    void SetCandidates(const std::vector<VxEditCompletion>& candidates);
    const VxEditCompletion* Current() const;

    static QString RowText(const VxEditCompletion& candidate);

signals:
    void Chosen(const VxEditCompletion& candidate);
    // A key went to the editor: the word before the caret may have changed.
    void KeyPassedOn();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ChooseCurrent();
    // Stops watching the editor and its viewport.
    void Unwatch();
    void FitToRows(const QPoint& at);

    QPointer<QWidget> editor_;
    std::vector<VxEditCompletion> candidates_;
};
