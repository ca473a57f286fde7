#include "javatools/applet/CHTMLTextDlg.h"

#include "engine/VxEditTextBuffer.h"
#include "engine/VxHTMLEdit.h"
#include "javatools/applet/AppletPage.h"
#include "platform/core/MessageSeam.h"
#include "view/CScrivoView.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <sys/stat.h>

namespace {

// Whether two paths name the same file (both must exist to be compared by
// identity; otherwise by their text).
bool SameFile(const std::string& a, const std::string& b)
{
    struct stat first {};
    struct stat second {};
    if (stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    return a == b;
}

}  // namespace

CHTMLTextDlg::CHTMLTextDlg(QWidget* parent)
    : QDialog(parent), model_(tarrow::foundation::MakeRef<VxHTMLEdit>()), fileName_(new QLineEdit(this))
{
    setWindowTitle(tr("Create HTML file for Applet"));
    model_->NewText();
    model_->SetLangConfigByName("HTML");
    view_ = new CScrivoView(*model_, this);
    view_->setMinimumSize(420, 200);
    fileName_->setObjectName(QStringLiteral("Save HTML file as"));
    auto* browse = new QToolButton(this);
    browse->setText(QStringLiteral("..."));
    browse->setToolTip(tr("Browse"));
    connect(browse, &QToolButton::clicked, this, &CHTMLTextDlg::Browse);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    view_->setAccessibleName(tr("HTML text"));
    auto* fileLabel = new QLabel(tr("Save HTML file as:"), this);
    fileLabel->setBuddy(fileName_);
    browse->setAccessibleName(tr("Choose the HTML file"));
    layout->addWidget(fileLabel);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileName_, 1);
    fileRow->addWidget(browse);
    layout->addLayout(fileRow);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    view_->setFocus();
}

CHTMLTextDlg::~CHTMLTextDlg() = default;

void CHTMLTextDlg::SetClassName(const std::string& classFileName)
{
    const std::string page = AppletPage::PageText(classFileName);
    model_->NewText();
    model_->InsertAtLineCol(0, 0, page.data(), static_cast<std::int64_t>(page.size()));
    model_->ClearHistory();
    model_->SetModified(0);
}

void CHTMLTextDlg::SetFileName(const std::string& fileName)
{
    fileName_->setText(QString::fromStdString(fileName));
}

std::string CHTMLTextDlg::PageText() const
{
    const VxEditTextBuffer& buffer = model_->TextBuffer();
    std::string text(static_cast<std::size_t>(buffer.Length()), '\0');
    buffer.CopyOut(text.data(), 0, buffer.Length());
    return text;
}

std::string CHTMLTextDlg::FileName() const
{
    return fileName_->text().toStdString();
}

void CHTMLTextDlg::Browse()
{
    quillet::platform::FileDialogRequest request;
    request.save = true;
    request.title = "Save HTML file as";
    request.initialPath = FileName();
    request.filters = {"HTML Files (*.html *.htm)", "All Files (*)"};
    request.defaultSuffix = ".html";
    std::string path;
    if (quillet::platform::ChooseFile(request, path))
        SetFileName(path);
}

void CHTMLTextDlg::accept()
{
    const std::string path = FileName();
    if (!documentPath_.empty() && SameFile(path, documentPath_)) {
        quillet::platform::ShowMessage("The page cannot be saved over its own Java source file. "
                                       "Please choose another file name.");
        return;
    }
    // The text model reports a failed save; the page stays for another try.
    if (model_->SaveFile(path) != 1)
        return;
    QDialog::accept();
}
