#pragma once

#include "engine/VxEditTextObserver.h"

class VxEdit;
class VxEditDisplayLineMap;

// Keeps a display-line map in step with its model's text: every insertion
// or deletion, done, undone or redone, becomes lines added or removed, and
// the lines it touched await measuring again.
//
// Where lines come in: an insertion at column 0 puts its new lines before
// the line it was made on (that line moves down, and a fold starting there
// with it); elsewhere they follow it. A deletion from column 0 removes the
// lines from its first one, otherwise those after it, so that undo puts
// folds back where the edit found them.
class VxEditDisplayLineFollower : public VxEditTextObserver {
public:
    VxEditDisplayLineFollower(VxEdit& model, VxEditDisplayLineMap& map);
    ~VxEditDisplayLineFollower() override;
    VxEditDisplayLineFollower(const VxEditDisplayLineFollower&) = delete;
    VxEditDisplayLineFollower& operator=(const VxEditDisplayLineFollower&) = delete;

    void OnNewText() override;
    void OnTextCommand(const VxEditTextCommand& command) override;

private:
    VxEdit& model_;
    VxEditDisplayLineMap& map_;
};
