#pragma once

#include "engine/VxEditLineCol.h"
#include "engine/VxEditWordCompleter.h"
#include "javatools/completion/JdkClassIndex.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CMainFrame;
class CScrivoView;
class VxEdit;
class VxEditCompletionPopup;

namespace quillet::platform {
class Profile;
}

// Complete Word (Ctrl+Space) for the edit windows: the candidates that
// start with the word before the caret, from the words of every open
// document, the language's keywords and, in Java windows, the public
// classes of the JDK that the Tools settings' compiler belongs to. That
// class list is read on a thread of its own (JdkClassList, cached per JDK)
// whenever the compiler names another JDK. One candidate is put in at once;
// several open a list at the caret; none is said in the status bar.
// Choosing a class also brings its import (JavaImportPlacer), in the same
// undo step.
class CWordCompletion : public QObject {
    Q_OBJECT
public:
    using OpenTexts = std::function<std::vector<VxEdit*>()>;

    CWordCompletion(quillet::platform::Profile& settings, CMainFrame& frame, OpenTexts openTexts,
                    std::string cacheFolder);
    ~CWordCompletion() override;

    // Reads the class list of the JDK the compiler setting names, in the
    // background, unless that JDK's list is there or being read.
    void FollowToolSettings();
    // Complete Word in the window.
    void Complete(CScrivoView& view);

    // The candidates for the word before the window's caret, and where that
    // word starts.
    std::vector<VxEditCompletion> CandidatesAt(CScrivoView& view, VxEditLineCol& start);
    // The JDK classes, empty until read.
    std::shared_ptr<const JdkClassIndex> JdkClasses() const;
    // Puts the candidate in for the word before the caret, with its import.
    void Insert(CScrivoView& view, const VxEditCompletion& candidate);
    VxEditCompletionPopup* Popup() const { return popup_.get(); }

signals:
    // A JDK class list was read (or failed to be).
    void JdkClassesRead();

private:
    void Narrow();
    void OnChosen(const VxEditCompletion& candidate);
    void ReadInBackground(const std::string& jdkHome);
    void Say(const QString& text);

    quillet::platform::Profile& settings_;
    CMainFrame& frame_;
    OpenTexts openTexts_;
    std::string cacheFolder_;
    std::unique_ptr<VxEditCompletionPopup> popup_;
    QPointer<CScrivoView> view_;

    mutable std::mutex mutex_;
    std::shared_ptr<const JdkClassIndex> classes_;  // under mutex_
    std::string jdkHome_;  // the JDK read or being read
    std::thread reader_;
};
