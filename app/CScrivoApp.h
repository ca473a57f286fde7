#pragma once

#include "app/CLastSession.h"
#include "app/CScrivoSettings.h"
#include "app/RecentFileList.h"
#include "mvc/ICommandTarget.h"
#include "view/VxEditPrinterSetup.h"

#include <QObject>
#include <QStringList>

#include <map>
#include <memory>
#include <vector>

class CChildFrame;
class CFindInFiles;
class CHelpCommands;
class CMainFrame;
class DebuggerRunFlag;
class CRecoveryStore;
class CSaveChecks;
class CWordCompletion;
class CScrivoDoc;
class QTimer;
class SingleInstance;

namespace quillet::platform {
class Profile;
}

// The application object: starts the program in its fixed order, owns the
// settings, the word lists, the recent files and the open documents, and
// handles the commands that create, open and close documents.
class CScrivoApp : public QObject, public tarrow::foundation::ICommandTarget {
    Q_OBJECT
public:
    // An empty folder means the user's own (from $HOME and $XDG_*_HOME). A
    // user without a usable home folder has none: the settings then live in
    // memory, and recovery and the file association are off.
    struct Options {
        QString programDirectory;       // ends in '/'; empty: the executable's directory
        QString userSettingsDirectory;  // ends in '/'; empty: ~/.config/Tarrow Samples/
        QString dataHome;               // for the desktop entry; empty: $XDG_DATA_HOME
        QString configHome;             // for mimeapps.list; empty: $XDG_CONFIG_HOME
        QString instanceName;           // the hand-over socket; empty: per user
        QString recoveryDirectory;      // recovery records; empty: $XDG_STATE_HOME/Quillet/recovery
    };

    // Outcome of start-up: the editor runs, it failed, or the file was handed
    // to the instance that was already running.
    enum class StartResult { Running, Failed, HandedOver };

    CScrivoApp(quillet::platform::Profile& profile, Options options = {});
    ~CScrivoApp() override;

    // Start-up in the program's fixed order; arguments exclude the program name.
    StartResult Start(const QStringList& arguments);
    // Writes the settings that are kept at a normal exit.
    void Exit();

    CMainFrame* MainFrame() const { return frame_.get(); }
    CScrivoSettings& Settings() { return settings_; }
    CHelpCommands& Help() { return *help_; }
    const RecentFileList& RecentFiles() const { return recentFiles_; }
    const std::vector<std::unique_ptr<CScrivoDoc>>& Documents() const { return documents_; }
    quillet::platform::Profile& Profile() { return profile_; }
    // The one flag, under its lock, that tells that a debugger runs.
    const std::shared_ptr<DebuggerRunFlag>& DebuggerFlag() const { return debuggerFlag_; }
    // The printer, paper and margins that every print job uses.
    VxEditPrinterSetup& PrinterSetup() { return printerSetup_; }

    // The document commands, also for tests.
    CScrivoDoc* NewDocument();
    CScrivoDoc* OpenDocument(const QString& path);
    CChildFrame* NewWindow(CScrivoDoc* document);
    bool CloseDocument(CScrivoDoc* document);
    bool SaveAll();
    // Opens each file; the number of documents opened.
    int OpenDocuments(const QStringList& paths);
    // Asks about every modified document; false when the user cancelled.
    bool CloseAllDocuments();
    // The open files, their carets and first lines, and the active one.
    CLastSession CurrentSession() const;
    // Opens the files of a session as they were; the paths of the files
    // that are gone.
    QStringList ReopenSession(const CLastSession& session);
    // Find in Files of the main frame; null before start-up.
    CFindInFiles* FindInFiles() const { return findInFiles_; }
    // The checks that run when Java files are saved; null before start-up.
    CSaveChecks* SaveChecks() const { return saveChecks_.get(); }
    // Complete Word of the edit windows; null before start-up.
    CWordCompletion* WordCompletion() const { return completion_.get(); }
    // Opens (or activates) the file and selects a match of Find in Files;
    // the line counts from 1.
    void ShowFileMatch(const QString& path, int line, int column, int length);
    CScrivoDoc* ActiveDocument() const;
    // Asks, document by document, about files that other programs changed,
    // replaced or deleted; run whenever the application becomes active.
    void CheckFilesOnDisk();
    // Offers the texts that runs which ended without closing their documents
    // left in recovery records: Recover, Discard, or ask again next time.
    void OfferRecovery();
    // Brings every document's recovery record up to date; run every second.
    void FlushRecoveryRecords();
    static constexpr const char* kRecoverTitle = "Recover Unsaved Text";
    static constexpr const char* kRecoverYes = "Recover";
    static constexpr const char* kRecoverNo = "Discard";

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, tarrow::foundation::CommandState& state) override;

    static constexpr const char* kAssociationTitle = "Java File Type Program Association";
    static const char* const kAssociationText;
    static constexpr const char* kAssociateYes = "Yes, use Quillet for .java files";
    static constexpr const char* kAssociateNo = "No, do not associate";
    // The settings store's file in the settings folder.
    static constexpr const char* kSettingsFileName = "Quillet.conf";

private:
    // The association needs the user's data and configuration folders.
    bool CanAssociate() const;
    // Says once, as the window shows, what this run cannot keep: without a
    // home folder, or with a settings folder that cannot be written.
    void NoteWhatIsNotKept();
    int AskAndStoreAssociation();
    void PromptOpen();
    void OpenRecent(int index);
    void AddToRecentFiles(const std::string& path);
    void RemoveDocument(CScrivoDoc* document);
    bool SaveModifiedDocuments();
    void DestroyAllFrames();
    // A plain start reopens the last session, with one note for missing files.
    void ReopenLastSession();
    void CreateFindInFiles();
    // The current texts of the documents that have a file, by path.
    std::map<std::string, std::string> OpenTexts() const;
    void UpdateFrameTitles(CScrivoDoc* document);
    std::vector<CChildFrame*> FramesOf(const CScrivoDoc* document) const;
    // View › Line Numbers is one setting ("Settings"/"LineNumbers") for every
    // edit window, those open now and those opened later.
    void ShowLineNumbersEverywhere(bool shown);
    void OnChildClosing(CChildFrame* frame, bool& accept);
    // Closes the document's windows at once, without asking again.
    void DestroyFrames(CScrivoDoc* document);
    void OnFrameDestroyed(CScrivoDoc* document);
    // The Tools Directories dialog.
    void ConfigureTools();
    // A compiler message was double-clicked: the line is marked in the
    // file's window (opened if need be), or in the active window when the
    // message names no existing file.
    void ShowErrorLine(const QString& file, int line, int column);
    // A new document of the application's: windows come after this.
    CScrivoDoc* AddDocument(std::unique_ptr<CScrivoDoc> document);

    quillet::platform::Profile& profile_;
    Options options_;
    CScrivoSettings settings_;
    RecentFileList recentFiles_;
    std::unique_ptr<CHelpCommands> help_;
    std::unique_ptr<CMainFrame> frame_;
    CFindInFiles* findInFiles_ = nullptr;  // owned by the frame
    std::unique_ptr<SingleInstance> instance_;
    std::unique_ptr<CRecoveryStore> recovery_;
    std::unique_ptr<CSaveChecks> saveChecks_;
    std::unique_ptr<CWordCompletion> completion_;
    QTimer* recoveryTimer_ = nullptr;
    std::vector<std::unique_ptr<CScrivoDoc>> documents_;
    // A document lives exactly as long as its last window.
    std::map<const CScrivoDoc*, int> frameCounts_;
    VxEditPrinterSetup printerSetup_;
    std::shared_ptr<DebuggerRunFlag> debuggerFlag_;
    int untitledCount_ = 0;
    bool checkingFiles_ = false;
};
