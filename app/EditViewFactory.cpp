#include "app/EditViewFactory.h"

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CScrivoDoc.h"
#include "engine/VxScrivo.h"
#include "view/CScrivoView.h"

EditViewParts CreateEditView(CScrivoDoc& document, VxEditPrinterSetup* printerSetup)
{
    auto* view = new CScrivoView(*document.Model());
    // A never-saved document prints as "Untitled".
    view->SetPrinting(printerSetup, [&document] {
        return document.PathName().empty() ? std::string() : document.Title();
    });
    return EditViewParts{view, {view}};
}

QFont EditViewFont(QWidget* editView)
{
    return static_cast<CScrivoView*>(editView)->Viewport().GetMetrics().Font();
}

void ConnectEditView(const EditViewParts& parts, CChildFrame& child, CMainFrame& frame)
{
    auto* view = static_cast<CScrivoView*>(parts.widget);
    // The context menu's commands go through the window, which holds the
    // class view's commands (Try/Catch Block) as well as the view's.
    view->SetCommandTarget(&child);
    QObject::connect(view, &CScrivoView::CaretPositionChanged, &child,
                     &CChildFrame::ShowCaretPosition);
    QObject::connect(view, &CScrivoView::OverwriteChanged, &frame,
                     &CMainFrame::UpdateOverwriteIndicator);
    child.ShowCaretPosition(view->LineText(), view->ColumnText());
}

VxEditController* EditController(QWidget* view)
{
    auto* editView = qobject_cast<CScrivoView*>(view);
    return editView ? &editView->Controller() : nullptr;
}
