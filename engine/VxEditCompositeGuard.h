#pragma once

class VxEdit;

// Makes the edits of a scope one undo step: opens a composite unless one is
// already open, and closes it on leaving only if it opened it, so nested
// guards form a single step.
class VxEditCompositeGuard {
public:
    explicit VxEditCompositeGuard(VxEdit& model);
    ~VxEditCompositeGuard();
    VxEditCompositeGuard(const VxEditCompositeGuard&) = delete;
    VxEditCompositeGuard& operator=(const VxEditCompositeGuard&) = delete;

private:
    VxEdit& model_;
    bool opened_;
};
