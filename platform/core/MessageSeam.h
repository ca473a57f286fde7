#pragma once

#include <deque>
#include <string>
#include <vector>

namespace quillet::platform {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct Message {
    std::string text;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::Warning;
    std::string title;    // empty: the program's name
    std::string yesText;  // empty: the standard button texts
    std::string noText;
};

// A file dialog: Open when save is false, Save As otherwise. Filters are
// "Name (*.ext)" entries; defaultSuffix (".java") is appended to a chosen
// name that has no extension.
struct FileDialogRequest {
    bool save = false;
    std::string title;
    std::string initialPath;
    std::vector<std::string> filters;
    std::string defaultSuffix;
};

// The one seam through which every user-visible message, file dialog and the
// wait cursor pass. The window layer installs a sink that shows message boxes; tests
// install one that records the texts and answers questions.
class IMessageSink {
public:
    virtual ~IMessageSink() = default;
    virtual MessageAnswer Show(const Message& message) = 0;
    // Fills path with the chosen file; false when the user cancelled.
    virtual bool ChooseFile(const FileDialogRequest& request, std::string& path) { return false; }
    // An Open dialog in which several files may be chosen at once.
    virtual bool ChooseFiles(const FileDialogRequest& request, std::vector<std::string>& paths)
    {
        std::string path;
        if (!ChooseFile(request, path))
            return false;
        paths.assign(1, path);
        return true;
    }
    virtual void BeginWait() {}
    virtual void EndWait() {}
};

// Installs the sink for the whole process; nullptr restores the default sink,
// which writes the text to standard error and answers with the first button.
void SetMessageSink(IMessageSink* sink);
IMessageSink& MessageSink();

MessageAnswer ShowMessage(const std::string& text,
                          MessageButtons buttons = MessageButtons::Ok,
                          MessageIcon icon = MessageIcon::Warning);
MessageAnswer ShowMessage(const Message& message);
bool ChooseFile(const FileDialogRequest& request, std::string& path);
// Fills paths with the chosen files; false when the user cancelled.
bool ChooseFiles(const FileDialogRequest& request, std::vector<std::string>& paths);
// Appends the default suffix to a file name without an extension.
std::string WithDefaultSuffix(const std::string& path, const std::string& suffix);

// Shows the wait cursor for the lifetime of the object.
class WaitCursor {
public:
    WaitCursor() { MessageSink().BeginWait(); }
    ~WaitCursor() { MessageSink().EndWait(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Records every message and answers from a queue of prepared answers (the
// first button when the queue is empty). Installs itself while it lives.
class RecordingMessageSink : public IMessageSink {
public:
    RecordingMessageSink();
    ~RecordingMessageSink() override;

    MessageAnswer Show(const Message& message) override;
    bool ChooseFile(const FileDialogRequest& request, std::string& path) override;
    // Takes the next file answer; a line feed separates the files in it.
    bool ChooseFiles(const FileDialogRequest& request, std::vector<std::string>& paths) override;
    void BeginWait() override { ++waitDepth_; ++waitCount_; }
    void EndWait() override { --waitDepth_; }

    void QueueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
    // The next file dialog chooses this path; an empty path cancels it.
    // Without a queued answer a file dialog is cancelled.
    void QueueFileAnswer(const std::string& path) { fileAnswers_.push_back(path); }
    const std::vector<FileDialogRequest>& FileRequests() const { return fileRequests_; }
    const std::vector<Message>& Messages() const { return messages_; }
    std::vector<std::string> Texts() const;
    void Clear() { messages_.clear(); }
    int WaitDepth() const { return waitDepth_; }
    int WaitCount() const { return waitCount_; }

private:
    IMessageSink* previous_;
    std::vector<Message> messages_;
    std::deque<MessageAnswer> answers_;
    std::vector<FileDialogRequest> fileRequests_;
    std::deque<std::string> fileAnswers_;
    int waitDepth_ = 0;
    int waitCount_ = 0;
};

}  // namespace quillet::platform
