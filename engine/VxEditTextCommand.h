#pragma once

#include "engine/VxEditLineColPair.h"
#include "mvc/CMvcCommand.h"

#include <string>

class VxEdit;

// One insertion or deletion of a model's text, as an undo step and as the
// notification that tells observers what changed. An insertion keeps no copy
// of its text until it is first undone.
class VxEditTextCommand : public tarrow::foundation::CMvcCommand {
public:
    VxEditTextCommand(VxEdit& model, const VxEditLineColPair& range, bool isInsertion,
                      std::string text = {});

    int GetId() const override;
    std::string GetDescription() const override;

    bool Execute() override;
    bool Unexecute() override;
    bool Succeeded() const override { return succeeded_ != 0; }
    void SetFlags(int succeeded) { succeeded_ = succeeded; }

    bool DoInsert();
    bool DoDelete();

    const VxEditLineColPair& Range() const { return range_; }
    const std::string& Text() const { return text_; }
    bool IsInsertion() const { return isInsertion_ != 0; }
    bool LastActionWasInsertion() const { return lastInsert_ != 0; }

    // Lets typed characters join the insertion before them: true (and this
    // command now covers both) when next is an insertion that starts where
    // this one ends on the same line and this one has not been undone.
    bool MergeInsertion(const VxEditTextCommand& next);

private:
    ~VxEditTextCommand() override = default;

    VxEditLineColPair range_;
    std::string text_;
    VxEdit& model_;
    int isInsertion_;
    int lastInsert_;
    int succeeded_ = 1;
};
