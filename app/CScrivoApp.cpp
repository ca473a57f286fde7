#include "app/CScrivoApp.h"

#include "app/CBuildHost.h"
#include "app/CChildFrame.h"
#include "app/CFindInFiles.h"
#include "app/CHelpCommands.h"
#include "app/CMainFrame.h"
#include "app/CRecoveryStore.h"
#include "app/CSaveChecks.h"
#include "app/CScrivoDoc.h"
#include "app/CWordCompletion.h"
#include "app/EditViewFactory.h"
#include "app/FileAssociation.h"
#include "app/LanguageRegistration.h"
#include "app/SettingsKeys.h"
#include "app/SingleInstance.h"
#include "engine/VxEditInterruptedSaves.h"
#include "engine/VxEditMirrorFile.h"
#include "engine/VxEditRecoveryJournal.h"
#include "engine/VxEditStaleTemporaries.h"
#include "engine/VxScrivo.h"
#include "javatools/build/CScrivoBuild.h"
#include "javatools/build/DebuggerRunFlag.h"
#include "javatools/completion/JdkClassList.h"
#include "javatools/output/OutputControlBar.h"
#include "javatools/output/OutputVxEditCtrl.h"
#include "javatools/tooldialogs/CToolsDialog.h"
#include "platform/core/MessageSeam.h"
#include "platform/core/Profile.h"
#include "platform/core/ProgramDirectory.h"
#include "platform/core/UserFolders.h"
#include "resources/CommandIds.h"
#include "view/CScrivoView.h"
#include "engine/VxEdit.h"

#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <unistd.h>

using quillet::platform::MessageAnswer;
using quillet::platform::MessageButtons;
using quillet::platform::MessageIcon;
using tarrow::foundation::CommandState;

namespace {

// javac's caret counts characters; the model's columns are bytes.
std::int32_t CharacterToByteColumn(VxEdit& model, int line, int characters)
{
    const char* text = nullptr;
    std::int32_t length = 0;
    if (line < 0 || line > model.LastLine() || model.LineText(line, text, length) != 1 || !text)
        return 0;
    std::int32_t column = 0;
    for (int seen = 0; column < length && seen < characters; ++seen) {
        const auto lead = static_cast<unsigned char>(text[column]);
        const int size = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        // Characters beyond the basic plane are two of javac's.
        if (size == 4)
            ++seen;
        column = std::min(length, column + size);
    }
    return column;
}

// Why the settings store cannot keep what is written to it: its folder
// (made when missing) or its file cannot be written.
std::string SettingsStoreProblem(const std::string& folder)
{
    const std::string problem = quillet::platform::FolderWriteProblem(folder);
    if (!problem.empty())
        return problem;
    const std::string file = folder + CScrivoApp::kSettingsFileName;
    if (access(file.c_str(), F_OK) == 0 && access(file.c_str(), W_OK) != 0)
        return "the file '" + file + "' is read-only";
    return {};
}

}  // namespace


// What the association does on a Linux desktop: the desktop entry becomes
// the default for Java files, and a file opened from the file manager goes
// to the instance already running.
const char* const CScrivoApp::kAssociationText =
    "Quillet can become the default application for .java files.\n"
    "Java files you open from the file manager then all open\n"
    "in the one Quillet that is running.\n"
    "Do you want to enable this setting?";

CScrivoApp::CScrivoApp(quillet::platform::Profile& profile, Options options)
    : profile_(profile), options_(std::move(options)),
      debuggerFlag_(std::make_shared<DebuggerRunFlag>())
{
    if (options_.programDirectory.isEmpty())
        options_.programDirectory = QString::fromStdString(quillet::platform::ProgramDirectory());
    if (options_.userSettingsDirectory.isEmpty())
        options_.userSettingsDirectory = QString::fromStdString(UserSettingsDirectory());
    // A folder the user has none of stays empty, and what needs it is off.
    using quillet::platform::UserBaseFolder;
    using quillet::platform::UserFolder;
    if (options_.dataHome.isEmpty())
        options_.dataHome = QString::fromStdString(UserBaseFolder(UserFolder::Data));
    if (options_.configHome.isEmpty())
        options_.configHome = QString::fromStdString(UserBaseFolder(UserFolder::Config));
    if (const std::string state = UserBaseFolder(UserFolder::State);
        options_.recoveryDirectory.isEmpty() && !state.empty())
        options_.recoveryDirectory = QString::fromStdString(state + "/Quillet/recovery");
    help_ = std::make_unique<CHelpCommands>(
        profile_, [this] { return QString::fromStdString(settings_.helpPath); },
        [this] { return static_cast<QWidget*>(frame_.get()); },
        [this] {
            if (frame_)
                frame_->RouteCommand(cmd::kToolsSettings);
        });
}

CScrivoApp::~CScrivoApp()
{
    // Windows go before the documents they show.
    std::vector<CScrivoDoc*> open;
    for (const auto& document : documents_)
        open.push_back(document.get());
    for (CScrivoDoc* document : open)
        DestroyFrames(document);
    findInFiles_ = nullptr;
    saveChecks_.reset();
    completion_.reset();
    frame_.reset();
    help_.reset();
    documents_.clear();
}

CScrivoApp::StartResult CScrivoApp::Start(const QStringList& arguments)
{
    const std::string programDirectory = options_.programDirectory.toStdString();
    RegisterLanguages(profile_, programDirectory, options_.userSettingsDirectory.toStdString());
    recentFiles_.Load(profile_);
    printerSetup_.SetPreviewPages(profile_.GetInt(settings::kSettings, settings::kPreviewPages, 0));
    printerSetup_.SetPrintInColour(profile_.GetInt(settings::kSettings, settings::kPrintInColour, 0) != 0);

    const int associate = CanAssociate() ? AskAndStoreAssociation() : settings::kAssociateNo;
    if (associate == settings::kAssociateYes) {
        FileAssociation(options_.dataHome.toStdString(), options_.configHome.toStdString())
            .Register(programDirectory + "quillet");
        instance_ = std::make_unique<SingleInstance>(options_.instanceName);
        if (!arguments.isEmpty() && instance_->HandOver(arguments))
            return StartResult::HandedOver;
        instance_->Listen();
        connect(instance_.get(), &SingleInstance::FileRequested, this, [this](const QString& path) {
            OpenDocument(path);
            if (frame_) {
                frame_->raise();
                frame_->activateWindow();
            }
        });
    }

    if (!options_.recoveryDirectory.isEmpty()) {
        recovery_ = std::make_unique<CRecoveryStore>(options_.recoveryDirectory.toStdString());
        if (!recovery_->Problem().empty())
            quillet::platform::ShowMessage("Unsaved text cannot be kept for recovery after a crash:\n" +
                                               recovery_->Problem(),
                                           MessageButtons::Ok, MessageIcon::Warning);
    }
    // A save into the file itself keeps the old content beside the journals
    // until the new one is written.
    VxEditMirrorFile::SetBackupFolder(recovery_ && recovery_->IsUsable() ? recovery_->Directory() : std::string());
    // Files that a killed run was saving into are put right before any
    // document reads them.
    if (recovery_) {
        const std::string settled = VxEditInterruptedSaves::Describe(recovery_->SettleInterruptedSaves());
        if (!settled.empty())
            quillet::platform::ShowMessage(settled, MessageButtons::Ok, MessageIcon::Warning);
    }
    recoveryTimer_ = new QTimer(this);
    recoveryTimer_->setInterval(1000);
    connect(recoveryTimer_, &QTimer::timeout, this, &CScrivoApp::FlushRecoveryRecords);
    recoveryTimer_->start();

    frame_ = std::make_unique<CMainFrame>(profile_, recentFiles_);
    frame_->SetApplicationTarget(this);
    frame_->Action(cmd::kViewReopenLastFiles)->setCheckable(true);
    CreateFindInFiles();
    saveChecks_ = std::make_unique<CSaveChecks>(profile_, *frame_);
    connect(frame_.get(), &CMainFrame::ActiveChildChanged, saveChecks_.get(), &CSaveChecks::ShowCaretNote);
    completion_ = std::make_unique<CWordCompletion>(
        profile_, *frame_,
        [this] {
            std::vector<VxEdit*> texts;
            for (const auto& document : documents_)
                texts.push_back(document->Model());
            return texts;
        },
        JdkClassList::DefaultCacheFolder());
    completion_->FollowToolSettings();
    connect(frame_.get(), &CMainFrame::CloseRequested, this,
            [this](bool& accept) {
                accept = SaveModifiedDocuments();
                if (!accept)
                    return;
                CurrentSession().Write(profile_);
                DestroyAllFrames();
            });
    connect(frame_->OutputBar()->Control(), &OutputVxEditCtrl::ErrorLineRequested, this,
            &CScrivoApp::ShowErrorLine);
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(gui, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive)
                CheckFilesOnDisk();
        });
    }

    // Of several files, those that open are enough to go on with.
    if (!arguments.isEmpty() && OpenDocuments(arguments) == 0)
        return StartResult::Failed;
    frame_->show();
    if (arguments.isEmpty())
        ReopenLastSession();
    // Saves that a killed run cut short leave temporaries beside the files.
    for (const auto& document : documents_) {
        std::error_code error;
        const std::filesystem::path file = std::filesystem::canonical(document->PathName(), error);
        if (!error)
            VxEditStaleTemporaries::SweepOnce(file.parent_path().string() + "/");
    }
    NoteWhatIsNotKept();

    settings_.ReadCommandInterpreter();
    settings_.Load(profile_, programDirectory);
    return StartResult::Running;
}

void CScrivoApp::Exit()
{
    settings_.SaveAtExit(profile_);
    recentFiles_.Save(profile_);
    // Kept once the user has seen a preview, as the recent files are.
    if (printerSetup_.PreviewPages() != 0)
        profile_.WriteInt(settings::kSettings, settings::kPreviewPages, printerSetup_.PreviewPages());
    profile_.WriteInt(settings::kSettings, settings::kPrintInColour, printerSetup_.PrintInColour() ? 1 : 0);
}

bool CScrivoApp::CanAssociate() const
{
    return !options_.dataHome.isEmpty() && !options_.configHome.isEmpty();
}

void CScrivoApp::NoteWhatIsNotKept()
{
    std::vector<std::string> lost;
    if (options_.userSettingsDirectory.isEmpty())
        lost.push_back("the settings and the files open at the end are not kept after Quillet ends");
    if (options_.recoveryDirectory.isEmpty())
        lost.push_back("unsaved text is not kept for recovery after a crash");
    if (!CanAssociate())
        lost.push_back(".java files are not associated with Quillet");
    std::string note;
    if (!lost.empty()) {
        const std::string problem = quillet::platform::HomeFolderProblem();
        note = "Quillet has no home folder to keep its files in" + (problem.empty() ? "" : ": " + problem) +
               ".\nIn this run " + lost.front();
        for (std::size_t i = 1; i < lost.size(); ++i)
            note += (i + 1 == lost.size() ? ", and " : ", ") + lost[i];
        note += ".";
    } else if (const std::string problem = SettingsStoreProblem(options_.userSettingsDirectory.toStdString());
               !problem.empty()) {
        note = "The settings cannot be saved: " + problem +
               ".\nChanges to the settings and the files open at the end are lost when Quillet ends.";
    }
    // Said once, over the main window, when the event loop runs.
    if (!note.empty())
        QTimer::singleShot(0, this, [note] {
            quillet::platform::ShowMessage(note, MessageButtons::Ok, MessageIcon::Warning);
        });
}

int CScrivoApp::AskAndStoreAssociation()
{
    int associate = profile_.GetInt(settings::kJavaFiles, settings::kAssociate,
                                    settings::kAssociateNeverAsked);
    if (associate == settings::kAssociateNeverAsked) {
        quillet::platform::Message question;
        question.text = kAssociationText;
        question.title = kAssociationTitle;
        question.buttons = MessageButtons::YesNo;
        question.icon = MessageIcon::Question;
        question.yesText = kAssociateYes;
        question.noText = kAssociateNo;
        associate = quillet::platform::ShowMessage(question) == MessageAnswer::Yes
                        ? settings::kAssociateYes
                        : settings::kAssociateNo;
    }
    if (associate < settings::kAssociateNeverAsked)
        profile_.WriteInt(settings::kJavaFiles, settings::kAssociate, associate);
    return associate;
}

CScrivoDoc* CScrivoApp::NewDocument()
{
    auto document = std::make_unique<CScrivoDoc>();
    document->OnNewDocument(CScrivoDoc::kDocumentName + std::to_string(++untitledCount_));
    return AddDocument(std::move(document));
}

CScrivoDoc* CScrivoApp::AddDocument(std::unique_ptr<CScrivoDoc> document)
{
    if (recovery_ && recovery_->IsUsable())
        document->KeepRecoveryRecord(recovery_->NewJournalPath());
    CScrivoDoc* raw = document.get();
    raw->onSaved = [this](CScrivoDoc& saved, const std::string& path) {
        if (saveChecks_)
            saveChecks_->OnSaved(saved, path);
    };
    documents_.push_back(std::move(document));
    NewWindow(raw);
    return raw;
}

CScrivoDoc* CScrivoApp::OpenDocument(const QString& path)
{
    const std::string absolute = QFileInfo(path).absoluteFilePath().toStdString();
    // A file that is open already is only brought to the front.
    for (const auto& document : documents_) {
        if (document->PathName() == absolute) {
            std::vector<CChildFrame*> frames = FramesOf(document.get());
            if (!frames.empty())
                frame_->ActivateChild(frames.front());
            AddToRecentFiles(absolute);
            return document.get();
        }
    }
    auto document = std::make_unique<CScrivoDoc>();
    if (!document->OnOpenDocument(absolute))
        return nullptr;
    document->SetPathName(absolute);
    AddToRecentFiles(absolute);
    return AddDocument(std::move(document));
}

CChildFrame* CScrivoApp::NewWindow(CScrivoDoc* document)
{
    EditViewParts view = CreateEditView(*document, &printerSetup_);
    std::vector<tarrow::foundation::ICommandTarget*> route = view.route;
    route.push_back(document);
    auto* child = new CChildFrame(document, view.widget, route);
    child->SetSettings(&settings_);
    child->SetWordCompletion(completion_.get());
    ConnectEditView(view, *child, *frame_);
    if (auto* editView = qobject_cast<CScrivoView*>(view.widget)) {
        editView->Controller().SetBuildCommands(std::make_unique<CScrivoBuild>(
            editView->Model(), std::make_unique<CBuildHost>(*this, *document)));
        editView->Controller().ShowLineNumbers(
            profile_.GetInt(settings::kSettings, settings::kLineNumbers, 0) != 0);
        editView->SetMarginNotes([this, document](std::int32_t line) {
            return saveChecks_ ? saveChecks_->NoteAt(document, line) : QString();
        });
        connect(editView, &CScrivoView::CaretPositionChanged, this, [this] {
            if (saveChecks_)
                saveChecks_->ShowCaretNote();
        });
    }
    connect(child, &CChildFrame::LineNumbersChosen, this, &CScrivoApp::ShowLineNumbersEverywhere);
    connect(child, &CChildFrame::CloseRequested, this, &CScrivoApp::OnChildClosing);
    connect(child, &QObject::destroyed, this, [this, document] { OnFrameDestroyed(document); });
    ++frameCounts_[document];
    document->onTitleChanged = [this](CScrivoDoc& changed) { UpdateFrameTitles(&changed); };
    document->onFileNamed = [this](const std::string& path) { AddToRecentFiles(path); };
    frame_->AddChild(child);
    UpdateFrameTitles(document);
    return child;
}

void CScrivoApp::ShowLineNumbersEverywhere(bool shown)
{
    profile_.WriteInt(settings::kSettings, settings::kLineNumbers, shown ? 1 : 0);
    for (QMdiSubWindow* window : frame_->MdiArea()->subWindowList()) {
        auto* child = qobject_cast<CChildFrame*>(window);
        auto* editView = child ? qobject_cast<CScrivoView*>(child->EditView()) : nullptr;
        if (editView && editView->Controller().LineNumbersShown() != shown)
            editView->Controller().ShowLineNumbers(shown);
    }
}

std::vector<CChildFrame*> CScrivoApp::FramesOf(const CScrivoDoc* document) const
{
    std::vector<CChildFrame*> frames;
    if (!frame_)
        return frames;
    for (QMdiSubWindow* window : frame_->MdiArea()->subWindowList()) {
        auto* child = qobject_cast<CChildFrame*>(window);
        if (child && child->Document() == document)
            frames.push_back(child);
    }
    return frames;
}

void CScrivoApp::UpdateFrameTitles(CScrivoDoc* document)
{
    std::vector<CChildFrame*> frames = FramesOf(document);
    const QString title = QString::fromStdString(document->Title());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        // "[*]" shows as "*" while the document has unsaved changes.
        const QString name = frames.size() == 1 ? title : QStringLiteral("%1:%2").arg(title).arg(i + 1);
        frames[i]->setWindowTitle(name + QStringLiteral("[*]"));
        frames[i]->UpdateModifiedMark();
        frames[i]->EditView()->setAccessibleName(name);
    }
}

void CScrivoApp::OnChildClosing(CChildFrame* frame, bool& accept)
{
    CScrivoDoc* document = frame->Document();
    if (frameCounts_[document] <= 1 && !document->SaveModified())
        accept = false;
}

void CScrivoApp::OnFrameDestroyed(CScrivoDoc* document)
{
    if (--frameCounts_[document] > 0) {
        UpdateFrameTitles(document);
        return;
    }
    frameCounts_.erase(document);
    RemoveDocument(document);
}

void CScrivoApp::RemoveDocument(CScrivoDoc* document)
{
    if (saveChecks_)
        saveChecks_->Forget(document);
    documents_.erase(std::remove_if(documents_.begin(), documents_.end(),
                                    [document](const auto& d) { return d.get() == document; }),
                     documents_.end());
}

void CScrivoApp::DestroyFrames(CScrivoDoc* document)
{
    for (CChildFrame* child : FramesOf(document))
        delete child;
}

bool CScrivoApp::CloseDocument(CScrivoDoc* document)
{
    if (!document || !document->SaveModified())
        return false;
    // The window used before takes over, maximised under its tab.
    for (CChildFrame* child : FramesOf(document))
        frame_->CloseChild(child);
    return true;
}

bool CScrivoApp::CloseAllDocuments()
{
    if (!SaveModifiedDocuments())
        return false;
    DestroyAllFrames();
    return true;
}

bool CScrivoApp::SaveModifiedDocuments()
{
    for (const auto& document : documents_) {
        if (!document->SaveModified())
            return false;
    }
    return true;
}

void CScrivoApp::DestroyAllFrames()
{
    std::vector<CScrivoDoc*> open;
    for (const auto& document : documents_)
        open.push_back(document.get());
    for (CScrivoDoc* document : open)
        DestroyFrames(document);
}

int CScrivoApp::OpenDocuments(const QStringList& paths)
{
    int opened = 0;
    for (const QString& path : paths)
        opened += OpenDocument(path) ? 1 : 0;
    return opened;
}

bool CScrivoApp::SaveAll()
{
    bool all = true;
    for (const auto& document : documents_)
        all = document->DoFileSave() && all;
    return all;
}

void CScrivoApp::FlushRecoveryRecords()
{
    for (const auto& document : documents_)
        document->FlushRecoveryRecord();
}

void CScrivoApp::OfferRecovery()
{
    if (!recovery_ || !recovery_->IsUsable())
        return;
    struct Found {
        VxEditRecoveryJournal::Contents contents;
        std::time_t changed;
    };
    std::vector<Found> found;
    std::string list;
    std::string unusable;
    for (const CRecoveryStore::Orphan& orphan : recovery_->TakeOrphans()) {
        Found entry{{}, orphan.changed};
        std::string reason;
        if (!VxEditRecoveryJournal::Read(orphan.journalPath, entry.contents, reason)) {
            // A save into the file that a killed run finished holds all of
            // the journal's text.
            if (!recovery_->WasSavedWhole(entry.contents.documentPath))
                unusable += "\n" + orphan.journalPath + ": " + reason;
            std::remove(orphan.journalPath.c_str());
            continue;
        }
        char when[64] = "";
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", std::localtime(&entry.changed));
        const std::string& path = entry.contents.documentPath;
        list += "\n" + (path.empty() ? entry.contents.title : path) + " (last changed " + when + ")";
        if (!entry.contents.damage.empty())
            list += ": " + entry.contents.damage;
        found.push_back(std::move(entry));
    }
    if (!unusable.empty())
        quillet::platform::ShowMessage("These recovery records cannot be used and are deleted:\n" + unusable,
                                       quillet::platform::MessageButtons::Ok, quillet::platform::MessageIcon::Warning);
    if (found.empty()) {
        recovery_->DiscardOrphans();
        return;
    }
    quillet::platform::Message question;
    question.title = kRecoverTitle;
    question.text = "Quillet ended without saving these texts:\n" + list +
                    "\n\nRecover opens them as unsaved changes, Discard deletes them, Cancel keeps them "
                    "for the next start.";
    question.buttons = quillet::platform::MessageButtons::YesNoCancel;
    question.icon = quillet::platform::MessageIcon::Question;
    question.yesText = kRecoverYes;
    question.noText = kRecoverNo;
    switch (quillet::platform::ShowMessage(question)) {
    case quillet::platform::MessageAnswer::Yes:
        for (const Found& entry : found) {
            auto document = std::make_unique<CScrivoDoc>();
            const std::string title = entry.contents.documentPath.empty()
                                          ? CScrivoDoc::kDocumentName + std::to_string(++untitledCount_)
                                          : std::string();
            document->OnRecoverDocument(entry.contents.documentPath, title, entry.contents.text);
            AddDocument(std::move(document));
        }
        recovery_->DiscardOrphans();
        break;
    case quillet::platform::MessageAnswer::No:
        recovery_->DiscardOrphans();
        break;
    default:
        recovery_->ReleaseOrphans();
        break;
    }
}

void CScrivoApp::CheckFilesOnDisk()
{
    // The questions themselves move the activation back and forth.
    if (checkingFiles_)
        return;
    checkingFiles_ = true;
    std::vector<CScrivoDoc*> documents;
    for (const auto& document : documents_)
        documents.push_back(document.get());
    for (CScrivoDoc* document : documents)
        document->ReviewChangeOnDisk();
    checkingFiles_ = false;
}

CScrivoDoc* CScrivoApp::ActiveDocument() const
{
    CChildFrame* child = frame_ ? frame_->ActiveChild() : nullptr;
    return child ? child->Document() : nullptr;
}

void CScrivoApp::PromptOpen()
{
    quillet::platform::FileDialogRequest request;
    request.title = "Open";
    request.filters = {CScrivoDoc::kFilterName, CScrivoDoc::kAllFilesFilter};
    std::vector<std::string> paths;
    if (!quillet::platform::ChooseFiles(request, paths))
        return;
    QStringList files;
    for (const std::string& path : paths)
        files << QString::fromStdString(path);
    OpenDocuments(files);
}

void CScrivoApp::OpenRecent(int index)
{
    if (index < 0 || index >= static_cast<int>(recentFiles_.Paths().size()))
        return;
    const std::string path = recentFiles_.Paths()[static_cast<std::size_t>(index)];
    if (!OpenDocument(QString::fromStdString(path))) {
        // A file that is gone leaves the list.
        recentFiles_.Remove(index);
        frame_->RebuildMenus();
    }
}

void CScrivoApp::AddToRecentFiles(const std::string& path)
{
    recentFiles_.Add(path);
    if (frame_)
        frame_->RebuildMenus();
}

bool CScrivoApp::OnCommand(int id)
{
    if (help_->OnCommand(id) || (findInFiles_ && findInFiles_->OnCommand(id)))
        return true;
    if (id >= cmd::kFileMruFirst && id <= cmd::kFileMruLast) {
        OpenRecent(id - cmd::kFileMruFirst);
        return true;
    }
    switch (id) {
    case cmd::kFileNew:
        NewDocument();
        return true;
    case cmd::kFileOpen:
        PromptOpen();
        return true;
    case cmd::kFileClose:
        CloseDocument(ActiveDocument());
        return true;
    case cmd::kFileSaveAll:
        SaveAll();
        return true;
    case cmd::kWindowNew:
        if (CScrivoDoc* document = ActiveDocument())
            NewWindow(document);
        return true;
    case cmd::kFilePrintSetup:
        printerSetup_.ShowPageSetup(frame_.get());
        return true;
    case cmd::kToolsSettings:
        ConfigureTools();
        return true;
    case cmd::kViewReopenLastFiles:
        CLastSession::SetReopensAtStart(profile_, !CLastSession::ReopensAtStart(profile_));
        return true;
    default:
        return false;
    }
}

bool CScrivoApp::OnUpdateCommand(int id, CommandState& state)
{
    if (help_->OnUpdateCommand(id, state) || (findInFiles_ && findInFiles_->OnUpdateCommand(id, state)))
        return true;
    if (id >= cmd::kFileMruFirst && id <= cmd::kFileMruLast)
        return true;
    switch (id) {
    case cmd::kFileNew:
    case cmd::kFileOpen:
    case cmd::kFilePrintSetup:
    case cmd::kToolsSettings:
        return true;
    case cmd::kFileClose:
    case cmd::kWindowNew:
        state.enabled = ActiveDocument() != nullptr;
        return true;
    case cmd::kFileSaveAll:
        state.enabled = !documents_.empty();
        return true;
    case cmd::kViewReopenLastFiles:
        state.checked = CLastSession::ReopensAtStart(profile_);
        return true;
    default:
        return false;
    }
}

void CScrivoApp::ConfigureTools()
{
    CToolsDialog dialog(profile_, settings_.compileAutoSave, frame_.get());
    dialog.exec();
    // Another compiler may belong to another JDK, whose classes completion offers.
    if (completion_)
        completion_->FollowToolSettings();
}

void CScrivoApp::ShowErrorLine(const QString& file, int line, int column)
{
    CChildFrame* child = nullptr;
    if (!file.isEmpty()) {
        CScrivoDoc* document = OpenDocument(file);
        if (!document)
            return;
        std::vector<CChildFrame*> frames = FramesOf(document);
        if (!frames.empty())
            child = frames.front();
    } else {
        child = frame_->ActiveChild();
    }
    auto* view = child ? qobject_cast<CScrivoView*>(child->EditView()) : nullptr;
    if (!view)
        return;
    frame_->ActivateChild(child);
    view->Controller().MarkErrorLine(line, column < 0 ? 0 : CharacterToByteColumn(view->Model(), line, column));
}
