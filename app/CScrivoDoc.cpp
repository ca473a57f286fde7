#include "app/CScrivoDoc.h"

#include "engine/VxScrivo.h"
#include "javatools/applet/AppletPage.h"
#include "javatools/applet/CHTMLTextDlg.h"
#include "language/VxEditLangConfig.h"
#include "language/VxEditHtmlExport.h"
#include "platform/core/MessageSeam.h"
#include "resources/CommandIds.h"

#include <QApplication>

#include <algorithm>
#include <cctype>
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

// An existing file marked read-only (no write permission for anyone, which
// holds even for the superuser) or one this user may not write.
bool IsReadOnlyFile(const std::string& path)
{
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return false;
    return (status.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0;
}

}  // namespace

CScrivoDoc::CScrivoDoc() : model_(tarrow::foundation::RefPtr<VxScrivo>::Adopt(new VxScrivo)) {}

CScrivoDoc::~CScrivoDoc() = default;

std::string CScrivoDoc::LanguageFor(const std::string& path)
{
    const std::string extension = LowerExtension(path);
    if (extension == ".java")
        return "Java";
    if (extension == ".html" || extension == ".htm")
        return "HTML";
    return "Default";
}

bool CScrivoDoc::OnNewDocument(const std::string& title)
{
    path_.clear();
    model_->NewText();
    model_->SetLangConfigByName("Java");
    SetTitle(title);
    return true;
}

bool CScrivoDoc::OnOpenDocument(const std::string& path)
{
    model_->NewText();
    model_->SetLangConfigByName(LanguageFor(path));
    return model_->LoadFile(path) == 1;
}

bool CScrivoDoc::OnSaveDocument(const std::string& path)
{
    model_->SetLangConfigByName(LanguageFor(path));
    return model_->SaveFile(path) == 1;
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
    if (path_.empty() || IsReadOnlyFile(path_))
        return DoSave({});
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
    if (!OnSaveDocument(target))
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
    case cmd::kToolsAppletHtml:
        CreateAppletPage();
        return true;
    default:
        return false;
    }
}

bool CScrivoDoc::OnUpdateCommand(int id, tarrow::foundation::CommandState& state)
{
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
    request.filters = {"HTML Files (*.htm *.html)", kAllFilesFilter};
    request.defaultSuffix = ".htm";
    std::string target;
    if (!quillet::platform::ChooseFile(request, target))
        return false;
    // A file that cannot be written ends the command without a message.
    return VxEditHtmlExport(*model_).WritePage(target) == 1;
}
