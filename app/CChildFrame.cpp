#include "app/CChildFrame.h"

#include "app/CScrivoDoc.h"
#include "app/CScrivoSettings.h"
#include "app/CWordCompletion.h"
#include "app/EditViewFactory.h"
#include "controller/VxEditController.h"
#include "engine/VxEditTextBuffer.h"
#include "engine/VxScrivo.h"
#include "javatools/classview/CClassView.h"
#include "javatools/codegen/CCatchBlockDlg.h"
#include "javatools/codegen/CClassDialog.h"
#include "javatools/codegen/CInterfaceDialog.h"
#include "javatools/codegen/CMethodDialog.h"
#include "javatools/codegen/CVariableDialog.h"
#include "javatools/codegen/CodeInsertion.h"
#include "view/CScrivoView.h"
#include "resources/CommandIds.h"

#include <QPointer>
#include <QCloseEvent>
#include <QLabel>
#include <QSplitter>
#include <QRegularExpression>
#include <QStatusBar>
#include <QVBoxLayout>

using tarrow::foundation::CommandState;

CChildFrame::CChildFrame(CScrivoDoc* document, QWidget* editView,
                         std::vector<tarrow::foundation::ICommandTarget*> route, QWidget* parent)
    : QMdiSubWindow(parent), document_(document), editView_(editView), route_(std::move(route)),
      splitter_(new QSplitter(Qt::Horizontal)), classView_(new CClassView(*document->Model())),
      linePane_(new QLabel(QStringLiteral("Line: ####"))),
      columnPane_(new QLabel(QStringLiteral("Col: ###")))
{
    setAttribute(Qt::WA_DeleteOnClose);
    auto* body = new QWidget;
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    splitter_->addWidget(classView_);
    splitter_->addWidget(editView_);
    splitter_->setChildrenCollapsible(false);
    // The tree keeps its width when the window grows.
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({160, 480});
    classView_->SetCommandTarget(this);
    classView_->setAccessibleName(tr("Class tree"));
    connect(classView_, &CClassView::DeclarationActivated, this, &CChildFrame::GoToDeclaration);
    connect(classView_, &CClassView::FocusReturnRequested, this, &CChildFrame::FocusEditor);
    layout->addWidget(splitter_, 1);

    auto* status = new QStatusBar;
    status->setSizeGripEnabled(false);
    // The panes keep the width of their template texts.
    for (QLabel* pane : {linePane_, columnPane_}) {
        pane->setMinimumWidth(pane->sizeHint().width());
        status->addPermanentWidget(pane);
    }
    linePane_->clear();
    columnPane_->clear();
    status->setAccessibleName(tr("Document status bar"));
    layout->addWidget(status);
    setWidget(body);
    setFocusProxy(editView_);
    // The tree of a large text fills in steps once the window is up, so
    // that the text shows at once.
    constexpr std::int64_t kSteppedFrom = 4 << 20;
    if (document_->Model()->TextBuffer().Length() >= kSteppedFrom)
        classView_->RefreshInSteps();
    else
        RefreshClassView();
}

void CChildFrame::RefreshClassView()
{
    classView_->Refresh();
    // A new text still carrying its generic name is named after its class.
    if (document_->Title().find("Scrivo") != std::string::npos && classView_->HasItems()) {
        const std::string first = classView_->topLevelItem(0)->text(0).toStdString();
        if (!first.empty())
            document_->SetTitle(first);
    }
}

void CChildFrame::GoToDeclaration(int line)
{
    if (VxEditController* controller = EditController(editView_)) {
        VxEdit& model = controller->GetModel();
        const auto target = std::clamp<std::int32_t>(line, 0, model.LastLine());
        controller->LockRedraw();
        controller->CancelSelection();
        controller->SetCaret(target, 0);
        controller->RevealCaret();
        controller->UnlockRedraw();
    }
    FocusEditor();
}

void CChildFrame::FocusEditor()
{
    editView_->setFocus(Qt::ActiveWindowFocusReason);
}

void CChildFrame::UpdateModifiedMark()
{
    const bool modified = document_->IsModified();
    // Until the window is named there is no place for the mark.
    if (modified == isWindowModified() || !windowTitle().contains(QStringLiteral("[*]")))
        return;
    setWindowModified(modified);
    emit ModifiedMarkChanged();
}

void CChildFrame::ShowCaretPosition(const QString& lineText, const QString& columnText)
{
    // Every edit moves the caret: the mark follows the text at once.
    UpdateModifiedMark();
    linePane_->setText(lineText);
    columnPane_->setText(columnText);
    // A screen reader reads the pane's name, "Line: 12"; setting it tells
    // the reader that the value changed.
    static const QRegularExpression colon(QStringLiteral(":\\s*"));
    const auto spoken = [](const QString& text) { return QString(text).replace(colon, QStringLiteral(": ")); };
    linePane_->setAccessibleName(spoken(lineText));
    columnPane_->setAccessibleName(spoken(columnText));
}

void CChildFrame::FocusPane(int step)
{
    // The panes of the split window in their order, the focused one first.
    QList<QWidget*> panes;
    for (int i = 0; i < splitter_->count(); ++i) {
        QWidget* pane = splitter_->widget(i);
        if (pane->isVisible() && pane->focusPolicy() != Qt::NoFocus)
            panes << pane;
    }
    if (panes.isEmpty())
        return;
    qsizetype current = 0;
    for (qsizetype i = 0; i < panes.size(); ++i) {
        if (panes[i]->isAncestorOf(focusWidget()) || panes[i] == focusWidget())
            current = i;
    }
    const qsizetype next = (current + step + panes.size()) % panes.size();
    panes[next]->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

bool CChildFrame::OnCommand(int id)
{
    if (id == cmd::kNextPane || id == cmd::kPrevPane) {
        FocusPane(id == cmd::kNextPane ? 1 : -1);
        return true;
    }
    if (RunCodeCommand(id))
        return true;
    if (id == cmd::kEditCompleteWord && completion_) {
        if (auto* view = qobject_cast<CScrivoView*>(editView_))
            completion_->Complete(*view);
        return true;
    }
    // A save lists the declarations as they are saved; the save itself
    // goes on to the document.
    if (id == cmd::kFileSave)
        RefreshClassView();
    for (tarrow::foundation::ICommandTarget* target : route_) {
        if (target->OnCommand(id)) {
            // Line numbers are one choice for every window.
            if (id == cmd::kViewLineNumbers) {
                CommandState state;
                OnUpdateCommand(id, state);
                emit LineNumbersChosen(state.checked);
            }
            return true;
        }
    }
    return false;
}

bool CChildFrame::OnUpdateCommand(int id, CommandState& state)
{
    switch (id) {
    case cmd::kNextPane:
    case cmd::kPrevPane:
    case cmd::kViewRefreshClasses:
    case cmd::kInsertClass:
    case cmd::kInsertInterface:
    case cmd::kInsertTryCatch:
        state.enabled = true;
        return true;
    case cmd::kInsertMethod:
    case cmd::kInsertMemberVariable:
        // Members go into the class selected in the tree.
        state.enabled = classView_->HasItems() && classView_->SelectedIndex() >= 0;
        return true;
    case cmd::kEditCompleteWord:
        if (!completion_)
            break;
        if (auto* view = qobject_cast<CScrivoView*>(editView_))
            state.enabled = !view->Controller().IsReadOnly();
        return true;
    default:
        break;
    }
    for (tarrow::foundation::ICommandTarget* target : route_) {
        if (target->OnUpdateCommand(id, state))
            return true;
    }
    return false;
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    bool accept = true;
    emit CloseRequested(this, accept);
    if (accept) {
        emit Closing(this);
        event->accept();
    } else {
        event->ignore();
    }
}

// The class view's commands

bool CChildFrame::RunCodeCommand(int id)
{
    switch (id) {
    case cmd::kViewRefreshClasses:
        RefreshClassView();
        return true;
    case cmd::kInsertClass:
        InsertClass();
        return true;
    case cmd::kInsertInterface:
        InsertInterface();
        return true;
    case cmd::kInsertMethod:
        InsertMethod();
        return true;
    case cmd::kInsertMemberVariable:
        InsertMemberVariable();
        return true;
    case cmd::kInsertTryCatch:
        InsertTryCatch();
        return true;
    default:
        return false;
    }
}

namespace {

const WordList& ListOf(const CScrivoSettings* settings, WordList CScrivoSettings::*list)
{
    static const WordList empty;
    return settings ? settings->*list : empty;
}

}  // namespace

bool CChildFrame::Accepted(QDialog& dialog)
{
    const QPointer<CChildFrame> alive(this);
    return dialog.exec() == QDialog::Accepted && alive;
}

void CChildFrame::InsertClass()
{
    CClassDialog dialog(ListOf(settings_, &CScrivoSettings::extendsList),
                        ListOf(settings_, &CScrivoSettings::implementsList), window());
    if (!Accepted(dialog))
        return;
    CodeInsertion::Append(*document_->Model(), dialog.Declaration().Text());
    RefreshClassView();
}

void CChildFrame::InsertInterface()
{
    CInterfaceDialog dialog(ListOf(settings_, &CScrivoSettings::implementsList), window());
    if (!Accepted(dialog))
        return;
    CodeInsertion::Append(*document_->Model(), dialog.Declaration().Text());
    RefreshClassView();
}

void CChildFrame::InsertMethod()
{
    CMethodDialog dialog(ListOf(settings_, &CScrivoSettings::varTypesList),
                         ListOf(settings_, &CScrivoSettings::throwsList), window());
    if (!Accepted(dialog))
        return;
    VxScrivo& model = *document_->Model();
    CodeInsertion::InsertMethod(model, model.Declarations(), classView_->SelectedIndex(), dialog.Declaration().Text());
    RefreshClassView();
}

void CChildFrame::InsertMemberVariable()
{
    CVariableDialog dialog(ListOf(settings_, &CScrivoSettings::varTypesList), window());
    if (!Accepted(dialog))
        return;
    VxScrivo& model = *document_->Model();
    CodeInsertion::InsertVariable(model, model.Declarations(), classView_->SelectedIndex(), dialog.Declaration().Text());
    RefreshClassView();
}

void CChildFrame::InsertTryCatch()
{
    VxEditController* controller = EditController(editView_);
    if (!controller)
        return;
    CCatchBlockDlg dialog(ListOf(settings_, &CScrivoSettings::throwsList), window());
    if (!Accepted(dialog))
        return;
    CodeInsertion::InsertTryCatch(*controller, dialog.Declaration().exceptionClass, dialog.Declaration().variable);
    RefreshClassView();
    FocusEditor();
}
