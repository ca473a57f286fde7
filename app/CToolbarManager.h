#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QMainWindow;
class QToolBar;

namespace quillet::platform {
class Profile;
}

// The main frame's toolbars "File", "Edit" and "Tools": which commands each
// carries (in the user's order, changed by customising), the button size,
// and their layout, kept under "Toolbars" in the settings store.
//
// A toolbar lists its commands by id, 0 standing for a separator. Every
// command of the list has a button; one that does not apply to the active
// window is greyed by its update handler, never taken off.
class CToolbarManager : public QObject {
    Q_OBJECT
public:
    static constexpr int kSeparator = 0;

    struct Bar {
        int id = 0;
        QString title;
        QList<int> defaultButtons;
        QList<int> buttons;
        QToolBar* toolbar = nullptr;
    };

    // Everything customising may change, to be put back on Cancel.
    struct Snapshot {
        QByteArray layout;
        QHash<int, QList<int>> buttons;
    };

    // action gives the frame's action of a command.
    CToolbarManager(QMainWindow& frame, std::function<QAction*(int)> action);

    // Makes the three toolbars, docked at the top in order.
    void CreateToolbars();
    const QList<Bar>& Bars() const { return bars_; }
    QToolBar* Toolbar(int barId) const;
    // The toolbar a command id of the View menu shows or hides.
    QToolBar* ToolbarOfViewCommand(int commandId) const;

    QList<int> Buttons(int barId) const;
    void SetButtons(int barId, const QList<int>& buttons);
    // The buttons as the program first had them.
    void ResetButtons(int barId);
    // Puts a command on a toolbar before the button at index (-1: at the end).
    void InsertButton(int barId, int commandId, int index);
    // Takes the index-th button off.
    void RemoveButton(int barId, int index);

    bool LargeButtons() const { return large_; }
    void SetLargeButtons(bool large);

    Snapshot Save() const;
    void Restore(const Snapshot& snapshot);
    // The layout and contents kept under "Toolbars"; nothing stored leaves
    // the first-start layout.
    void Load(const quillet::platform::Profile& profile);
    void Store(quillet::platform::Profile& profile) const;

signals:
    // A toolbar's buttons were made again (after a change of its contents).
    void ToolbarRebuilt(QToolBar* toolbar);

private:
    Bar* Find(int barId);
    void Rebuild(Bar& bar);

    QMainWindow& frame_;
    std::function<QAction*(int)> action_;
    QList<Bar> bars_;
    bool large_ = false;
};
