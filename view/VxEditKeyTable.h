#pragma once

#include <QKeyCombination>
#include <QList>

// The edit view's accelerator table: the keys that map to command ids
// before the window types anything.
class VxEditKeyTable {
public:
    // The command bound to the key, or 0. The keypad modifier is ignored.
    static int CommandFor(QKeyCombination key);
    // Every key bound to the command, in the table's order.
    static QList<QKeyCombination> KeysFor(int command);
};
