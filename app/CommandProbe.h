#pragma once

#include "app/EditViewFactory.h"

#include <QHash>

#include <functional>
#include <memory>

class CChildFrame;
class CScrivoDoc;

// Tells which commands a document window carries out, by asking a hidden
// window on an empty document once per command. Toolbars and menus use it to
// offer exactly the commands the program has, even while no document is open.
class CommandProbe {
public:
    // makeView makes the edit view of a window on a document, as for every
    // document window.
    explicit CommandProbe(std::function<EditViewParts(CScrivoDoc&)> makeView);
    ~CommandProbe();
    CommandProbe(const CommandProbe&) = delete;
    CommandProbe& operator=(const CommandProbe&) = delete;

    bool Handles(int id);

private:
    std::function<EditViewParts(CScrivoDoc&)> makeView_;
    std::unique_ptr<CScrivoDoc> document_;
    std::unique_ptr<CChildFrame> window_;
    QHash<int, bool> known_;
};
