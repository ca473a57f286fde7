#include "view/VxEditKeyTable.h"

#include "resources/CommandIds.h"

#include <array>

namespace {

struct KeyBinding {
    QKeyCombination key;
    int command;
};

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifier kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifier kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifier kAlt = Qt::AltModifier;

constexpr QKeyCombination Key(Qt::KeyboardModifiers modifiers, Qt::Key key)
{
    return QKeyCombination(modifiers, key);
}

// Accelerator table 22502.
const std::array kBindings = {
    KeyBinding{Key(kNone, Qt::Key_Left), cmd::kCharLeft},
    KeyBinding{Key(kShift, Qt::Key_Left), cmd::kSelectCharLeft},
    KeyBinding{Key(kNone, Qt::Key_Right), cmd::kCharRight},
    KeyBinding{Key(kShift, Qt::Key_Right), cmd::kSelectCharRight},
    KeyBinding{Key(kNone, Qt::Key_Up), cmd::kLineUp},
    KeyBinding{Key(kShift, Qt::Key_Up), cmd::kSelectLineUp},
    KeyBinding{Key(kNone, Qt::Key_Down), cmd::kLineDown},
    KeyBinding{Key(kShift, Qt::Key_Down), cmd::kSelectLineDown},
    KeyBinding{Key(kCtrl, Qt::Key_Left), cmd::kWordLeft},
    KeyBinding{Key(kCtrl | kShift, Qt::Key_Left), cmd::kSelectWordLeft},
    KeyBinding{Key(kCtrl, Qt::Key_Right), cmd::kWordRight},
    KeyBinding{Key(kCtrl | kShift, Qt::Key_Right), cmd::kSelectWordRight},
    KeyBinding{Key(kNone, Qt::Key_Home), cmd::kLineStart},
    KeyBinding{Key(kShift, Qt::Key_Home), cmd::kSelectToLineStart},
    KeyBinding{Key(kNone, Qt::Key_End), cmd::kLineEnd},
    KeyBinding{Key(kShift, Qt::Key_End), cmd::kSelectToLineEnd},
    KeyBinding{Key(kCtrl, Qt::Key_Home), cmd::kTextStart},
    KeyBinding{Key(kCtrl | kShift, Qt::Key_Home), cmd::kSelectToTextStart},
    KeyBinding{Key(kCtrl, Qt::Key_End), cmd::kTextEnd},
    KeyBinding{Key(kCtrl | kShift, Qt::Key_End), cmd::kSelectToTextEnd},
    KeyBinding{Key(kNone, Qt::Key_PageUp), cmd::kPageUp},
    KeyBinding{Key(kShift, Qt::Key_PageUp), cmd::kSelectPageUp},
    KeyBinding{Key(kNone, Qt::Key_PageDown), cmd::kPageDown},
    KeyBinding{Key(kShift, Qt::Key_PageDown), cmd::kSelectPageDown},
    KeyBinding{Key(kCtrl, Qt::Key_Up), cmd::kScrollLineUp},
    KeyBinding{Key(kCtrl, Qt::Key_Down), cmd::kScrollLineDown},
    KeyBinding{Key(kNone, Qt::Key_Return), cmd::kReturn},
    KeyBinding{Key(kNone, Qt::Key_Enter), cmd::kReturn},
    KeyBinding{Key(kShift, Qt::Key_Return), cmd::kReturn},
    KeyBinding{Key(kNone, Qt::Key_Tab), cmd::kTab},
    KeyBinding{Key(kShift, Qt::Key_Tab), cmd::kBackTab},
    KeyBinding{Key(kShift, Qt::Key_Backtab), cmd::kBackTab},
    KeyBinding{Key(kNone, Qt::Key_Backtab), cmd::kBackTab},
    KeyBinding{Key(kNone, Qt::Key_Backspace), cmd::kBackspace},
    KeyBinding{Key(kShift, Qt::Key_Backspace), cmd::kBackspace},
    KeyBinding{Key(kNone, Qt::Key_Delete), cmd::kDelete},
    KeyBinding{Key(kCtrl, Qt::Key_Backspace), cmd::kDeleteWordLeft},
    KeyBinding{Key(kCtrl, Qt::Key_Delete), cmd::kDeleteWordRight},
    KeyBinding{Key(kNone, Qt::Key_Insert), cmd::kToggleOverwrite},
    KeyBinding{Key(kNone, Qt::Key_Escape), cmd::kCancelSelection},
    KeyBinding{Key(kCtrl | kShift, Qt::Key_W), cmd::kSelectWord},
    KeyBinding{Key(kCtrl | kShift, Qt::Key_BracketRight), cmd::kSelectToBrace},
    KeyBinding{Key(kCtrl | kShift, Qt::Key_BraceRight), cmd::kSelectToBrace},
    KeyBinding{Key(kCtrl, Qt::Key_L), cmd::kCutLines},
    KeyBinding{Key(kCtrl | kShift, Qt::Key_L), cmd::kDeleteLines},
    KeyBinding{Key(kCtrl, Qt::Key_U), cmd::kLowerCase},
    KeyBinding{Key(kCtrl | kShift, Qt::Key_U), cmd::kUpperCase},
    KeyBinding{Key(kCtrl | kShift, Qt::Key_8), cmd::kToggleWhitespace},
    KeyBinding{Key(kCtrl | kShift, Qt::Key_Asterisk), cmd::kToggleWhitespace},
    KeyBinding{Key(kCtrl, Qt::Key_C), cmd::kEditCopy},
    KeyBinding{Key(kCtrl, Qt::Key_Insert), cmd::kEditCopy},
    KeyBinding{Key(kCtrl, Qt::Key_X), cmd::kEditCut},
    KeyBinding{Key(kShift, Qt::Key_Delete), cmd::kEditCut},
    KeyBinding{Key(kCtrl, Qt::Key_V), cmd::kEditPaste},
    KeyBinding{Key(kShift, Qt::Key_Insert), cmd::kEditPaste},
    KeyBinding{Key(kCtrl, Qt::Key_A), cmd::kEditSelectAll},
    KeyBinding{Key(kCtrl, Qt::Key_Z), cmd::kEditUndo},
    KeyBinding{Key(kAlt, Qt::Key_Backspace), cmd::kEditUndo},
    KeyBinding{Key(kCtrl, Qt::Key_Y), cmd::kEditRedo},
    KeyBinding{Key(kCtrl | kShift, Qt::Key_Z), cmd::kEditRedo},
    KeyBinding{Key(kAlt | kShift, Qt::Key_Backspace), cmd::kEditRedo},
    KeyBinding{Key(kNone, Qt::Key_F3), cmd::kFindNext},
    KeyBinding{Key(kShift, Qt::Key_F3), cmd::kFindPrevious},
    KeyBinding{Key(kCtrl, Qt::Key_F3), cmd::kFindNextWord},
    KeyBinding{Key(kCtrl | kShift, Qt::Key_F3), cmd::kFindPreviousWord},
    KeyBinding{Key(kCtrl, Qt::Key_F), cmd::kEditFind},
    KeyBinding{Key(kCtrl, Qt::Key_H), cmd::kEditReplace},
    KeyBinding{Key(kNone, Qt::Key_F9), cmd::kToggleBreakpoint},
    KeyBinding{Key(kCtrl, Qt::Key_F2), cmd::kToggleBookmark},
    KeyBinding{Key(kNone, Qt::Key_F2), cmd::kNextBookmark},
    KeyBinding{Key(kShift, Qt::Key_F2), cmd::kPrevBookmark},
    KeyBinding{Key(kCtrl | kShift, Qt::Key_F2), cmd::kClearBookmarks},
    KeyBinding{Key(kAlt | kShift, Qt::Key_Left), cmd::kSelectColumnLeft},
    KeyBinding{Key(kAlt | kShift, Qt::Key_Right), cmd::kSelectColumnRight},
    KeyBinding{Key(kAlt | kShift, Qt::Key_Up), cmd::kSelectColumnUp},
    KeyBinding{Key(kAlt | kShift, Qt::Key_Down), cmd::kSelectColumnDown},
};

}  // namespace

int VxEditKeyTable::CommandFor(QKeyCombination key)
{
    const QKeyCombination plain(key.keyboardModifiers() & ~Qt::KeypadModifier, key.key());
    for (const KeyBinding& binding : kBindings) {
        if (binding.key == plain)
            return binding.command;
    }
    return 0;
}

QList<QKeyCombination> VxEditKeyTable::KeysFor(int command)
{
    QList<QKeyCombination> keys;
    for (const KeyBinding& binding : kBindings) {
        if (binding.command == command)
            keys << binding.key;
    }
    return keys;
}
