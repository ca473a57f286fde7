#pragma once

#include <QDialog>
#include <QList>
#include <QPoint>

class QLabel;
class QListWidget;
class QMimeData;
class QToolBar;
class CToolbarManager;

// "Customize": a Toolbars page that shows, hides and resets the toolbars,
// and a Commands page listing the commands of the groups "File", "Edit",
// "Tools" and "Menu". While the dialog is open a command is dragged from the
// list onto a toolbar to add it, a button is dragged along or onto another
// toolbar to move it, and off every toolbar to remove it. The caller puts
// back what was there before when the dialog is cancelled.
class CCustomizeToolbarsDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kMimeType = "application/x-quillet-command";

    CCustomizeToolbarsDlg(CToolbarManager& toolbars, QWidget* parent = nullptr);
    ~CCustomizeToolbarsDlg() override;

    // The groups of the Commands page and their commands, in order.
    static QStringList GroupNames();
    static QList<int> GroupCommands(const QString& group);

    QListWidget* CommandList() const { return commands_; }
    QListWidget* ToolbarList() const { return bars_; }
    void SelectGroup(const QString& group);
    // What dragging this command carries (also for a toolbar button).
    static QMimeData* CommandData(int commandId, int sourceBar = 0, int sourceIndex = -1);
    // Drops a dragged command onto a toolbar at a point of it; true when taken.
    bool DropCommand(QToolBar* toolbar, const QMimeData& data, QPoint position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillCommands(const QString& group);
    void FillToolbars();
    void PrepareToolbar(QToolBar* toolbar);
    int BarIdOf(const QObject* toolbar) const;
    void StartButtonDrag(QToolBar* toolbar, QPoint position);

    CToolbarManager& toolbars_;
    QListWidget* groups_;
    QListWidget* commands_;
    QListWidget* bars_;
    QLabel* description_;
    QPoint pressPosition_;
    QToolBar* pressedToolbar_ = nullptr;
};
