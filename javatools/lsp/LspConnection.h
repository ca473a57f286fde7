#pragma once

#include "javatools/lsp/LspFrameReader.h"

#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

// JSON-RPC 2.0 with one language server, over whatever carries its bytes:
// requests with their reply handlers, notifications both ways, and the
// server's own requests answered (configuration with nulls, progress and
// capability registration accepted, anything else MethodNotFound). The
// bytes read are handed to Feed; what is to be sent goes to the writer.
class LspConnection {
public:
    using Writer = std::function<void(const std::string& framed)>;
    // `error` is null for a result.
    using ReplyHandler = std::function<void(const nlohmann::json& result, const nlohmann::json* error)>;
    using NotificationHandler = std::function<void(const std::string& method, const nlohmann::json& params)>;

    static constexpr int kMethodNotFound = -32601;

    explicit LspConnection(Writer writer) : writer_(std::move(writer)) {}

    void SetNotificationHandler(NotificationHandler handler) { onNotification_ = std::move(handler); }
    // What workspace/workspaceFolders is answered with.
    void SetWorkspaceFolders(nlohmann::json folders) { folders_ = std::move(folders); }

    // Sends a request; returns its id.
    int Request(const std::string& method, nlohmann::json params, ReplyHandler onReply);
    void Notify(const std::string& method, nlohmann::json params);
    // Forgets a request's handler and asks the server to drop it; a reply
    // that still comes is ignored.
    void Cancel(int id);
    bool IsWaiting(int id) const { return waiting_.count(id) != 0; }

    // Reads the bytes, dispatching every whole message. False when the
    // stream cannot be read on (not framed, not JSON): Error() says why,
    // and the connection takes no more bytes until Reset.
    bool Feed(std::string_view bytes);
    const std::string& Error() const { return error_; }
    // A new server: no request is waiting, nothing is buffered.
    void Reset();

    static std::string Dump(const nlohmann::json& message);

private:
    void Dispatch(const nlohmann::json& message);
    void Answer(const nlohmann::json& id, const std::string& method, const nlohmann::json& params);
    void Send(const nlohmann::json& message);

    Writer writer_;
    NotificationHandler onNotification_;
    nlohmann::json folders_;
    LspFrameReader reader_;
    std::map<int, ReplyHandler> waiting_;
    int nextId_ = 1;
    unsigned generation_ = 0;  // counts resets, so a handler's reset ends a Feed
    std::string error_;
};
