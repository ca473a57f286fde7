#pragma once

#include "javatools/lsp/LspBackoff.h"
#include "javatools/lsp/LspConnection.h"
#include "javatools/lsp/LspDocument.h"
#include "javatools/lsp/LspServerProcess.h"
#include "javatools/lsp/LspTypes.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

// One language server for one workspace folder, driven from the caller's
// event loop and clock; nothing here blocks or starts a thread.
//
// The caller watches ReadFds() for reading and WriteFd() (when not -1) for
// writing and calls OnReadable / OnWritable; the watch handler says when
// those descriptors changed. It calls OnTimer once the clock has reached
// NextDeadline(). Everything the server says arrives through the handlers,
// on those calls; handlers may call the client but must not destroy it.
//
// The server is started with Start, initialized, and started again when it
// fails to start, ends, or writes what is not a language server message:
// after 1 s, then 2, 4 ... up to 60 s, the first failure of a run told
// through the status handler. Open documents are opened again on the new
// server. Stop ends it politely (shutdown, exit), then with SIGTERM and
// SIGKILL.
//
// Requests take the editor's positions (line, byte column of the current
// text) and call their handler only with a result for the document as it
// still is: a newer request of the same kind for the same document cancels
// the older one, and a reply for an older version is dropped.
class LspClient {
public:
    enum class State { Stopped, Starting, Running, Waiting, ShuttingDown };

    struct Settings {
        std::string name;                  // for messages: "Java (jdtls)"
        std::vector<std::string> command;  // program and arguments
        std::string rootPath;              // the workspace folder, absolute
        std::function<std::int64_t()> clock;  // milliseconds, steady
    };

    // Texts larger than this are not sent to the server.
    static constexpr std::size_t kLargestText = std::size_t{10} << 20;
    // How long Stop waits for the server to end before SIGTERM, and again
    // before SIGKILL.
    static constexpr std::int64_t kStopGraceMs = 2000;

    // `message` is empty for ordinary changes; otherwise it is a problem to
    // show the user (each one once).
    using StatusHandler = std::function<void(State state, const std::string& message)>;
    using DiagnosticsHandler = std::function<void(const LspDiagnostics& diagnostics)>;
    using WatchHandler = std::function<void()>;
    // window/showMessage: type 1 error, 2 warning, 3 info, 4 log.
    using ServerMessageHandler = std::function<void(int type, const std::string& text)>;
    template <typename Result>
    using Reply = std::function<void(const Result& result, int version)>;

    explicit LspClient(Settings settings);
    ~LspClient();
    LspClient(const LspClient&) = delete;
    LspClient& operator=(const LspClient&) = delete;

    void SetStatusHandler(StatusHandler handler) { onStatus_ = std::move(handler); }
    void SetDiagnosticsHandler(DiagnosticsHandler handler) { onDiagnostics_ = std::move(handler); }
    void SetWatchHandler(WatchHandler handler) { onWatch_ = std::move(handler); }
    void SetServerMessageHandler(ServerMessageHandler handler) { onServerMessage_ = std::move(handler); }

    void Start();
    void Stop();
    State GetState() const { return state_; }
    const LspServerCapabilities& Capabilities() const { return capabilities_; }
    // How the last server ended and what it wrote to standard error last.
    const std::string& ErrorTail() const { return process_.ErrorTail(); }

    // The event loop's side.
    std::vector<int> ReadFds() const;
    int WriteFd() const;
    void OnReadable();
    void OnWritable();
    std::int64_t NextDeadline() const;  // -1: none
    void OnTimer();

    // Documents, by URI; edits in the editor's lines and byte columns.
    void OpenDocument(const std::string& uri, const std::string& languageId, std::string text);
    void ChangeDocument(const std::string& uri, int startLine, int startColumn, int endLine, int endColumn,
                        const std::string& text);
    void ReplaceDocument(const std::string& uri, std::string text);
    void SaveDocument(const std::string& uri);
    void CloseDocument(const std::string& uri);
    const LspDocument* Document(const std::string& uri) const;

    // Requests; false when none was sent (no server running, the document
    // not open or not sent, the server does not offer it).
    bool Completion(const std::string& uri, int line, int column, Reply<LspCompletionList> onReply);
    bool ResolveCompletion(const std::string& uri, const LspCompletionItem& item, Reply<LspCompletionItem> onReply);
    bool SignatureHelp(const std::string& uri, int line, int column, Reply<LspSignatureHelp> onReply);
    bool Hover(const std::string& uri, int line, int column, Reply<LspHover> onReply);
    bool Definition(const std::string& uri, int line, int column, Reply<std::vector<LspLocation>> onReply);
    bool References(const std::string& uri, int line, int column, bool includeDeclaration,
                    Reply<std::vector<LspLocation>> onReply);

private:
    using ReadResult = std::function<void(const nlohmann::json& result)>;

    void Launch();
    void Initialize();
    void Failed(const std::string& why);
    void Ended();
    void SetState(State state, const std::string& message = {});
    void Notified(const std::string& method, const nlohmann::json& params);
    void SendOpen(const LspDocument& document);
    void TooLarge(const std::string& uri);
    bool Ask(const char* kind, const std::string& uri, const std::string& method, nlohmann::json params,
             ReadResult read);
    nlohmann::json PositionParams(const LspDocument& document, int line, int column) const;
    void Watch();
    std::int64_t Now() const { return settings_.clock(); }

    Settings settings_;
    State state_ = State::Stopped;
    LspServerProcess process_;
    LspConnection connection_;
    LspBackoff backoff_;
    LspServerCapabilities capabilities_;
    std::map<std::string, LspDocument> documents_;
    std::set<std::string> tooLarge_;
    // The request waiting for each kind and document; the token tells a
    // request from a later one that replaced it.
    struct Waiting {
        int id = 0;
        std::uint64_t token = 0;
    };
    std::map<std::pair<std::string, std::string>, Waiting> latest_;
    std::uint64_t nextToken_ = 0;
    std::int64_t restartAt_ = -1;
    std::int64_t termAt_ = -1;
    std::int64_t killAt_ = -1;
    std::int64_t reapAt_ = -1;
    StatusHandler onStatus_;
    DiagnosticsHandler onDiagnostics_;
    WatchHandler onWatch_;
    ServerMessageHandler onServerMessage_;
    std::vector<int> watched_;
    int watchedWrite_ = -1;
};
