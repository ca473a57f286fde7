#pragma once

#include <deque>
#include <string>
#include <vector>

namespace quillet::platform {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { Information, Warning, Error, Question };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct Message {
    std::string text;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::Warning;
    std::string title;    // empty: the program's name
    std::string yesText;  // empty: the standard button texts
    std::string noText;
};

// The one seam through which every user-visible message and the wait cursor
// pass. The window layer installs a sink that shows message boxes; tests
// install one that records the texts and answers questions.
class IMessageSink {
public:
    virtual ~IMessageSink() = default;
    virtual MessageAnswer Show(const Message& message) = 0;
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
    void BeginWait() override { ++waitDepth_; ++waitCount_; }
    void EndWait() override { --waitDepth_; }

    void QueueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
    const std::vector<Message>& Messages() const { return messages_; }
    std::vector<std::string> Texts() const;
    void Clear() { messages_.clear(); }
    int WaitDepth() const { return waitDepth_; }
    int WaitCount() const { return waitCount_; }

private:
    IMessageSink* previous_;
    std::vector<Message> messages_;
    std::deque<MessageAnswer> answers_;
    int waitDepth_ = 0;
    int waitCount_ = 0;
};

}  // namespace quillet::platform
