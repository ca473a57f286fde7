#include "app/CScrivoDoc.h"

#include "engine/VxEditRecoveryJournal.h"
#include "engine/VxScrivo.h"
#include "javatools/applet/AppletPage.h"
#include "javatools/applet/CHTMLTextDlg.h"
#include "language/VxEditHtmlExport.h"
#include "language/VxEditLangConfig.h"
#include "language/VxEditLangConfigRegistry.h"
#include "mvc/CArchive.h"
#include "platform/core/MessageSeam.h"
#include "resources/CommandIds.h"
#include "view/VxEditFontColorDialog.h"

#include <QApplication>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using quillet::platform::MessageAnswer;
using quillet::platform::MessageButtons;
using quillet::platform::MessageIcon;

namespace {

std::string LowerExtension(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

std::string FileNameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Why an existing file cannot be saved in place: it is marked read-only
// (no write permission for anyone, which holds even for the superuser), it
// lies on a read-only file system, or this user may not write it. Empty
// when it can be.
std::string ReadOnlyReason(const std::string& path)
{
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return {};
    if ((status.st_mode & 0222) == 0)
        return "the file is read-only";
    if (access(path.c_str(), W_OK) == 0)
        return {};
    return errno == EROFS ? "it is on a read-only file system" : "you may not write to the file";
}

// The page Export as HTML proposes: the document's folder and name with
// ".html"; an untitled document's title in the current folder, where Save As
// would put it.
std::string HtmlPageProposal(const std::string& path, const std::string& title)
{
    std::error_code error;
    std::filesystem::path proposal = path;
    if (proposal.empty())
        proposal = std::filesystem::current_path(error) / title;
    return proposal.replace_extension(".html").string();
}

// The text with its one %s replaced by the value.
std::string Formatted(const char* text, const std::string& value)
{
    std::string formatted = text;
    const std::size_t at = formatted.find("%s");
    if (at != std::string::npos)
        formatted.replace(at, 2, value);
    return formatted;
}

}  // namespace

CScrivoDoc::CScrivoDoc() : model_(tarrow::foundation::RefPtr<VxScrivo>::Adopt(new VxScrivo)) {}

CScrivoDoc::~CScrivoDoc()
{
    // Closed, saved or not as the user chose: nothing is left to recover.
    if (journal_)
        journal_->Remove();
}

void CScrivoDoc::KeepRecoveryRecord(const std::string& journalPath)
{
    journal_ = std::make_unique<VxEditRecoveryJournal>(*model_, journalPath);
    journal_->Restart(path_, title_, loadedStamp_);
    // A text that differs from its file already (a recovered one) is
    // written whole.
    if (IsModified())
        journal_->Remove();
}

void CScrivoDoc::FlushRecoveryRecord()
{
    if (journal_)
        journal_->Flush();
}

void CScrivoDoc::OnRecoverDocument(const std::string& path, const std::string& title, const std::string& text)
{
    model_->NewText();
    model_->SetLangConfigByName(path.empty() ? "Java" : LanguageFor(path));
    model_->SetBraceIndented(IsBraceIndented(path));
    auto archive = tarrow::foundation::CArchive::ForStoring();
    archive.WriteString(text);
    auto loading = tarrow::foundation::CArchive::ForLoading(archive.Bytes());
    model_->Serialize(loading);
    model_->SetModified(1);
    if (path.empty()) {
        path_.clear();
        SetTitle(title);
    } else {
        SetPathName(path);
    }
    // Saving the recovered text over its file is what recovering is for.
    loadedStamp_ = seenStamp_ = VxEditFileStamp::Of(path);
}

std::string CScrivoDoc::LanguageFor(const std::string& path)
{
    const std::string extension = LowerExtension(path);
    if (extension == ".java")
        return "Java";
    if (extension == ".html" || extension == ".htm")
        return "HTML";
    if (extension == ".js" || extension == ".mjs" || extension == ".cjs")
        return "JavaScript";
    if (extension == ".css")
        return "CSS";
    return "Default";
}

bool CScrivoDoc::IsBraceIndented(const std::string& path)
{
    const std::string extension = LowerExtension(path);
    return path.empty() || extension == ".java" || extension == ".js" || extension == ".mjs" || extension == ".cjs";
}

bool CScrivoDoc::OnNewDocument(const std::string& title)
{
    path_.clear();
    model_->NewText();
    model_->SetLangConfigByName("Java");
    model_->SetBraceIndented(true);
    SetTitle(title);
    loadedStamp_ = seenStamp_ = VxEditFileStamp();
    if (journal_)
        journal_->Restart({}, title_, loadedStamp_);
    return true;
}

bool CScrivoDoc::OnOpenDocument(const std::string& path)
{
    model_->NewText();
    model_->SetLangConfigByName(LanguageFor(path));
    model_->SetBraceIndented(IsBraceIndented(path));
    // Taken before reading, so that a change made while reading shows later.
    const VxEditFileStamp stamp = VxEditFileStamp::Of(path);
    if (model_->LoadFile(path) != 1)
        return false;
    loadedStamp_ = seenStamp_ = stamp;
    if (journal_)
        journal_->Restart(path, FileNameOf(path), stamp);
    return true;
}

bool CScrivoDoc::OnSaveDocument(const std::string& path)
{
    model_->SetLangConfigByName(LanguageFor(path));
    model_->SetBraceIndented(IsBraceIndented(path));
    // The edits of the last moment go to the journal first: should the run
    // end during the save, the text is offered again.
    if (journal_)
        journal_->Flush();
    if (model_->SaveFile(path) != 1)
        return false;
    loadedStamp_ = seenStamp_ = VxEditFileStamp::Of(path);
    if (journal_)
        journal_->Restart(path, FileNameOf(path), loadedStamp_);
    if (onSaved)
        onSaved(*this, path);
    return true;
}

bool CScrivoDoc::ReviewChangeOnDisk()
{
    if (path_.empty())
        return false;
    const VxEditFileStamp now = VxEditFileStamp::Of(path_);
    if (now == seenStamp_ || (now.exists && now == loadedStamp_)) {
        seenStamp_ = now;
        return false;
    }
    seenStamp_ = now;
    if (!now.exists) {
        // The text is all that is left of the file: it must not be lost.
        model_->SetModified(1);
        quillet::platform::ShowMessage(Formatted(kDeletedKept, path_), MessageButtons::Ok,
                                       MessageIcon::Warning);
        if (onTitleChanged)
            onTitleChanged(*this);
        return true;
    }
    const bool modified = IsModified();
    const MessageAnswer answer = quillet::platform::ShowMessage(
        Formatted(modified ? kChangedReloadDiscarding : kChangedReload, path_), MessageButtons::YesNo,
        modified ? MessageIcon::Warning : MessageIcon::Question);
    if (answer == MessageAnswer::Yes && OnOpenDocument(path_) && onTitleChanged)
        onTitleChanged(*this);
    return true;
}

bool CScrivoDoc::MayOverwrite(const std::string& target)
{
    if (target != path_)
        return true;
    const VxEditFileStamp now = VxEditFileStamp::Of(target);
    if (!now.exists || now == loadedStamp_)
        return true;
    return quillet::platform::ShowMessage(Formatted(kChangedOverwrite, target), MessageButtons::YesNo,
                                          MessageIcon::Warning) == MessageAnswer::Yes;
}

bool CScrivoDoc::IsModified() const
{
    return model_->IsModified() != 0;
}

bool CScrivoDoc::SaveModified()
{
    modifiedFlag_ = IsModified();
    if (!modifiedFlag_)
        return true;
    switch (quillet::platform::ShowMessage("Save changes to " + title_ + "?",
                                           MessageButtons::YesNoCancel, MessageIcon::Question)) {
    case MessageAnswer::Yes:
        return DoFileSave();
    case MessageAnswer::No:
        return true;
    default:
        return false;
    }
}

bool CScrivoDoc::DoFileSave()
{
    if (path_.empty())
        return DoSave({});
    if (const std::string reason = ReadOnlyReason(path_); !reason.empty()) {
        // Said before Save As, which would otherwise come without a reason.
        quillet::platform::ShowMessage("'" + path_ + "' cannot be saved: " + reason +
                                           ". Choose another name to save it.",
                                       MessageButtons::Ok, MessageIcon::Warning);
        return DoSave({});
    }
    return DoSave(path_);
}

bool CScrivoDoc::DoSave(const std::string& path)
{
    std::string target = path;
    if (target.empty()) {
        quillet::platform::FileDialogRequest request;
        request.save = true;
        request.title = "Save As";
        request.initialPath = path_.empty() ? title_ + kDefaultExtension : path_;
        request.filters = {kFilterName, kAllFilesFilter};
        request.defaultSuffix = kDefaultExtension;
        if (!quillet::platform::ChooseFile(request, target))
            return false;
    }
    if (!MayOverwrite(target) || !OnSaveDocument(target))
        return false;
    SetPathName(target);
    if (onFileNamed)
        onFileNamed(target);
    return true;
}

void CScrivoDoc::SetPathName(const std::string& path)
{
    path_ = path;
    SetTitle(FileNameOf(path));
}

void CScrivoDoc::SetTitle(const std::string& title)
{
    title_ = title;
    if (onTitleChanged)
        onTitleChanged(*this);
}

bool CScrivoDoc::OnCommand(int id)
{
    switch (id) {
    case cmd::kFileSave:
        DoFileSave();
        return true;
    case cmd::kFileSaveAs:
        DoSave({});
        return true;
    case cmd::kFileExportHtml:
        ExportAsHtml();
        return true;
    case cmd::kToolsSyntaxSettings:
        EditFontAndColours();
        return true;
    case cmd::kToolsAppletHtml:
        CreateAppletPage();
        return true;
    default:
        return false;
    }
}

bool CScrivoDoc::EditFontAndColours()
{
    if (!::EditFontAndColours(*model_, QApplication::activeWindow()))
        return false;
    // Java goes to the user's java.ini, HTML to the settings store.
    VxEditLangConfigRegistry::Instance().Save(model_->GetLangConfig()->GetName());
    return true;
}

bool CScrivoDoc::OnUpdateCommand(int id, tarrow::foundation::CommandState& state)
{
    if (id == cmd::kToolsSyntaxSettings) {
        state.enabled = model_->GetLangConfig() != nullptr;
        return true;
    }
    if (id == cmd::kToolsAppletHtml) {
        // Only a Java text has an applet to launch.
        const VxEditLangConfig* config = model_->GetLangConfig();
        state.enabled = config && config->GetName() == "Java";
        return true;
    }
    return id == cmd::kFileSave || id == cmd::kFileSaveAs || id == cmd::kFileExportHtml;
}

bool CScrivoDoc::CreateAppletPage()
{
    CHTMLTextDlg dialog(QApplication::activeWindow());
    dialog.SetClassName(AppletPage::ClassFileName(title_));
    dialog.SetFileName(AppletPage::OutputFileName(path_));
    dialog.SetDocumentPath(path_);
    // OK saves the page.
    return dialog.exec() == QDialog::Accepted;
}

bool CScrivoDoc::ExportAsHtml()
{
    quillet::platform::FileDialogRequest request;
    request.save = true;
    request.title = "Export as HTML";
    request.initialPath = HtmlPageProposal(path_, title_);
    request.filters = {"HTML Files (*.htm *.html)", kAllFilesFilter};
    request.defaultSuffix = ".htm";
    std::string target;
    if (!quillet::platform::ChooseFile(request, target))
        return false;
    // A file that cannot be written ends the command without a message.
    return VxEditHtmlExport(*model_).WritePage(target) == 1;
}
