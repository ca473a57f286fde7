#pragma once

#include <QIcon>

// The image of a command's toolbar button: the desktop theme's icon where a
// standard name exists, else the program's own drawing, made sharp for 16
// and 24 pixel buttons on ordinary and double-density screens. A command
// without an image gives a null icon (its button shows its name).
QIcon CommandIcon(int id);
