// The language server client against a scripted server (a Python program
// speaking the protocol): documents kept in step through random edits in
// UTF-8 and UTF-16, replies out of order and late ones for old versions
// dropped, messages trickled a byte at a time, servers that crash or write
// garbage started again after the back-off of an injected clock, and
// servers that will not stop killed.
#include "javatools/lsp/LspClient.h"
#include "javatools/lsp/LspUri.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <functional>
#include <poll.h>
#include <random>
#include <string>
#include <vector>

using nlohmann::json;

namespace {

const char kPython[] = "/usr/bin/python3";
const std::string kUri = "file:///work/A.java";

class LspClientTest : public testing::Test {
protected:
    std::vector<std::string> Peer(const std::string& mode) const
    {
        return {kPython, QUILLET_LSP_PEER, mode, temp.File("state")};
    }

    void Make(std::vector<std::string> command)
    {
        LspClient::Settings settings;
        settings.name = "\"peer\"";
        settings.command = std::move(command);
        settings.rootPath = temp.Path().string();
        settings.clock = [this] { return now; };
        client = std::make_unique<LspClient>(settings);
        client->SetStatusHandler([this](LspClient::State state, const std::string& message) {
            states.push_back(state);
            if (!message.empty())
                messages.push_back(message);
        });
        client->SetDiagnosticsHandler([this](const LspDiagnostics& d) { diagnostics.push_back(d); });
        client->SetServerMessageHandler([this](int type, const std::string& text) {
            serverMessages.push_back(std::to_string(type) + " " + text);
        });
    }

    // Runs the client's side of the event loop until `done` or five seconds
    // of real time; `tick` advances the injected clock each turn.
    bool Pump(const std::function<bool()>& done, std::int64_t tick = 0)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            std::vector<pollfd> fds;
            for (const int fd : client->ReadFds())
                fds.push_back({fd, POLLIN, 0});
            if (client->WriteFd() >= 0)
                fds.push_back({client->WriteFd(), POLLOUT, 0});
            ::poll(fds.data(), fds.size(), 10);
            for (const pollfd& fd : fds) {
                if (fd.revents & POLLOUT)
                    client->OnWritable();
                else if (fd.revents != 0)
                    client->OnReadable();
            }
            now += tick;
            if (client->NextDeadline() >= 0 && now >= client->NextDeadline())
                client->OnTimer();
        }
        return true;
    }

    bool Running() { return Pump([&] { return client->GetState() == LspClient::State::Running; }); }

    // The server's own state, asked through hover.
    json PeerState()
    {
        json state;
        EXPECT_TRUE(client->Hover(kUri, 0, 0, [&](const LspHover& hover, int) { state = json::parse(hover.contents); }));
        EXPECT_TRUE(Pump([&] { return !state.is_null(); }));
        return state;
    }

    quillet::test::TempDir temp;
    std::int64_t now = 1000000;
    std::unique_ptr<LspClient> client;
    std::vector<LspClient::State> states;
    std::vector<std::string> messages;
    std::vector<LspDiagnostics> diagnostics;
    std::vector<std::string> serverMessages;
};

// Replaces the editor's lone bytes by what the server reads for them.
std::string AsServerReads(const std::string& text)
{
    std::string out;
    for (const char c : text)
        out += c == '\xFF' ? std::string("\xEF\xBF\xBD") : std::string(1, c);
    return out;
}

TEST_F(LspClientTest, KeepsTheServerInStepAndReadsEveryResult)
{
    Make(Peer("normal"));
    client->OpenDocument(kUri, "java", "class A {\n  // \xC3\xA9t\xC3\xA9 \xF0\x9D\x84\x9E \xFF\n}\n");
    client->Start();
    ASSERT_TRUE(Running());
    EXPECT_EQ(client->Capabilities().textDocumentSync, 2);
    EXPECT_EQ(client->Capabilities().completionTriggers, std::vector<std::string>{"."});

    // Random edits at character boundaries, with characters of every width.
    std::mt19937 random(7);
    const std::vector<std::string> pieces = {"a", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9D\x84\x9E", "\n", "", "xy\nz"};
    for (int edit = 0; edit < 150; ++edit) {
        const LspDocument& document = *client->Document(kUri);
        int lines = 1;
        for (const char c : document.Text())
            lines += c == '\n';
        const auto point = [&](int& line, int& column) {
            line = static_cast<int>(random() % lines);
            const std::string_view text = document.Line(line);
            // A column at a character start: through the UTF-16 count and back.
            column = document.ToByteColumn(line, static_cast<int>(random() % (text.size() + 1)));
        };
        int startLine, startColumn, endLine, endColumn;
        point(startLine, startColumn);
        point(endLine, endColumn);
        if (std::make_pair(endLine, endColumn) < std::make_pair(startLine, startColumn)) {
            std::swap(startLine, endLine);
            std::swap(startColumn, endColumn);
        }
        if (random() % 3 == 0)
            endLine = startLine, endColumn = startColumn;
        client->ChangeDocument(kUri, startLine, startColumn, endLine, endColumn, pieces[random() % pieces.size()]);
    }
    PeerState();  // the server's requests came before its answer, so they are answered now
    json state = PeerState();
    EXPECT_EQ(state["texts"][kUri].get<std::string>(), AsServerReads(client->Document(kUri)->Text()));
    EXPECT_EQ(state["versions"][kUri], 151);
    // The server's own requests were answered.
    EXPECT_EQ(state["answers"]["workspace/configuration"], json::array({nullptr, nullptr}));
    EXPECT_TRUE(state["answers"]["window/workDoneProgress/create"].is_null());
    EXPECT_TRUE(state["answers"]["client/registerCapability"].is_null());
    EXPECT_EQ(state["answers"]["workspace/workspaceFolders"][0]["uri"], LspUri::FromPath(temp.Path().string()));
    EXPECT_EQ(state["answers"]["custom/unknown"]["code"], -32601);
    EXPECT_EQ(serverMessages, std::vector<std::string>{"2 indexing"});
    ASSERT_FALSE(diagnostics.empty());
    EXPECT_EQ(diagnostics.back().version, 151);
    EXPECT_EQ(diagnostics.back().diagnostics.at(0).message, "v151");
    EXPECT_EQ(diagnostics.back().diagnostics.at(0).severity, 2);

    // Completion at a byte column after a wide character: the server is
    // asked in UTF-16 units and answers for the current version.
    client->ReplaceDocument(kUri, "\xF0\x9D\x84\x9E.x\n");
    LspCompletionList list;
    int listVersion = 0;
    ASSERT_TRUE(client->Completion(kUri, 0, 5, [&](const LspCompletionList& l, int version) {
        list = l;
        listVersion = version;
    }));
    ASSERT_TRUE(Pump([&] { return listVersion != 0; }));
    EXPECT_EQ(listVersion, 152);
    ASSERT_EQ(list.items.size(), 1u);
    EXPECT_EQ(list.items[0].label, "v152");
    EXPECT_EQ(list.items[0].detail, "at 0:3");
    EXPECT_EQ(list.items[0].textEdit.range.start.character, 3);
    EXPECT_EQ(client->Document(kUri)->ToByteColumn(0, 3), 5);
    ASSERT_EQ(list.items[0].additionalTextEdits.size(), 1u);
    EXPECT_EQ(list.items[0].additionalTextEdits[0].newText, "import x;\n");

    LspCompletionItem resolved;
    ASSERT_TRUE(client->ResolveCompletion(kUri, list.items[0], [&](const LspCompletionItem& i, int) { resolved = i; }));
    LspSignatureHelp help;
    ASSERT_TRUE(client->SignatureHelp(kUri, 0, 5, [&](const LspSignatureHelp& h, int) { help = h; }));
    std::vector<LspLocation> definition, references;
    ASSERT_TRUE(client->Definition(kUri, 0, 5, [&](const std::vector<LspLocation>& l, int) { definition = l; }));
    ASSERT_TRUE(client->References(kUri, 0, 5, true, [&](const std::vector<LspLocation>& l, int) { references = l; }));
    ASSERT_TRUE(Pump([&] { return !references.empty() && !definition.empty() && !help.signatures.empty() &&
                                  !resolved.label.empty(); }));
    EXPECT_EQ(resolved.detail, "resolved");
    EXPECT_EQ(resolved.documentation, "**doc**");
    EXPECT_EQ(resolved.additionalTextEdits.size(), 1u);
    ASSERT_EQ(help.signatures[0].parameters.size(), 2u);
    EXPECT_EQ(help.signatures[0].parameters[0].label, "int a");
    EXPECT_EQ(help.signatures[0].parameters[1].label, "String b");
    EXPECT_EQ(help.activeParameter, 1);
    EXPECT_EQ(definition[0].range.start, (LspPosition{0, 3}));
    ASSERT_EQ(references.size(), 1u);  // the second has no range
    EXPECT_EQ(references[0].uri, "file:///b.java");
    EXPECT_EQ(references[0].range.start, (LspPosition{2, 4}));

    client->SaveDocument(kUri);
    json saved = PeerState();
    EXPECT_EQ(saved["answers"]["didSave"], true);
    client->CloseDocument(kUri);
    EXPECT_FALSE(client->Hover(kUri, 0, 0, [](const LspHover&, int) {}));

    client->Stop();
    ASSERT_TRUE(Pump([&] { return client->GetState() == LspClient::State::Stopped; }, 1));
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(client->ReadFds().empty());
}

TEST_F(LspClientTest, LateAndOutOfOrderRepliesForOldVersionsAreDropped)
{
    Make(Peer("order"));
    client->OpenDocument(kUri, "java", "a.\n");
    client->Start();
    ASSERT_TRUE(Running());
    std::vector<std::string> delivered;
    const auto keep = [&](const LspCompletionList& list, int version) {
        delivered.push_back(list.items.at(0).label + "@" + std::to_string(version));
    };
    ASSERT_TRUE(client->Completion(kUri, 0, 2, keep));  // replaced by the next: cancelled
    ASSERT_TRUE(client->Completion(kUri, 0, 2, keep));  // replaced after the edit
    bool definitionCame = false;
    ASSERT_TRUE(client->Definition(kUri, 0, 0, [&](const std::vector<LspLocation>&, int) { definitionCame = true; }));
    client->ChangeDocument(kUri, 0, 2, 0, 2, "b");
    ASSERT_TRUE(client->Completion(kUri, 0, 3, keep));
    // The server now answers all, newest first, the definition for version 1 last.
    bool helped = false;
    ASSERT_TRUE(client->SignatureHelp(kUri, 0, 3, [&](const LspSignatureHelp&, int) { helped = true; }));
    ASSERT_TRUE(Pump([&] { return helped; }));
    EXPECT_EQ(delivered, std::vector<std::string>{"v2@2"});
    EXPECT_FALSE(definitionCame);
    json state = PeerState();
    EXPECT_EQ(state["cancelled"].size(), 2u);
    EXPECT_TRUE(messages.empty());
}

TEST_F(LspClientTest, ReadsMessagesTrickledAByteAtATime)
{
    Make(Peer("trickle"));
    client->OpenDocument(kUri, "java", "x\n");
    client->Start();
    ASSERT_TRUE(Running());
    json state = PeerState();
    EXPECT_EQ(state["opens"][kUri], 1);
    LspCompletionList list;
    ASSERT_TRUE(client->Completion(kUri, 0, 1, [&](const LspCompletionList& l, int) { list = l; }));
    ASSERT_TRUE(Pump([&] { return !list.items.empty(); }));
    EXPECT_EQ(list.items[0].label, "v1");
}

struct Misbehaviour {
    const char* mode;
    const char* told;
};

class LspRestartTest : public LspClientTest, public testing::WithParamInterface<Misbehaviour> {};

TEST_P(LspRestartTest, IsToldOnceAndStartedAgainAfterTheBackoffWithTheDocumentsOpen)
{
    Make(Peer(GetParam().mode));
    client->OpenDocument(kUri, "java", "int x;\n");
    client->Start();
    ASSERT_TRUE(Running());
    bool delivered = false;
    ASSERT_TRUE(client->Completion(kUri, 0, 0, [&](const LspCompletionList&, int) { delivered = true; }));
    ASSERT_TRUE(Pump([&] { return client->GetState() == LspClient::State::Waiting; }));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(GetParam().told), std::string::npos) << messages[0];
    EXPECT_NE(messages[0].find("started again in 1 s"), std::string::npos) << messages[0];
    EXPECT_EQ(client->NextDeadline(), now + 1000);
    EXPECT_TRUE(client->ReadFds().empty());
    // Typing goes on while the server is away.
    client->ChangeDocument(kUri, 0, 0, 0, 0, "long ");
    EXPECT_FALSE(client->Completion(kUri, 0, 0, [&](const LspCompletionList&, int) { delivered = true; }));

    now += 999;
    client->OnTimer();
    EXPECT_EQ(client->GetState(), LspClient::State::Waiting);
    now += 1;
    client->OnTimer();
    ASSERT_TRUE(Running());
    json state = PeerState();
    EXPECT_EQ(state["opens"][kUri], 1);
    EXPECT_EQ(state["texts"][kUri], "long int x;\n");
    LspCompletionList list;
    ASSERT_TRUE(client->Completion(kUri, 0, 0, [&](const LspCompletionList& l, int) { list = l; }));
    ASSERT_TRUE(Pump([&] { return !list.items.empty(); }));
    EXPECT_FALSE(delivered);
    EXPECT_EQ(messages.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Servers, LspRestartTest,
    testing::Values(Misbehaviour{"crash", "stopped unexpectedly (exit code 3)"},
                    Misbehaviour{"garbage", "not a language server message (a message length that is not a number)"},
                    Misbehaviour{"huge", "more than the 64 MB allowed"},
                    Misbehaviour{"badjson", "(a message that is not JSON)"}),
    [](const testing::TestParamInfo<Misbehaviour>& info) { return std::string(info.param.mode); });

TEST_F(LspClientTest, AServerThatKeepsFailingIsToldOnceAndTriedLessOften)
{
    Make({"/bin/sh", "-c", "echo 'cannot find the workspace' >&2; exit 5"});
    client->Start();
    std::vector<std::int64_t> delays;
    for (int failure = 0; failure < 8; ++failure) {
        ASSERT_TRUE(Pump([&] { return client->GetState() == LspClient::State::Waiting; }));
        delays.push_back(client->NextDeadline() - now);
        now = client->NextDeadline();
        client->OnTimer();
    }
    EXPECT_EQ(delays, (std::vector<std::int64_t>{1000, 2000, 4000, 8000, 16000, 32000, 60000, 60000}));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("stopped unexpectedly (exit code 5)"), std::string::npos) << messages[0];
    EXPECT_NE(messages[0].find("cannot find the workspace"), std::string::npos) << messages[0];
    client->Stop();
    EXPECT_EQ(client->GetState(), LspClient::State::Stopped);
    EXPECT_EQ(client->NextDeadline(), -1);

    Make({temp.File("no-such-server")});
    client->Start();
    EXPECT_EQ(client->GetState(), LspClient::State::Waiting);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[1].find("could not be started: No such file or directory"), std::string::npos) << messages[1];
}

TEST_F(LspClientTest, AServerThatWillNotStopIsTerminatedThenKilled)
{
    Make(Peer("stubborn"));
    client->Start();
    ASSERT_TRUE(Running());
    client->Stop();
    EXPECT_EQ(client->GetState(), LspClient::State::ShuttingDown);
    EXPECT_EQ(client->NextDeadline(), now + LspClient::kStopGraceMs);
    now += LspClient::kStopGraceMs;
    client->OnTimer();  // SIGTERM, which it ignores
    EXPECT_EQ(client->GetState(), LspClient::State::ShuttingDown);
    now += LspClient::kStopGraceMs;
    client->OnTimer();
    EXPECT_EQ(client->GetState(), LspClient::State::Stopped);
    EXPECT_TRUE(client->ReadFds().empty());
    EXPECT_TRUE(messages.empty());
}

TEST_F(LspClientTest, TextsOverTenMegabytesAreNotSentAndToldOnce)
{
    Make(Peer("normal"));
    client->Start();
    ASSERT_TRUE(Running());
    const std::string big(LspClient::kLargestText + 1, 'x');
    client->OpenDocument("file:///big.txt", "plaintext", big);
    client->OpenDocument("file:///big.txt", "plaintext", big);
    EXPECT_EQ(client->Document("file:///big.txt"), nullptr);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("/big.txt is larger than 10 MB"), std::string::npos) << messages[0];
    // A text that grows past the limit is closed on the server.
    client->OpenDocument(kUri, "java", std::string(LspClient::kLargestText, 'y'));
    client->ChangeDocument(kUri, 0, 0, 0, 0, "z");
    EXPECT_EQ(client->Document(kUri), nullptr);
    EXPECT_EQ(messages.size(), 2u);
}

}  // namespace
