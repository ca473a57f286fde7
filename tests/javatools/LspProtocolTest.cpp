// The language server client's text-only parts: messages cut out of the
// byte stream however it arrives, damaged streams refused, columns between
// UTF-8 bytes and UTF-16 units, results of every shape read, back-off.
#include "javatools/lsp/LspBackoff.h"
#include "javatools/lsp/LspConnection.h"
#include "javatools/lsp/LspDocument.h"
#include "javatools/lsp/LspFrameReader.h"
#include "javatools/lsp/LspResults.h"
#include "javatools/lsp/LspUri.h"
#include "javatools/lsp/LspUtf16.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <random>
#include <string>
#include <vector>

using nlohmann::json;

namespace {

std::string Framed(const std::vector<std::string>& bodies)
{
    std::string bytes;
    for (const std::string& body : bodies)
        bytes += LspFrameReader::Frame(body);
    return bytes;
}

TEST(LspFrameReader, CutsMessagesSplitAtEveryByte)
{
    const std::vector<std::string> bodies = {R"({"a":1})", "", std::string(300, 'x'), "{\"\xC3\xA9\":2}"};
    std::string bytes = Framed(bodies);
    // Headers in other spellings and with a Content-Type are read too.
    bytes += "content-length:  3\r\nContent-Type: application/vscode-jsonrpc; charset=utf-8\r\n\r\n[1]";
    std::vector<std::string> expected = bodies;
    expected.push_back("[1]");
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        LspFrameReader reader;
        std::vector<std::string> read;
        std::string body;
        reader.Append(std::string_view(bytes).substr(0, cut));
        while (reader.Next(body))
            read.push_back(body);
        reader.Append(std::string_view(bytes).substr(cut));
        while (reader.Next(body))
            read.push_back(body);
        ASSERT_EQ(read, expected) << "cut at " << cut;
        EXPECT_FALSE(reader.Failed());
        EXPECT_EQ(reader.Pending(), 0u);
    }
}

TEST(LspFrameReader, RefusesDamagedHeadersAndOversizedMessages)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Content-Length: twelve\r\n\r\n{}", "not a number"},
        {"Content-Length: -3\r\n\r\n{}", "not a number"},
        {"Content-Type: text/plain\r\n\r\n{}", "without a length"},
        {"garbage line\r\n\r\n", "not \"Name: value\""},
        {"Content-Length: 67108865\r\n\r\n{", "more than the 64 MB"},
        {std::string(LspFrameReader::kHeaderLimit + 1, 'H'), "without an end"},
    };
    for (const auto& [bytes, why] : cases) {
        LspFrameReader reader;
        // One good message first: it is still read.
        reader.Append(LspFrameReader::Frame("{}") + bytes);
        std::string body;
        EXPECT_TRUE(reader.Next(body));
        EXPECT_FALSE(reader.Next(body));
        ASSERT_TRUE(reader.Failed()) << bytes.substr(0, 40);
        EXPECT_NE(reader.Error().find(why), std::string::npos) << reader.Error();
        reader.Append(LspFrameReader::Frame("{}"));
        EXPECT_FALSE(reader.Next(body));
    }
    LspFrameReader exact;
    exact.Append("Content-Length: 67108864\r\n\r\n");
    std::string body;
    EXPECT_FALSE(exact.Next(body));
    EXPECT_FALSE(exact.Failed());
}

// Streams of real messages damaged at a random place (a byte changed,
// dropped or added, or cut short) and fed in random pieces: every message
// before the damage is read as sent, and whatever follows, the reader and
// the connection only ever stop with a reason.
TEST(LspFrameReader, DamagedStreamsKeepEverythingBeforeTheDamage)
{
    std::mt19937 random(11);
    for (int round = 0; round < 400; ++round) {
        std::vector<std::string> bodies;
        std::vector<std::size_t> ends;  // where each message ends in the stream
        std::string stream;
        for (int i = 0, count = 1 + static_cast<int>(random() % 5); i < count; ++i) {
            const json message = {{"jsonrpc", "2.0"}, {"id", i}, {"result", {{"n", std::string(random() % 40, 'x')}}}};
            bodies.push_back(message.dump());
            stream += LspFrameReader::Frame(bodies.back());
            ends.push_back(stream.size());
        }
        const std::size_t at = random() % stream.size();
        switch (random() % 4) {
        case 0: stream[at] = static_cast<char>(random()); break;
        case 1: stream.erase(at, 1); break;
        case 2: stream.insert(at, 1, static_cast<char>(random())); break;
        default: stream.resize(at); break;
        }
        LspFrameReader reader;
        std::string written;
        LspConnection connection([&](const std::string& framed) { written += framed; });
        std::vector<std::string> read;
        std::string body;
        bool fed = true;
        for (std::size_t from = 0; from < stream.size();) {
            const std::size_t piece = std::min<std::size_t>(1 + random() % 64, stream.size() - from);
            reader.Append(std::string_view(stream).substr(from, piece));
            while (reader.Next(body))
                read.push_back(body);
            fed = connection.Feed(std::string_view(stream).substr(from, piece)) && fed;
            from += piece;
        }
        std::size_t intact = 0;
        while (intact < ends.size() && ends[intact] <= at)
            ++intact;
        ASSERT_GE(read.size(), intact) << "round " << round;
        for (std::size_t i = 0; i < intact; ++i)
            EXPECT_EQ(read[i], bodies[i]) << "round " << round;
        EXPECT_EQ(reader.Failed(), !reader.Error().empty());
        EXPECT_EQ(fed, connection.Error().empty());
        EXPECT_TRUE(written.empty());  // replies to nothing asked are dropped
    }
}

TEST(LspConnection, AnswersTheServersRequestsAndRefusesWhatIsNotJson)
{
    std::string written;
    LspConnection connection([&](const std::string& framed) { written += framed; });
    connection.SetWorkspaceFolders(json::array({{{"uri", "file:///w"}, {"name", "w"}}}));
    std::vector<std::string> notified;
    connection.SetNotificationHandler([&](const std::string& method, const json&) { notified.push_back(method); });
    int replies = 0;
    const int first = connection.Request("a", json::object(), [&](const json& result, const json* error) {
        EXPECT_EQ(result, 7);
        EXPECT_EQ(error, nullptr);
        ++replies;
    });
    const int second = connection.Request("b", json::object(), [&](const json&, const json*) { ++replies; });
    connection.Cancel(second);
    written.clear();
    const std::string in = Framed({
        json({{"jsonrpc", "2.0"}, {"id", second}, {"result", 1}}).dump(),  // cancelled: ignored
        json({{"jsonrpc", "2.0"}, {"id", first}, {"result", 7}}).dump(),
        json({{"jsonrpc", "2.0"}, {"id", first}, {"result", 8}}).dump(),  // twice: ignored
        json({{"jsonrpc", "2.0"}, {"id", 99}, {"method", "workspace/configuration"},
              {"params", {{"items", json::array({json::object(), json::object()})}}}}).dump(),
        json({{"jsonrpc", "2.0"}, {"id", "x"}, {"method", "workspace/workspaceFolders"}}).dump(),
        json({{"jsonrpc", "2.0"}, {"id", 5}, {"method", "something/else"}}).dump(),
        json({{"jsonrpc", "2.0"}, {"method", "window/logMessage"}, {"params", json::object()}}).dump(),
        "[1, 2]", "null",
    });
    ASSERT_TRUE(connection.Feed(in));
    EXPECT_EQ(replies, 1);
    EXPECT_EQ(notified, std::vector<std::string>{"window/logMessage"});
    LspFrameReader answers;
    answers.Append(written);
    std::vector<json> sent;
    std::string body;
    while (answers.Next(body))
        sent.push_back(json::parse(body));
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0]["id"], 99);
    EXPECT_EQ(sent[0]["result"], json::array({nullptr, nullptr}));
    EXPECT_EQ(sent[1]["id"], "x");
    EXPECT_EQ(sent[1]["result"][0]["uri"], "file:///w");
    EXPECT_EQ(sent[2]["error"]["code"], LspConnection::kMethodNotFound);

    EXPECT_FALSE(connection.Feed(LspFrameReader::Frame("{not json")));
    EXPECT_EQ(connection.Error(), "a message that is not JSON");
    connection.Reset();
    EXPECT_TRUE(connection.Feed(LspFrameReader::Frame("{}")));
}

TEST(LspUtf16, CountsUnitsOfEveryKindOfCharacter)
{
    // a, é (2 bytes), € (3), 𝄞 (4 bytes, 2 units), a lone byte, b
    const std::string line = "a\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E\xFF" "b";
    const std::vector<std::pair<int, int>> boundaries = {{0, 0}, {1, 1}, {3, 2}, {6, 3}, {10, 5}, {11, 6}, {12, 7}};
    for (const auto& [bytes, units] : boundaries) {
        EXPECT_EQ(LspUtf16::FromByteColumn(line, bytes), units) << bytes;
        EXPECT_EQ(LspUtf16::ToByteColumn(line, units), bytes) << units;
    }
    EXPECT_EQ(LspUtf16::FromByteColumn(line, 99), 7);
    EXPECT_EQ(LspUtf16::ToByteColumn(line, 99), 12);
    EXPECT_EQ(LspUtf16::ToByteColumn(line, 4), 6);  // inside the surrogate pair
    EXPECT_EQ(LspUtf16::FromByteColumn("\xE2\x82", 2), 2);  // a cut sequence: two lone bytes
    EXPECT_EQ(LspUtf16::FromByteColumn("\xED\xA0\x80", 3), 3);  // an encoded surrogate is not UTF-8
}

TEST(LspDocument, EditsInBytesLeaveAsUtf16Ranges)
{
    LspDocument document("file:///a.java", "java", "x\n\xC3\xA9\xC3\xA9z\nend");
    const LspRange range = document.Replace(1, 2, 1, 4, "\xF0\x9D\x84\x9E");
    EXPECT_EQ(range, (LspRange{{1, 1}, {1, 2}}));
    EXPECT_EQ(document.Text(), "x\n\xC3\xA9\xF0\x9D\x84\x9Ez\nend");
    EXPECT_EQ(document.Version(), 2);
    EXPECT_EQ(document.ToByteColumn(1, 3), 6);
    EXPECT_EQ(document.Line(2), "end");
    const LspRange joined = document.Replace(0, 1, 2, 0, "");
    EXPECT_EQ(joined, (LspRange{{0, 1}, {2, 0}}));
    EXPECT_EQ(document.Text(), "xend");
}

TEST(LspUri, PathsGoThereAndBack)
{
    const std::string path = "/home/a b/Caf\xC3\xA9 #1%.java";
    const std::string uri = LspUri::FromPath(path);
    EXPECT_EQ(uri, "file:///home/a%20b/Caf%C3%A9%20%231%25.java");
    EXPECT_EQ(LspUri::ToPath(uri), path);
    EXPECT_EQ(LspUri::ToPath("file://localhost/x"), "/x");
    EXPECT_EQ(LspUri::ToPath("file://elsewhere/x"), "");
    EXPECT_EQ(LspUri::ToPath("jdt://contents/x"), "");
}

TEST(LspResults, ReadsEveryShapeAndSkipsNonsense)
{
    const json list = json::parse(R"([
        {"label": "a", "kind": 3, "documentation": "plain", "insertTextFormat": 2,
         "textEdit": {"insert": {"start": {"line": 1, "character": 2}, "end": {"line": 1, "character": 3}},
                      "replace": {"start": {"line": 1, "character": 2}, "end": {"line": 1, "character": 9}},
                      "newText": "ab"}},
        {"label": 5}, {"kind": "x"}, "text", null,
        {"label": "b", "kind": "wrong", "detail": 3, "additionalTextEdits": [{"newText": "no range"}, 1]}])");
    const LspCompletionList read = LspResults::ReadCompletion(list);
    ASSERT_EQ(read.items.size(), 2u);
    EXPECT_EQ(read.items[0].kind, 3);
    EXPECT_TRUE(read.items[0].insertTextIsSnippet);
    EXPECT_TRUE(read.items[0].hasTextEdit);
    EXPECT_EQ(read.items[0].textEdit.range, (LspRange{{1, 2}, {1, 3}}));
    EXPECT_EQ(read.items[1].kind, 0);
    EXPECT_TRUE(read.items[1].additionalTextEdits.empty());

    const LspHover marked = LspResults::ReadHover(json::parse(
        R"({"contents": ["text", {"language": "java", "value": "int x"}], "range": {"start": {"line": 0}}})"));
    EXPECT_EQ(marked.contents, "text\n\n```java\nint x\n```");
    EXPECT_TRUE(marked.isMarkdown);
    EXPECT_FALSE(marked.hasRange);
    const LspHover plain = LspResults::ReadHover(json::parse(R"({"contents": {"kind": "plaintext", "value": "p"}})"));
    EXPECT_EQ(plain.contents, "p");
    EXPECT_FALSE(plain.isMarkdown);

    const LspSignatureHelp help = LspResults::ReadSignatureHelp(json::parse(
        R"j({"signatures": [{"label": "f(a)", "parameters": [{"label": [2, 99]}, {"label": [3, 1]}, {}]}],
            "activeSignature": 4})j"));
    ASSERT_EQ(help.signatures.size(), 1u);
    EXPECT_EQ(help.activeSignature, 0);
    ASSERT_EQ(help.signatures[0].parameters.size(), 3u);
    EXPECT_EQ(help.signatures[0].parameters[0].label, "a)");
    EXPECT_EQ(help.signatures[0].parameters[1].label, "");
    // Offsets count UTF-16 units: "é" is one, "𝄞" two.
    const LspSignatureHelp wide = LspResults::ReadSignatureHelp(json::parse(
        "{\"signatures\": [{\"label\": \"g(\\u00e9, \\ud834\\udd1e x)\", \"parameters\": [{\"label\": [2, 3]}, {\"label\": [5, 9]}]}]}"));
    ASSERT_EQ(wide.signatures.at(0).parameters.size(), 2u);
    EXPECT_EQ(wide.signatures[0].parameters[0].label, "\xC3\xA9");
    EXPECT_EQ(wide.signatures[0].parameters[1].label, "\xF0\x9D\x84\x9E x");

    EXPECT_EQ(LspResults::ReadLocations(json::parse(
                  R"({"uri": "file:///a", "range": {"start": {"line": 1, "character": 0}, "end": {"line": 1, "character": 4}}})"))
                  .size(),
              1u);
    EXPECT_TRUE(LspResults::ReadLocations(json::parse(R"([{"uri": "file:///a"}, 3, null])")).empty());

    const LspDiagnostics diagnostics = LspResults::ReadDiagnostics(json::parse(
        R"({"uri": "file:///a", "diagnostics": [{"message": "no range"},
            {"range": {"start": {"line": 0, "character": 0}, "end": {"line": 0, "character": 1}}, "severity": 1,
             "message": "m", "code": 12}]})"));
    EXPECT_EQ(diagnostics.version, -1);
    ASSERT_EQ(diagnostics.diagnostics.size(), 1u);
    EXPECT_EQ(diagnostics.diagnostics[0].code, "12");

    const LspServerCapabilities capabilities = LspResults::ReadCapabilities(json::parse(
        R"({"textDocumentSync": 7, "completionProvider": {"triggerCharacters": [".", 3]}, "hoverProvider": false,
            "definitionProvider": {}})"));
    EXPECT_EQ(capabilities.textDocumentSync, 0);
    EXPECT_EQ(capabilities.completionTriggers, std::vector<std::string>{"."});
    EXPECT_FALSE(capabilities.hover);
    EXPECT_TRUE(capabilities.definition);
    // Nothing of the right shape at all: defaults, no exception.
    for (const char* nonsense : {"null", "1", "\"s\"", "[]", "{}", "[[[]]]"}) {
        const json value = json::parse(nonsense);
        EXPECT_TRUE(LspResults::ReadCompletion(value).items.empty());
        EXPECT_TRUE(LspResults::ReadSignatureHelp(value).signatures.empty());
        EXPECT_TRUE(LspResults::ReadHover(value).contents.empty());
        EXPECT_TRUE(LspResults::ReadLocations(value).empty());
        EXPECT_TRUE(LspResults::ReadDiagnostics(value).diagnostics.empty());
        EXPECT_FALSE(LspResults::ReadCapabilities(value).completion);
    }
}

TEST(LspBackoff, DoublesUpToAMinuteAndStartsOverAfterHealth)
{
    LspBackoff backoff;
    std::vector<std::int64_t> delays;
    std::int64_t now = 0;
    for (int i = 0; i < 9; ++i) {
        backoff.Started(now);
        now += 10;  // failing again soon after each start
        delays.push_back(backoff.Failed(now));
    }
    EXPECT_EQ(delays, (std::vector<std::int64_t>{1000, 2000, 4000, 8000, 16000, 32000, 60000, 60000, 60000}));
    EXPECT_EQ(backoff.Failures(), 9);
    backoff.Started(now);
    EXPECT_EQ(backoff.Failed(now + LspBackoff::kHealthyMs), 1000);
    EXPECT_EQ(backoff.Failures(), 1);
}

}  // namespace
