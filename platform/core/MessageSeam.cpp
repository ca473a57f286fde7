#include "platform/core/MessageSeam.h"

#include <algorithm>
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

bool ChooseFile(const FileDialogRequest& request, std::string& path)
{
    if (!MessageSink().ChooseFile(request, path) || path.empty())
        return false;
    if (request.save)
        path = WithDefaultSuffix(path, request.defaultSuffix);
    return true;
}

bool ChooseFiles(const FileDialogRequest& request, std::vector<std::string>& paths)
{
    paths.clear();
    return MessageSink().ChooseFiles(request, paths) && !paths.empty();
}

std::string WithDefaultSuffix(const std::string& path, const std::string& suffix)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    // Any dot in the file name counts, as the file dialog counts it.
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return hasExtension || suffix.empty() ? path : path + suffix;
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

bool RecordingMessageSink::ChooseFile(const FileDialogRequest& request, std::string& path)
{
    fileRequests_.push_back(request);
    if (fileAnswers_.empty())
        return false;
    path = fileAnswers_.front();
    fileAnswers_.pop_front();
    return !path.empty();
}

bool RecordingMessageSink::ChooseFiles(const FileDialogRequest& request, std::vector<std::string>& paths)
{
    std::string answer;
    if (!ChooseFile(request, answer))
        return false;
    for (std::size_t start = 0; start <= answer.size();) {
        const std::size_t end = std::min(answer.find('\n', start), answer.size());
        if (end > start)
            paths.push_back(answer.substr(start, end - start));
        start = end + 1;
    }
    return !paths.empty();
}

std::vector<std::string> RecordingMessageSink::Texts() const
{
    std::vector<std::string> texts;
    for (const Message& message : messages_)
        texts.push_back(message.text);
    return texts;
}

}  // namespace quillet::platform
