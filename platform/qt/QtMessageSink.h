#pragma once

#include "platform/core/MessageSeam.h"

#include <QStringList>

class QWidget;

namespace quillet::platform {

// Shows messages as modal message boxes titled "Quillet" over the given
// parent window, and the wait cursor as the application's override cursor.
class QtMessageSink : public IMessageSink {
public:
    explicit QtMessageSink(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    MessageAnswer Show(const Message& message) override;
    bool ChooseFile(const FileDialogRequest& request, std::string& path) override;
    bool ChooseFiles(const FileDialogRequest& request, std::vector<std::string>& paths) override;
    void BeginWait() override;
    void EndWait() override;

private:
    QStringList Choose(const FileDialogRequest& request, bool several);

    QWidget* parent_;
};

}  // namespace quillet::platform
