#pragma once

#include "mvc/IMessage.h"

#include <string>

// The numbered notifications that an edit model and its language
// configuration send to their observers.
enum VxEditMsgId : int {
    kMsgFontUpdate = 22575,            // display font or its character set changed
    kMsgSplitterSync = 22576,          // a pane scrolled; the other panes follow
    kMsgInitController = 22582,        // new empty text or a file was loaded
    kMsgInvalidateColouring = 22583,   // colouring rules changed: drop caches, repaint
    kMsgInvalidateGutter = 22584,      // a line mark was toggled
    kMsgInvalidateLines = 22585,       // repaint a line range (VxEditPaintMsg)
    kMsgTextCommand = 22586,           // an insertion or deletion was done or undone
    kMsgCompositeCommand = 22587,      // a composite command was done or undone
    kMsgOverwriteChanged = 22588,      // the text's overwrite mode was switched
};

// A counted message with an id; its description is the string-table text
// for the id.
class VxEditMsg : public tarrow::foundation::CRefCounted<tarrow::foundation::IMessage> {
public:
    explicit VxEditMsg(int id) : id_(id) {}

    int GetId() const override { return id_; }
    std::string GetDescription() const override;

    static std::string DescriptionOf(int id);

private:
    int id_;
};

// Asks observers to repaint lines first to last (inclusive).
class VxEditPaintMsg : public VxEditMsg {
public:
    VxEditPaintMsg(int firstLine, int lastLine)
        : VxEditMsg(kMsgInvalidateLines), firstLine_(firstLine), lastLine_(lastLine)
    {
    }

    int FirstLine() const { return firstLine_; }
    int LastLine() const { return lastLine_; }
    std::string GetDescription() const override;

private:
    int firstLine_;
    int lastLine_;
};
