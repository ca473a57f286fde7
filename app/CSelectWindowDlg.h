#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;

// "Select Window", the Window menu's "More Windows...": every open window
// by its title, in tab order, the one in use selected. Enter or a
// double-click chooses.
class CSelectWindowDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Select Window";

    CSelectWindowDlg(const QStringList& titles, int current, QWidget* parent = nullptr);

    // The row chosen, -1 for none.
    int Chosen() const;
    QListWidget* List() const { return list_; }

private:
    QListWidget* list_;
};
