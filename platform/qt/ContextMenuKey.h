#pragma once

#include <QObject>

namespace quillet::platform {

// Shift+F10 opens the context menu of the focused widget, as the Menu key
// does (which Qt handles itself): the menu shows at the current item of a
// list or tree, at the caret of a text, else in the widget's middle.
// Installed once on the application.
class ContextMenuKey : public QObject {
public:
    explicit ContextMenuKey(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace quillet::platform
