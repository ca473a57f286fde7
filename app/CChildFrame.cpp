#include "app/CChildFrame.h"

#include "resources/CommandIds.h"

#include <QCloseEvent>
#include <QLabel>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

using tarrow::foundation::CommandState;

CChildFrame::CChildFrame(CScrivoDoc* document, QWidget* editView,
                         std::vector<tarrow::foundation::ICommandTarget*> route, QWidget* parent)
    : QMdiSubWindow(parent), document_(document), editView_(editView), route_(std::move(route)),
      splitter_(new QSplitter(Qt::Horizontal)), linePane_(new QLabel(QStringLiteral("Line: ####"))),
      columnPane_(new QLabel(QStringLiteral("Col: ###")))
{
    setAttribute(Qt::WA_DeleteOnClose);
    auto* body = new QWidget;
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    splitter_->addWidget(editView_);
    splitter_->setChildrenCollapsible(false);
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
    linePane_->setAccessibleName(tr("Line"));
    columnPane_->setAccessibleName(tr("Column"));
    status->setAccessibleName(tr("Document status bar"));
    layout->addWidget(status);
    setWidget(body);
    setFocusProxy(editView_);
}

void CChildFrame::FocusEditor()
{
    editView_->setFocus(Qt::ActiveWindowFocusReason);
}

void CChildFrame::ShowCaretPosition(const QString& lineText, const QString& columnText)
{
    linePane_->setText(lineText);
    columnPane_->setText(columnText);
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
    for (tarrow::foundation::ICommandTarget* target : route_) {
        if (target->OnCommand(id))
            return true;
    }
    return false;
}

bool CChildFrame::OnUpdateCommand(int id, CommandState& state)
{
    if (id == cmd::kNextPane || id == cmd::kPrevPane) {
        state.enabled = true;
        return true;
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
    if (accept)
        event->accept();
    else
        event->ignore();
}
