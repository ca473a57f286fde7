#pragma once

#include <QList>
#include <QPair>

#include <functional>

// The entries of a toolbar or menu that are shown: the commands the program
// carries out, with a separator (id 0) only between two shown commands.
// Negative ids stand for entries that always show (placeholders). Each shown
// entry comes with its index in the full list.
QList<QPair<int, int>> ShownCommandEntries(const QList<int>& ids,
                                           const std::function<bool(int)>& exists);
