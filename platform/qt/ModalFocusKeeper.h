#pragma once

#include <QObject>
#include <QPointer>
#include <QVector>

class QWidget;

namespace quillet::platform {

// Gives the focus back where it was when a modal dialog closes: the window
// that was active gets its activation back and the widget that had the
// focus gets it again, so the frame's keys work at once; unless the
// dialog's command focused another widget of that window (opened a file,
// started a program), which then keeps the focus. Window managers
// often reactivate some window themselves, but not always the right one,
// and a bare display reactivates none. Installed once on the application;
// it watches every modal window, message boxes and file dialogs included.
class ModalFocusKeeper : public QObject {
public:
    explicit ModalFocusKeeper(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Opened {
        QPointer<QWidget> dialog;
        QPointer<QWidget> window;
        QPointer<QWidget> focus;
    };
    void Restore(const Opened& opened);

    QVector<Opened> open_;
};

}  // namespace quillet::platform
