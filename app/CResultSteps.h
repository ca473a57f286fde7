#pragma once

#include "mvc/ICommandTarget.h"

#include <QObject>

class CFindInFiles;
class CMainFrame;

// Next Result and Previous Result (F4, Shift+F4) step through the list that
// was filled last: the compiler messages of the output window or the
// matches of Find in Files; each step goes to its line as a double-click on
// it does. Find Results puts the keyboard focus in the results list.
class CResultSteps : public QObject, public tarrow::foundation::ICommandTarget {
    Q_OBJECT
public:
    CResultSteps(CMainFrame& frame, CFindInFiles& find);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, tarrow::foundation::CommandState& state) override;

private:
    enum class List { kNone, kOutput, kFindResults };

    void Filled(List list);
    bool Step(int step);

    CMainFrame& frame_;
    CFindInFiles& find_;
    List last_ = List::kNone;
};
