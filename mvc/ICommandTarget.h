#pragma once

namespace tarrow::foundation {

// What a command's menu entry or button shows: enabled, and checked when the
// command is a toggle.
struct CommandState {
    bool enabled = true;
    bool checked = false;
};

// Something that numbered commands are routed to: the active child frame,
// its view, the view's controller, the document, the main frame and the
// application, asked in that order until one handles the command.
class ICommandTarget {
public:
    // Carries out the command; false when this target does not handle it.
    virtual bool OnCommand(int id) = 0;
    // Fills in the command's state; false when this target does not handle it.
    virtual bool OnUpdateCommand(int id, CommandState& state) = 0;

protected:
    virtual ~ICommandTarget() = default;
};

}  // namespace tarrow::foundation
