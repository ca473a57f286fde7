#pragma once

#include <QLabel>

class QStatusBar;

// The message pane of the main frame's status bar as a pane of its own: it
// shows the bar's current message (prompts, progress, check-on-save
// findings) and carries it as its accessible name, so that a screen reader
// finds it as a pane and hears each new message. It fills the room left of
// the indicators, where the bar would otherwise draw the message itself.
class CMessagePane : public QLabel {
    Q_OBJECT
public:
    // Goes first among the bar's permanent panes.
    explicit CMessagePane(QStatusBar& bar);

private:
    void Follow(const QString& message);
};
