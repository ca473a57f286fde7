#pragma once

#include <QDockWidget>

#include <vector>

class QListWidget;
class QPushButton;
struct VxEditFileMatch;

// The "Find Results" tab beside the output window: one line per match,
// "path:line: text of the line", then a line with the counts. Enter or a
// double-click on a match asks for it to be shown; Escape in the list or
// "Stop" asks for the search to end.
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

signals:
    void MatchActivated(const QString& path, int line, int column, int length);
    void StopRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* list_;
    QPushButton* stop_;
};
