#include "javatools/lsp/LspConnection.h"

using nlohmann::json;

std::string LspConnection::Dump(const json& message)
{
    // Texts with bytes that are not UTF-8 still go out, with U+FFFD for them.
    return message.dump(-1, ' ', false, json::error_handler_t::replace);
}

void LspConnection::Send(const json& message)
{
    writer_(LspFrameReader::Frame(Dump(message)));
}

int LspConnection::Request(const std::string& method, json params, ReplyHandler onReply)
{
    const int id = nextId_++;
    waiting_[id] = std::move(onReply);
    json message = {{"jsonrpc", "2.0"}, {"id", id}, {"method", method}};
    if (!params.is_null())
        message["params"] = std::move(params);
    Send(message);
    return id;
}

void LspConnection::Notify(const std::string& method, json params)
{
    json message = {{"jsonrpc", "2.0"}, {"method", method}};
    if (!params.is_null())
        message["params"] = std::move(params);
    Send(message);
}

void LspConnection::Cancel(int id)
{
    if (waiting_.erase(id) != 0)
        Notify("$/cancelRequest", {{"id", id}});
}

void LspConnection::Reset()
{
    ++generation_;
    waiting_.clear();
    reader_ = LspFrameReader();
    error_.clear();
}

bool LspConnection::Feed(std::string_view bytes)
{
    if (!error_.empty())
        return false;
    reader_.Append(bytes);
    const unsigned generation = generation_;
    std::string body;
    while (generation == generation_ && reader_.Next(body)) {
        const json message = json::parse(body, nullptr, false);
        if (message.is_discarded()) {
            error_ = "a message that is not JSON";
            return false;
        }
        Dispatch(message);
    }
    if (generation == generation_ && reader_.Failed()) {
        error_ = reader_.Error();
        return false;
    }
    return true;
}

void LspConnection::Dispatch(const json& message)
{
    if (!message.is_object())
        return;
    const auto id = message.find("id");
    const auto method = message.find("method");
    const auto params = message.find("params");
    const json noParams;
    if (method != message.end() && method->is_string()) {
        const json& given = params == message.end() ? noParams : *params;
        if (id != message.end() && (id->is_number_integer() || id->is_string()))
            Answer(*id, method->get<std::string>(), given);
        else if (id == message.end() && onNotification_)
            onNotification_(method->get<std::string>(), given);
        return;
    }
    if (id == message.end() || !id->is_number_integer())
        return;
    const auto waiting = waiting_.find(id->get<int>());
    if (waiting == waiting_.end())
        return;  // cancelled, or never asked
    const ReplyHandler handler = std::move(waiting->second);
    waiting_.erase(waiting);
    const auto error = message.find("error");
    const auto result = message.find("result");
    const json none;
    if (error != message.end() && !error->is_null())
        handler(none, &*error);
    else
        handler(result == message.end() ? none : *result, nullptr);
}

void LspConnection::Answer(const json& id, const std::string& method, const json& params)
{
    json reply = {{"jsonrpc", "2.0"}, {"id", id}};
    if (method == "workspace/configuration") {
        // No settings of ours: the server's defaults, one per item asked.
        json values = json::array();
        const auto items = params.is_object() ? params.find("items") : params.end();
        if (params.is_object() && items != params.end() && items->is_array())
            for (std::size_t i = 0; i < items->size(); ++i)
                values.push_back(nullptr);
        reply["result"] = values;
    } else if (method == "workspace/workspaceFolders") {
        reply["result"] = folders_;
    } else if (method == "window/workDoneProgress/create" || method == "client/registerCapability" ||
               method == "client/unregisterCapability" || method == "window/showMessageRequest") {
        reply["result"] = nullptr;
    } else if (method == "workspace/applyEdit") {
        reply["result"] = {{"applied", false}, {"failureReason", "edits are not applied from the server"}};
    } else {
        reply["error"] = {{"code", kMethodNotFound}, {"message", "unknown method " + method}};
    }
    Send(reply);
}
