#include "app/CResultSteps.h"

#include "app/CFindInFiles.h"
#include "app/CFindResultsBar.h"
#include "app/CMainFrame.h"
#include "javatools/output/OutputControlBar.h"
#include "javatools/output/OutputController.h"
#include "javatools/output/OutputVxEditCtrl.h"
#include "resources/CommandIds.h"

using tarrow::foundation::CommandState;

CResultSteps::CResultSteps(CMainFrame& frame, CFindInFiles& find)
    : QObject(&frame), frame_(frame), find_(find)
{
    connect(frame.OutputBar(), &OutputControlBar::OutputShown, this, [this] { Filled(List::kOutput); });
    connect(&find, &CFindInFiles::SearchStarted, this, [this] { Filled(List::kFindResults); });
}

void CResultSteps::Filled(List list)
{
    last_ = list;
    // F4 works at once, not only from the frame's next idle update.
    frame_.UpdateAllActions();
}

bool CResultSteps::Step(int step)
{
    if (last_ == List::kFindResults)
        return find_.ResultsBar() && find_.ResultsBar()->Step(step);
    if (last_ == List::kOutput)
        return frame_.OutputBar()->Control()->Output().StepToMessage(step);
    return false;
}

bool CResultSteps::OnCommand(int id)
{
    switch (id) {
    case cmd::kEditNextResult:
        Step(1);
        return true;
    case cmd::kEditPrevResult:
        Step(-1);
        return true;
    case cmd::kViewFindResults:
        if (find_.ResultsBar())
            find_.ResultsBar()->FocusList();
        return true;
    default:
        return false;
    }
}

bool CResultSteps::OnUpdateCommand(int id, CommandState& state)
{
    switch (id) {
    case cmd::kEditNextResult:
    case cmd::kEditPrevResult:
        state.enabled = last_ != List::kNone;
        return true;
    case cmd::kViewFindResults:
        state.enabled = find_.ResultsBar() != nullptr;
        return true;
    default:
        return false;
    }
}
