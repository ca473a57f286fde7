#pragma once

#include <QObject>
#include <QString>

#include <map>
#include <memory>
#include <string>

class CMainFrame;
class CScrivoDoc;
class QSocketNotifier;
class SaveCheck;

namespace quillet::platform {
class Profile;
}

// The checks on save of the open documents: after a Java file is saved the
// configured compiler checks it in the background (SaveCheck), watched
// from the event loop, so typing goes on while it runs. What it says
// about a line is that line's margin tooltip and, while the caret of the
// active window is on the line, the text of the main status bar's message
// pane. A compiler that is missing or fails is said once in the status
// bar; the output window is left to Compile.
class CSaveChecks : public QObject {
    Q_OBJECT
public:
    CSaveChecks(quillet::platform::Profile& settings, CMainFrame& frame);
    ~CSaveChecks() override;

    // The document was saved at path: its check starts, ending the one that
    // still runs. A file that is not Java text loses its check marks.
    void OnSaved(CScrivoDoc& document, const std::string& path);
    // The document is going: its check ends without a word.
    void Forget(const CScrivoDoc* document);

    bool IsRunning(const CScrivoDoc* document) const;
    // The compiler's process of a running check, 0 when none runs.
    long ProcessId(const CScrivoDoc* document) const;
    // What the last check said about the line (0-based); empty when nothing.
    QString NoteAt(const CScrivoDoc* document, int line) const;
    // Shows the note of the active window's caret line in the message
    // pane, or takes a note shown earlier away.
    void ShowCaretNote();

signals:
    // A check of the document has ended (with marks, clean or failed).
    void CheckEnded(CScrivoDoc* document);

private:
    struct Running;
    void OnOutput(CScrivoDoc* document);
    void Report(const std::string& problem);

    quillet::platform::Profile& settings_;
    CMainFrame& frame_;
    std::map<const CScrivoDoc*, std::unique_ptr<Running>> checks_;
    // The note the message pane shows for the caret, and the last problem
    // said, so that it is not said again on every save.
    QString shownNote_;
    std::string lastProblem_;
};
