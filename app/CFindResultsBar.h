#pragma once

#include <QDockWidget>
#include <QPersistentModelIndex>

#include <vector>

class QListWidget;
class QPushButton;
struct VxEditFileMatch;

// The "Find Results" tab beside the output window: one line per match,
// "path:line: text of the line", then a line with the counts. Enter or a
// double-click on a match asks for it to be shown, as do F4 and Shift+F4
// from anywhere; Escape in the list or "Stop" asks for the search to end.
class CFindResultsBar : public QDockWidget {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Find Results";

    explicit CFindResultsBar(QWidget* parent = nullptr);

    void Begin();
    void Add(const std::vector<VxEditFileMatch>& matches);
    void Finish(const QString& summary);
    bool IsSearching() const;
    QListWidget* List() const { return list_; }
    // F4 and Shift+F4: the match after (step 1) or before (-1) the one shown
    // last, wrapping at the ends, is selected and asked to be shown; false
    // when the list has none.
    bool Step(int step);
    // Shows the bar and gives the list the focus, on the match shown last.
    void FocusList();

signals:
    void MatchActivated(const QString& path, int line, int column, int length);
    void StopRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Show(int row);

    QListWidget* list_;
    QPushButton* stop_;
    // The row of the match shown last, -1 before the first.
    int shown_ = -1;
    // The current item while the list is without the focus.
    QPersistentModelIndex keptCurrent_;
};
