#include "javatools/lsp/LspClient.h"

#include "javatools/lsp/LspResults.h"
#include "javatools/lsp/LspUri.h"

#include <chrono>
#include <csignal>
#include <unistd.h>

using nlohmann::json;

namespace {

// How often an ending server is looked for once its output has closed.
constexpr std::int64_t kReapPollMs = 20;

json ClientCapabilities()
{
    const json formats = json::array({"markdown", "plaintext"});
    return {
        {"general", {{"positionEncodings", json::array({"utf-16"})}}},
        {"window", {{"workDoneProgress", true}}},
        {"workspace", {{"configuration", true}, {"workspaceFolders", true}, {"applyEdit", false}}},
        {"textDocument",
         {{"synchronization", {{"dynamicRegistration", false}, {"didSave", true}, {"willSave", false}}},
          {"completion",
           {{"completionItem",
             {{"snippetSupport", false},
              {"documentationFormat", formats},
              {"insertReplaceSupport", false},
              {"resolveSupport", {{"properties", json::array({"documentation", "detail", "additionalTextEdits"})}}}}},
            {"contextSupport", false}}},
          {"hover", {{"contentFormat", formats}}},
          {"signatureHelp",
           {{"signatureInformation",
             {{"documentationFormat", formats},
              {"parameterInformation", {{"labelOffsetSupport", true}}},
              {"activeParameterSupport", true}}}}},
          {"definition", {{"linkSupport", true}}},
          {"references", json::object()},
          {"publishDiagnostics", {{"relatedInformation", false}, {"versionSupport", true}}}}},
    };
}

// The last few lines the server wrote to standard error, for a message.
std::string LastLines(const std::string& tail, int count)
{
    std::size_t end = tail.find_last_not_of("\r\n \t");
    if (end == std::string::npos)
        return {};
    std::size_t start = end + 1;
    for (int i = 0; i < count && start > 0; ++i) {
        const std::size_t newline = tail.rfind('\n', start - 1);
        start = newline == std::string::npos ? 0 : newline;
        if (start == 0)
            break;
    }
    std::string lines = tail.substr(start, end + 1 - start);
    if (!lines.empty() && lines.front() == '\n')
        lines.erase(0, 1);
    return lines;
}

}  // namespace

LspClient::LspClient(Settings settings)
    : settings_(std::move(settings)), connection_([this](const std::string& framed) { process_.Write(framed); })
{
    if (!settings_.clock) {
        settings_.clock = [] {
            return std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now().time_since_epoch())
                .count();
        };
    }
    connection_.SetNotificationHandler(
        [this](const std::string& method, const json& params) { Notified(method, params); });
    const std::string rootUri = LspUri::FromPath(settings_.rootPath);
    const std::size_t slash = settings_.rootPath.find_last_of('/');
    connection_.SetWorkspaceFolders(json::array(
        {{{"uri", rootUri},
          {"name", slash == std::string::npos ? settings_.rootPath : settings_.rootPath.substr(slash + 1)}}}));
}

LspClient::~LspClient()
{
    process_.Kill();
}

void LspClient::SetState(State state, const std::string& message)
{
    const bool changed = state != state_;
    state_ = state;
    if ((changed || !message.empty()) && onStatus_)
        onStatus_(state, message);
}

void LspClient::Watch()
{
    const std::vector<int> reads = ReadFds();
    const int write = WriteFd();
    if (reads == watched_ && write == watchedWrite_)
        return;
    watched_ = reads;
    watchedWrite_ = write;
    if (onWatch_)
        onWatch_();
}

std::vector<int> LspClient::ReadFds() const
{
    std::vector<int> fds;
    if (process_.OutputFd() >= 0)
        fds.push_back(process_.OutputFd());
    if (process_.ErrorFd() >= 0)
        fds.push_back(process_.ErrorFd());
    return fds;
}

int LspClient::WriteFd() const
{
    return process_.WantsWrite() ? process_.InputFd() : -1;
}

void LspClient::Start()
{
    if (state_ != State::Stopped && state_ != State::Waiting)
        return;
    Launch();
}

void LspClient::Launch()
{
    restartAt_ = termAt_ = killAt_ = reapAt_ = -1;
    connection_.Reset();
    latest_.clear();
    capabilities_ = {};
    std::string error;
    if (!process_.Start(settings_.command, settings_.rootPath, error)) {
        Failed("could not be started: " + error);
        return;
    }
    SetState(State::Starting);
    Initialize();
    Watch();
}

void LspClient::Initialize()
{
    const std::string rootUri = LspUri::FromPath(settings_.rootPath);
    json params = {
        {"processId", static_cast<int>(::getpid())},
        {"clientInfo", {{"name", "Quillet"}}},
        {"rootUri", rootUri},
        {"rootPath", settings_.rootPath},
        {"capabilities", ClientCapabilities()},
        {"workspaceFolders", json::array({{{"uri", rootUri}, {"name", rootUri.substr(rootUri.find_last_of('/') + 1)}}})},
    };
    connection_.Request("initialize", std::move(params), [this](const json& result, const json* error) {
        if (state_ != State::Starting)
            return;
        if (error) {
            const std::string why = error->is_object() && error->contains("message") && (*error)["message"].is_string()
                                        ? (*error)["message"].get<std::string>()
                                        : std::string("no reason given");
            Failed("refused to start (" + why + ")");
            return;
        }
        if (result.is_object() && result.contains("capabilities"))
            capabilities_ = LspResults::ReadCapabilities(result["capabilities"]);
        connection_.Notify("initialized", json::object());
        backoff_.Started(Now());
        for (const auto& [uri, document] : documents_)
            SendOpen(document);
        SetState(State::Running);
    });
}

void LspClient::Failed(const std::string& why)
{
    process_.Kill();
    connection_.Reset();
    latest_.clear();
    capabilities_ = {};
    restartAt_ = termAt_ = killAt_ = reapAt_ = -1;
    if (state_ == State::ShuttingDown) {
        SetState(State::Stopped);
        Watch();
        return;
    }
    const std::int64_t delay = backoff_.Failed(Now());
    restartAt_ = Now() + delay;
    std::string message;
    if (backoff_.Failures() == 1) {
        message = "The language server " + settings_.name + " " + why + ". It is started again in " +
                  std::to_string(delay / 1000) + " s.";
        const std::string last = LastLines(process_.ErrorTail(), 3);
        if (!last.empty())
            message += "\n\nIt last wrote:\n" + last;
    }
    SetState(State::Waiting, message);
    Watch();
}

void LspClient::Ended()
{
    if (state_ == State::ShuttingDown) {
        if (process_.Reap()) {
            restartAt_ = termAt_ = killAt_ = reapAt_ = -1;
            SetState(State::Stopped);
        } else {
            reapAt_ = Now() + kReapPollMs;
        }
        return;
    }
    process_.Kill();
    Failed("stopped unexpectedly (" + (process_.ExitText().empty() ? "no status" : process_.ExitText()) + ")");
}

void LspClient::Stop()
{
    switch (state_) {
    case State::Stopped:
    case State::ShuttingDown:
        return;
    case State::Running:
        SetState(State::ShuttingDown);
        termAt_ = Now() + kStopGraceMs;
        killAt_ = Now() + 2 * kStopGraceMs;
        connection_.Request("shutdown", nullptr, [this](const json&, const json*) {
            connection_.Notify("exit", nullptr);
            Watch();
        });
        Watch();
        return;
    case State::Starting:
    case State::Waiting:
        process_.Kill();
        connection_.Reset();
        latest_.clear();
        restartAt_ = termAt_ = killAt_ = reapAt_ = -1;
        SetState(State::Stopped);
        Watch();
        return;
    }
}

void LspClient::OnReadable()
{
    if (!process_.IsRunning())
        return;
    process_.ReadErrors();
    std::string bytes;
    const bool open = process_.ReadOutput(bytes);
    if (!bytes.empty() && !connection_.Feed(bytes)) {
        Failed("wrote something that is not a language server message (" + connection_.Error() + ")");
        return;
    }
    if (!open && process_.IsRunning() && process_.OutputFd() < 0)
        Ended();
    Watch();
}

void LspClient::OnWritable()
{
    process_.OnWritable();
    Watch();
}

std::int64_t LspClient::NextDeadline() const
{
    std::int64_t next = -1;
    for (const std::int64_t at : {restartAt_, termAt_, killAt_, reapAt_})
        if (at >= 0 && (next < 0 || at < next))
            next = at;
    return next;
}

void LspClient::OnTimer()
{
    const std::int64_t now = Now();
    if (state_ == State::Waiting && restartAt_ >= 0 && now >= restartAt_) {
        Launch();
        return;
    }
    if (state_ != State::ShuttingDown)
        return;
    if (reapAt_ >= 0 && now >= reapAt_) {
        reapAt_ = -1;
        Ended();
        if (state_ != State::ShuttingDown)
            return;
    }
    if (killAt_ >= 0 && now >= killAt_) {
        process_.Kill();
        restartAt_ = termAt_ = killAt_ = reapAt_ = -1;
        SetState(State::Stopped);
    } else if (termAt_ >= 0 && now >= termAt_) {
        termAt_ = -1;
        process_.Signal(SIGTERM);
    }
    Watch();
}

void LspClient::Notified(const std::string& method, const json& params)
{
    if (method == "textDocument/publishDiagnostics" && onDiagnostics_) {
        const LspDiagnostics diagnostics = LspResults::ReadDiagnostics(params);
        if (!diagnostics.uri.empty())
            onDiagnostics_(diagnostics);
    } else if (method == "window/showMessage" && onServerMessage_ && params.is_object()) {
        const auto type = params.find("type");
        const auto text = params.find("message");
        if (type != params.end() && type->is_number_integer() && text != params.end() && text->is_string())
            onServerMessage_(type->get<int>(), text->get<std::string>());
    }
}

void LspClient::SendOpen(const LspDocument& document)
{
    connection_.Notify("textDocument/didOpen", {{"textDocument",
                                                 {{"uri", document.Uri()},
                                                  {"languageId", document.LanguageId()},
                                                  {"version", document.Version()},
                                                  {"text", document.Text()}}}});
}

void LspClient::TooLarge(const std::string& uri)
{
    if (!tooLarge_.insert(uri).second)
        return;
    const std::string path = LspUri::ToPath(uri);
    const std::string message = "The file " + (path.empty() ? uri : path) +
                                " is larger than 10 MB; the language server " + settings_.name +
                                " does not see it.";
    if (onStatus_)
        onStatus_(state_, message);
}

void LspClient::OpenDocument(const std::string& uri, const std::string& languageId, std::string text)
{
    if (text.size() > kLargestText) {
        if (documents_.count(uri) != 0)
            CloseDocument(uri);
        TooLarge(uri);
        return;
    }
    CloseDocument(uri);
    const auto placed = documents_.emplace(uri, LspDocument(uri, languageId, std::move(text)));
    if (state_ == State::Running)
        SendOpen(placed.first->second);
    Watch();
}

void LspClient::ChangeDocument(const std::string& uri, int startLine, int startColumn, int endLine, int endColumn,
                               const std::string& text)
{
    const auto found = documents_.find(uri);
    if (found == documents_.end())
        return;
    LspDocument& document = found->second;
    const LspRange range = document.Replace(startLine, startColumn, endLine, endColumn, text);
    if (document.Text().size() > kLargestText) {
        CloseDocument(uri);
        TooLarge(uri);
        return;
    }
    if (state_ != State::Running || capabilities_.textDocumentSync == 0)
        return;
    json change;
    if (capabilities_.textDocumentSync == 2)
        change = {{"range",
                   {{"start", {{"line", range.start.line}, {"character", range.start.character}}},
                    {"end", {{"line", range.end.line}, {"character", range.end.character}}}}},
                  {"text", text}};
    else
        change = {{"text", document.Text()}};
    connection_.Notify("textDocument/didChange",
                       {{"textDocument", {{"uri", uri}, {"version", document.Version()}}},
                        {"contentChanges", json::array({change})}});
    Watch();
}

void LspClient::ReplaceDocument(const std::string& uri, std::string text)
{
    const auto found = documents_.find(uri);
    if (found == documents_.end())
        return;
    if (text.size() > kLargestText) {
        CloseDocument(uri);
        TooLarge(uri);
        return;
    }
    found->second.SetText(std::move(text));
    if (state_ != State::Running || capabilities_.textDocumentSync == 0)
        return;
    connection_.Notify("textDocument/didChange",
                       {{"textDocument", {{"uri", uri}, {"version", found->second.Version()}}},
                        {"contentChanges", json::array({{{"text", found->second.Text()}}})}});
    Watch();
}

void LspClient::SaveDocument(const std::string& uri)
{
    const auto found = documents_.find(uri);
    if (found == documents_.end() || state_ != State::Running)
        return;
    json params = {{"textDocument", {{"uri", uri}}}};
    if (capabilities_.saveIncludesText)
        params["text"] = found->second.Text();
    connection_.Notify("textDocument/didSave", std::move(params));
    Watch();
}

void LspClient::CloseDocument(const std::string& uri)
{
    if (documents_.erase(uri) == 0) {
        tooLarge_.erase(uri);
        return;
    }
    for (auto it = latest_.begin(); it != latest_.end();) {
        if (it->first.second == uri) {
            connection_.Cancel(it->second.id);
            it = latest_.erase(it);
        } else {
            ++it;
        }
    }
    if (state_ == State::Running)
        connection_.Notify("textDocument/didClose", {{"textDocument", {{"uri", uri}}}});
    Watch();
}

const LspDocument* LspClient::Document(const std::string& uri) const
{
    const auto found = documents_.find(uri);
    return found == documents_.end() ? nullptr : &found->second;
}

json LspClient::PositionParams(const LspDocument& document, int line, int column) const
{
    return {{"textDocument", {{"uri", document.Uri()}}},
            {"position", {{"line", line}, {"character", document.ToUtf16(line, column)}}}};
}

bool LspClient::Ask(const char* kind, const std::string& uri, const std::string& method, json params,
                    ReadResult read)
{
    const LspDocument* document = Document(uri);
    if (state_ != State::Running || !document)
        return false;
    const auto key = std::make_pair(std::string(kind), uri);
    if (const auto older = latest_.find(key); older != latest_.end())
        connection_.Cancel(older->second.id);
    const std::uint64_t token = ++nextToken_;
    const int version = document->Version();
    const int id = connection_.Request(
        method, std::move(params), [this, key, token, version, read](const json& result, const json* error) {
            const auto waiting = latest_.find(key);
            if (waiting == latest_.end() || waiting->second.token != token)
                return;
            latest_.erase(waiting);
            const LspDocument* now = Document(key.second);
            if (error || !now || now->Version() != version)
                return;
            read(result);
        });
    latest_[key] = Waiting{id, token};
    Watch();
    return true;
}

bool LspClient::Completion(const std::string& uri, int line, int column, Reply<LspCompletionList> onReply)
{
    const LspDocument* document = Document(uri);
    if (!document || !capabilities_.completion)
        return false;
    const int version = document->Version();
    return Ask("completion", uri, "textDocument/completion", PositionParams(*document, line, column),
               [onReply, version](const json& result) { onReply(LspResults::ReadCompletion(result), version); });
}

bool LspClient::ResolveCompletion(const std::string& uri, const LspCompletionItem& item,
                                  Reply<LspCompletionItem> onReply)
{
    const LspDocument* document = Document(uri);
    if (!document || !capabilities_.completionResolve)
        return false;
    json params = json::parse(item.raw, nullptr, false);
    if (params.is_discarded() || !params.is_object())
        return false;
    const int version = document->Version();
    return Ask("resolve", uri, "completionItem/resolve", std::move(params), [onReply, version](const json& result) {
        onReply(LspResults::ReadCompletionItem(result), version);
    });
}

bool LspClient::SignatureHelp(const std::string& uri, int line, int column, Reply<LspSignatureHelp> onReply)
{
    const LspDocument* document = Document(uri);
    if (!document || !capabilities_.signatureHelp)
        return false;
    const int version = document->Version();
    return Ask("signatureHelp", uri, "textDocument/signatureHelp", PositionParams(*document, line, column),
               [onReply, version](const json& result) { onReply(LspResults::ReadSignatureHelp(result), version); });
}

bool LspClient::Hover(const std::string& uri, int line, int column, Reply<LspHover> onReply)
{
    const LspDocument* document = Document(uri);
    if (!document || !capabilities_.hover)
        return false;
    const int version = document->Version();
    return Ask("hover", uri, "textDocument/hover", PositionParams(*document, line, column),
               [onReply, version](const json& result) { onReply(LspResults::ReadHover(result), version); });
}

bool LspClient::Definition(const std::string& uri, int line, int column, Reply<std::vector<LspLocation>> onReply)
{
    const LspDocument* document = Document(uri);
    if (!document || !capabilities_.definition)
        return false;
    const int version = document->Version();
    return Ask("definition", uri, "textDocument/definition", PositionParams(*document, line, column),
               [onReply, version](const json& result) { onReply(LspResults::ReadLocations(result), version); });
}

bool LspClient::References(const std::string& uri, int line, int column, bool includeDeclaration,
                           Reply<std::vector<LspLocation>> onReply)
{
    const LspDocument* document = Document(uri);
    if (!document || !capabilities_.references)
        return false;
    const int version = document->Version();
    json params = PositionParams(*document, line, column);
    params["context"] = {{"includeDeclaration", includeDeclaration}};
    return Ask("references", uri, "textDocument/references", std::move(params),
               [onReply, version](const json& result) { onReply(LspResults::ReadLocations(result), version); });
}
