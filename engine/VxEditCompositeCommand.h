#pragma once

#include "mvc/CMvcCommand.h"

#include <cstddef>
#include <vector>

namespace tarrow::foundation {
class IObserver;
class ISubject;
}  // namespace tarrow::foundation

// Several commands that form one undo step. Owns one reference to each child.
class VxEditCompositeCommand : public tarrow::foundation::CMvcCommand {
public:
    VxEditCompositeCommand() = default;

    int GetId() const override;
    std::string GetDescription() const override { return "VxEditCompositeCommand"; }

    int GetFlags() const { return flags_; }
    void SetFlags(int flags) { flags_ = flags; }

    // Children first to last (undone last to first), stopping at the first
    // one that fails.
    bool Execute() override;
    bool Unexecute() override;
    bool Succeeded() const override { return flags_ != 0 && AllChildrenSucceeded(); }

    std::size_t ChildCount() const { return children_.size(); }
    tarrow::foundation::CMvcCommand* Child(std::size_t index) const { return children_[index]; }
    bool AllChildrenSucceeded() const;
    // Hands every child to the observer as a message of its own, in order.
    void ForwardToObserver(tarrow::foundation::IObserver& observer,
                           tarrow::foundation::ISubject* subject) const;

    // Takes over the caller's reference.
    void Add(tarrow::foundation::CMvcCommand* child);
    // False when the child is already here, directly or in a nested composite.
    bool CanAdd(const tarrow::foundation::CMvcCommand* child) const;

private:
    ~VxEditCompositeCommand() override;

    std::vector<tarrow::foundation::CMvcCommand*> children_;
    int flags_ = 1;
};
