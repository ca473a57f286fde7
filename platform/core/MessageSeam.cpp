#include "platform/core/MessageSeam.h"

#include <cstdio>

namespace quillet::platform {

namespace {

MessageAnswer FirstButton(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
    case MessageButtons::OkCancel:
        return MessageAnswer::Ok;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
        return MessageAnswer::Yes;
    }
    return MessageAnswer::Ok;
}

class StandardErrorSink : public IMessageSink {
public:
    MessageAnswer Show(const Message& message) override
    {
        std::fprintf(stderr, "Quillet: %s\n", message.text.c_str());
        return FirstButton(message.buttons);
    }
};

StandardErrorSink g_defaultSink;
IMessageSink* g_sink = &g_defaultSink;

}  // namespace

void SetMessageSink(IMessageSink* sink)
{
    g_sink = sink ? sink : &g_defaultSink;
}

IMessageSink& MessageSink()
{
    return *g_sink;
}

MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons, MessageIcon icon)
{
    return MessageSink().Show(Message{text, buttons, icon, {}, {}, {}});
}

MessageAnswer ShowMessage(const Message& message)
{
    return MessageSink().Show(message);
}

RecordingMessageSink::RecordingMessageSink() : previous_(&MessageSink())
{
    SetMessageSink(this);
}

RecordingMessageSink::~RecordingMessageSink()
{
    SetMessageSink(previous_ == &g_defaultSink ? nullptr : previous_);
}

MessageAnswer RecordingMessageSink::Show(const Message& message)
{
    messages_.push_back(message);
    if (answers_.empty())
        return FirstButton(message.buttons);
    MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::vector<std::string> RecordingMessageSink::Texts() const
{
    std::vector<std::string> texts;
    for (const Message& message : messages_)
        texts.push_back(message.text);
    return texts;
}

}  // namespace quillet::platform
