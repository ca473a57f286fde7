#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

// The menu text, status-bar prompt and main-frame keys of a command.
struct CommandInfo {
    int id = 0;
    QString menuText;          // with '&' mnemonic; the key text follows a tab
    QString prompt;            // shown in the status bar's message pane
    QList<QKeySequence> keys;  // the main frame's accelerators for it
};

// Looks a command up; an unknown id gives an entry with id 0.
const CommandInfo& CommandInfoFor(int id);
