// Matching brackets in VxEditController: the pair at the caret for the
// painter, and Go to Matching Brace (Ctrl+], with Shift selecting).
#include "controller/VxEditController.h"

#include "engine/VxEdit.h"
#include "engine/VxEditBraceMatcher.h"

bool VxEditController::MatchedBraces(VxEditLineCol& bracket, VxEditLineCol& partner)
{
    VxEditBraceMatcher matcher(model_);
    return matcher.BracketAt(caret_, bracket) && matcher.FindPartner(bracket, partner);
}

// The caret lands before the partner, so the key takes it back again; a
// selection takes in both brackets.
void VxEditController::GoToMatchingBrace(bool select)
{
    VxEditLineCol bracket;
    VxEditLineCol partner;
    if (!MatchedBraces(bracket, partner))
        return;
    if (!select) {
        CancelSelection();
        SetCaret(partner.line, partner.column);
        RevealCaret();
        return;
    }
    const bool forward = bracket < partner;
    const VxEditLineCol anchor = forward ? bracket : VxEditLineCol(bracket.line, bracket.column + 1);
    const VxEditLineCol active = forward ? VxEditLineCol(partner.line, partner.column + 1) : partner;
    SetSelection(anchor, active, VxEditSelection::kStream);
    SetCaret(active.line, active.column);
    RevealCaret();
}

void VxEditController::RefreshBraces()
{
    VxEditLineCol bracket;
    VxEditLineCol partner;
    const bool found = MatchedBraces(bracket, partner);
    if (found == hasBraces_ && (!found || (bracket == braces_[0] && partner == braces_[1])))
        return;
    if (hasBraces_) {
        view_.InvalidateLines(braces_[0].line, braces_[0].line);
        view_.InvalidateLines(braces_[1].line, braces_[1].line);
    }
    hasBraces_ = found;
    if (found) {
        braces_[0] = bracket;
        braces_[1] = partner;
        view_.InvalidateLines(bracket.line, bracket.line);
        view_.InvalidateLines(partner.line, partner.line);
    }
}
