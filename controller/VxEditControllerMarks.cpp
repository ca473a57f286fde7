// The marker commands of VxEditController: toggle, next, previous and
// clear all, for each of the 32 mark bits.
#include "controller/VxEditController.h"

#include "engine/VxEdit.h"
#include "resources/CommandIds.h"

namespace {

enum class MarkerAction { kToggle, kNext, kPrevious, kClear };

// The action and bit of a marker command id; false for any other id.
bool DecodeMarker(int id, MarkerAction& action, int& bit)
{
    if (id < cmd::kMarkerToggleFirst || id > cmd::kMarkerLast)
        return false;
    const int offset = id - cmd::kMarkerToggleFirst;
    bit = offset % cmd::kMarkerRangeSize;
    if (bit >= 32)
        return false;
    action = static_cast<MarkerAction>(offset / cmd::kMarkerRangeSize);
    return true;
}

}  // namespace

bool VxEditController::DispatchMarker(int id)
{
    MarkerAction action = MarkerAction::kToggle;
    int bit = 0;
    if (!DecodeMarker(id, action, bit))
        return false;
    switch (action) {
    case MarkerAction::kToggle:
        model_.ToggleMark(caret_.line, bit);
        break;
    case MarkerAction::kNext:
    case MarkerAction::kPrevious: {
        const std::int32_t line = model_.FindMarkedLine(caret_.line, bit, action == MarkerAction::kNext);
        if (line >= 0) {
            CancelSelection();
            SetCaret(line, 0);
            RevealCaret();
        }
        break;
    }
    case MarkerAction::kClear:
        model_.ClearMarkEverywhere(bit);
        break;
    }
    return true;
}

bool VxEditController::UpdateMarker(int id, tarrow::foundation::CommandState& state)
{
    MarkerAction action = MarkerAction::kToggle;
    int bit = 0;
    if (!DecodeMarker(id, action, bit))
        return false;
    state.enabled = action == MarkerAction::kToggle || model_.CountMarkedLines(bit) > 0;
    return true;
}
