// Quillet's Java language server as a real child process (java -jar) on a
// real two-file project: framed JSON-RPC through pipes, as an editor speaks it.
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <poll.h>
#include <map>
#include <set>
#include <sstream>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using nlohmann::json;
using quillet::test::ReadFileBytes;
using quillet::test::RunProcess;
using quillet::test::TempDir;
using quillet::test::WriteFileBytes;
using Clock = std::chrono::steady_clock;

const char* const kJdkSourceZip = "/usr/lib/jvm/java-17-openjdk-amd64/lib/src.zip";

// The server on two pipes; messages are read with a deadline so a silent
// server fails the test instead of hanging it.
class ServerChild {
public:
    ServerChild()
    {
        int in[2];
        int out[2];
        if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        std::string jar = std::string(QUILLET_PROGRAM_DIR) + "quillet-java-server.jar";
        std::vector<std::string> args = {"java", "-jar", jar};
        std::vector<char*> argv;
        for (auto& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        if (posix_spawnp(&pid_, "java", &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        toServer_ = in[1];
        fromServer_ = out[0];
    }

    ~ServerChild()
    {
        if (toServer_ >= 0) {
            close(toServer_);
        }
        if (fromServer_ >= 0) {
            close(fromServer_);
        }
        if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    bool Started() const { return pid_ > 0; }

    void Send(const json& message) { SendBody(message.dump()); }

    void SendBody(const std::string& body)
    {
        std::string frame = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
        size_t done = 0;
        while (done < frame.size()) {
            ssize_t n = write(toServer_, frame.data() + done, frame.size() - done);
            ASSERT_GT(n, 0) << "the server stopped reading";
            done += size_t(n);
        }
    }

    // The next message, or null when none came within the time.
    json Receive(std::chrono::seconds limit = std::chrono::seconds(30))
    {
        auto deadline = Clock::now() + limit;
        while (true) {
            size_t headerEnd = buffer_.find("\r\n\r\n");
            if (headerEnd != std::string::npos) {
                size_t at = buffer_.find("Content-Length: ");
                size_t length = std::stoul(buffer_.substr(at + 16, headerEnd - at - 16));
                if (buffer_.size() >= headerEnd + 4 + length) {
                    json message = json::parse(buffer_.substr(headerEnd + 4, length));
                    buffer_.erase(0, headerEnd + 4 + length);
                    return message;
                }
            }
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) {
                return nullptr;
            }
            pollfd p{fromServer_, POLLIN, 0};
            if (poll(&p, 1, int(left)) <= 0) {
                continue;
            }
            char chunk[65536];
            ssize_t n = read(fromServer_, chunk, sizeof chunk);
            if (n <= 0) {
                return nullptr;
            }
            buffer_.append(chunk, size_t(n));
        }
    }

    // Sends a request and returns its response; notifications on the way are kept.
    json Request(const std::string& method, const json& params)
    {
        int id = ++lastId_;
        Send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}});
        while (true) {
            json message = Receive();
            if (message.is_null()) {
                ADD_FAILURE() << "no answer to " << method;
                return nullptr;
            }
            if (message.contains("id") && message["id"] == id) {
                return message;
            }
            notifications.push_back(message);
        }
    }

    void Notify(const std::string& method, const json& params)
    {
        Send({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
    }

    int Wait()
    {
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::vector<json> notifications;

private:
    pid_t pid_ = -1;
    int toServer_ = -1;
    int fromServer_ = -1;
    int lastId_ = 0;
    std::string buffer_;
};

const char* const kStore = R"(package app;

import java.util.ArrayList;
import java.util.List;

/** Keeps names in the order they came. Nothing else is kept. */
public class Store {
    private final List<String> names = new ArrayList<>();

    /** Adds a name at the end. Duplicates stay. */
    public void add(String name) {
        names.add(name);
    }

    public List<String> all() {
        return names;
    }
}
)";

const char* const kMain = R"(package app;

import java.util.List;

public class Main {
    public static void main(String[] args) {
        Store store = new Store();
        store.add("a");
        store.add("b");
        List<String> names = store.all();
        System.out.println(names.get(0).);
    }
}
)";

json Position(int line, int character)
{
    return {{"line", line}, {"character", character}};
}

class JavaServerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        project_ = new TempDir;
        std::filesystem::create_directories(project_->Path() / "src" / "app");
        WriteFileBytes(project_->File("src/app/Store.java"), kStore);
        WriteFileBytes(project_->File("src/app/Main.java"), kMain);
        server_ = new ServerChild;
        ASSERT_TRUE(server_->Started());
        json options = {{"sourcePath", {project_->File("src")}}, {"classPath", json::array()}};
        if (std::filesystem::exists(kJdkSourceZip)) {
            options["jdkSourceZip"] = kJdkSourceZip;
        }
        json init = server_->Request("initialize", {{"processId", getpid()}, {"rootUri", nullptr},
                                                    {"capabilities", json::object()},
                                                    {"initializationOptions", options}});
        ASSERT_TRUE(init.contains("result"));
        json sync = init["result"]["capabilities"]["textDocumentSync"];
        EXPECT_EQ(2, sync["change"]);
        server_->Notify("initialized", json::object());
        server_->Notify("textDocument/didOpen", {{"textDocument", {{"uri", MainUri()}, {"languageId", "java"},
                                                                   {"version", 1}, {"text", kMain}}}});
    }

    static void TearDownTestSuite()
    {
        if (server_->Started()) {
            json reply = server_->Request("shutdown", nullptr);
            EXPECT_TRUE(reply.contains("result"));
            server_->Notify("exit", nullptr);
            EXPECT_EQ(0, server_->Wait());
        }
        delete server_;
        delete project_;
    }

    static std::string MainUri() { return "file://" + project_->File("src/app/Main.java"); }
    static std::string StoreUri() { return "file://" + project_->File("src/app/Store.java"); }
    static json Doc() { return {{"uri", MainUri()}}; }

    static TempDir* project_;
    static ServerChild* server_;
};

TempDir* JavaServerTest::project_ = nullptr;
ServerChild* JavaServerTest::server_ = nullptr;

TEST_F(JavaServerTest, MembersOfAnExpressionAfterTheDotHaveTheirSignatures)
{
    std::string line = "        System.out.println(names.get(0).);";
    json reply = server_->Request("textDocument/completion",
                                  {{"textDocument", Doc()}, {"position", Position(10, int(line.find(".)") + 1))}});
    std::vector<std::string> labels;
    for (const json& item : reply["result"]["items"]) {
        labels.push_back(item["label"]);
    }
    auto has = [&](const std::string& label) {
        return std::find(labels.begin(), labels.end(), label) != labels.end();
    };
    EXPECT_TRUE(has("length()"));
    EXPECT_TRUE(has("isEmpty()"));
    bool named = std::filesystem::exists(kJdkSourceZip);
    EXPECT_TRUE(has(named ? "substring(int beginIndex, int endIndex)" : "substring(int arg0, int arg1)"));
    // Members of Object come too; static members and private fields do not.
    EXPECT_TRUE(has("hashCode()"));
    EXPECT_FALSE(has("valueOf(int i)") || has("valueOf(int arg0)"));
    EXPECT_FALSE(has("value"));
}

TEST_F(JavaServerTest, AClassNotImportedComesWithItsImport)
{
    std::string text = kMain;
    std::string typed = "HashM";
    size_t at = text.find("        Store store");
    text.insert(at, typed + "\n");
    server_->Notify("textDocument/didChange",
                    {{"textDocument", {{"uri", MainUri()}, {"version", 2}}},
                     {"contentChanges", {{{"range", {{"start", Position(6, 0)}, {"end", Position(6, 0)}}},
                                          {"text", typed + "\n"}}}}});
    json reply = server_->Request("textDocument/completion",
                                  {{"textDocument", Doc()}, {"position", Position(6, int(typed.size()))}});
    json hashMap;
    for (const json& item : reply["result"]["items"]) {
        if (item["label"] == "HashMap") {
            hashMap = item;
        }
    }
    ASSERT_FALSE(hashMap.is_null());
    EXPECT_EQ("java.util.HashMap", hashMap["detail"]);
    ASSERT_EQ(1u, hashMap["additionalTextEdits"].size());
    json edit = hashMap["additionalTextEdits"][0];
    EXPECT_EQ("\nimport java.util.HashMap;", edit["newText"]);
    EXPECT_EQ(Position(2, 22), edit["range"]["start"]);
    // The typed line goes again, as a whole-line incremental edit.
    server_->Notify("textDocument/didChange",
                    {{"textDocument", {{"uri", MainUri()}, {"version", 3}}},
                     {"contentChanges", {{{"range", {{"start", Position(6, 0)}, {"end", Position(7, 0)}}},
                                          {"text", ""}}}}});
}

TEST_F(JavaServerTest, SignatureHelpNamesTheParameterBeingTyped)
{
    json reply = server_->Request("textDocument/signatureHelp",
                                  {{"textDocument", Doc()}, {"position", Position(7, 18)}});
    ASSERT_TRUE(reply["result"].is_object()) << reply.dump();
    json signatures = reply["result"]["signatures"];
    ASSERT_EQ(1u, signatures.size());
    EXPECT_EQ("add(String name)", signatures[0]["label"]);
    EXPECT_EQ("Adds a name at the end.", signatures[0]["documentation"]);
    EXPECT_EQ(0, reply["result"]["activeParameter"]);
}

TEST_F(JavaServerTest, DefinitionOfAMethodInTheOtherFileLandsOnItsDeclaration)
{
    json reply = server_->Request("textDocument/definition",
                                  {{"textDocument", Doc()}, {"position", Position(7, 15)}});
    ASSERT_EQ(1u, reply["result"].size()) << reply.dump();
    json location = reply["result"][0];
    EXPECT_EQ(StoreUri(), location["uri"]);
    EXPECT_EQ(Position(10, 16), location["range"]["start"]);
    EXPECT_EQ(Position(10, 19), location["range"]["end"]);
}

TEST_F(JavaServerTest, ReferencesOfAMethodAreItsUsesInTheSourceTree)
{
    json reply = server_->Request("textDocument/references",
                                  {{"textDocument", {{"uri", StoreUri()}}}, {"position", Position(10, 17)},
                                   {"context", {{"includeDeclaration", true}}}});
    // Store.java is not open: the request names a document the server does not hold.
    EXPECT_TRUE(reply.contains("error"));
    reply = server_->Request("textDocument/references",
                             {{"textDocument", Doc()}, {"position", Position(8, 16)},
                              {"context", {{"includeDeclaration", true}}}});
    std::set<std::string> found;
    for (const json& location : reply["result"]) {
        found.insert(std::string(location["uri"]) + ":" + location["range"]["start"]["line"].dump() + ":" +
                     location["range"]["start"]["character"].dump());
    }
    std::set<std::string> expected = {MainUri() + ":7:14", MainUri() + ":8:14", StoreUri() + ":10:16"};
    EXPECT_EQ(expected, found);
}

TEST_F(JavaServerTest, HoverShowsTheDeclarationAndTheFirstSentence)
{
    json reply = server_->Request("textDocument/hover", {{"textDocument", Doc()}, {"position", Position(8, 15)}});
    std::string value = reply["result"]["contents"]["value"];
    EXPECT_NE(std::string::npos, value.find("public void app.Store.add(String name)")) << value;
    EXPECT_NE(std::string::npos, value.find("Adds a name at the end.")) << value;
    EXPECT_EQ(std::string::npos, value.find("Duplicates")) << value;
}

TEST_F(JavaServerTest, MalformedJsonIsAParseErrorAndTheServerGoesOn)
{
    const char* const bodies[] = {
        R"({"jsonrpc":"2.0","id":1,"method":"shutdown",})",  // a comma before the brace
        R"({"jsonrpc":"2.0","id":01,"method":"shutdown"})",  // a leading zero
        "{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"shut\tdown\"}",  // a raw tab in a string
        R"({"jsonrpc":"2.0","id":1,"method":"shutdown"} x)",  // text after the value
        R"({"jsonrpc":"2.0","id":1,"method":"shutdown)",  // an open string
        R"({"jsonrpc":"2.0","id":1,"method":"shutdown","params":[1,]})",  // a comma before the bracket
        R"({"jsonrpc":"2.0","id":1,"method":"shutdown","params":tru})",  // an unknown word
    };
    for (const char* body : bodies) {
        server_->SendBody(body);
        json reply = server_->Receive();
        while (reply.value("method", "") == "textDocument/publishDiagnostics") {
            reply = server_->Receive();
        }
        ASSERT_TRUE(reply.contains("error")) << body << " -> " << reply.dump();
        EXPECT_EQ(-32700, reply["error"]["code"]) << body;
        EXPECT_TRUE(reply["id"].is_null()) << body;
    }
    // Escapes, a surrogate pair and white space everywhere are JSON all the same.
    std::string uri = MainUri();
    std::string escaped;
    for (char c : uri) {
        escaped += c == '/' ? std::string("\\/") : std::string(1, c);
    }
    server_->SendBody(" {\n \"jsonrpc\" : \"2.0\", \"id\" : 77, \"method\":\"textDocument/hover\", \"params\": "
                      "{\"textDocument\": {\"uri\": \"" + escaped + "\"}, \"position\": {\"line\": 8, \"character\": 15},"
                      " \"note\": \"\\ud83d\\ude00\\u00e9\"}}\r\n");
    json reply = server_->Receive();
    while (reply.value("method", "") == "textDocument/publishDiagnostics") {
        reply = server_->Receive();
    }
    EXPECT_EQ(77, reply["id"]);
    EXPECT_NE(std::string::npos, reply["result"]["contents"]["value"].get<std::string>().find("Adds a name")) << reply.dump();
}

TEST_F(JavaServerTest, ATypeErrorIsReportedHalfASecondAfterTheChangeWithoutSaving)
{
    // Diagnostics of earlier changes are not what this case waits for.
    server_->Request("textDocument/hover", {{"textDocument", Doc()}, {"position", Position(0, 0)}});
    std::string bad = "        int count = \"three\";\n";
    // Typed in two steps close together: only the last text is analysed.
    server_->Notify("textDocument/didChange",
                    {{"textDocument", {{"uri", MainUri()}, {"version", 9}}},
                     {"contentChanges", {{{"range", {{"start", Position(6, 0)}, {"end", Position(6, 0)}}},
                                          {"text", "        int count = \"thr"}}}}});
    auto changed = Clock::now();
    server_->Notify("textDocument/didChange",
                    {{"textDocument", {{"uri", MainUri()}, {"version", 10}}},
                     {"contentChanges", {{{"range", {{"start", Position(6, 0)}, {"end", Position(6, 24)}}},
                                          {"text", bad}}}}});
    json published;
    while (true) {
        json message = server_->Receive();
        ASSERT_FALSE(message.is_null()) << "no diagnostics came";
        if (message.value("method", "") == "textDocument/publishDiagnostics") {
            EXPECT_NE(9, message["params"]["version"]) << "an analysis of a replaced text was published";
        }
        if (message.value("method", "") == "textDocument/publishDiagnostics" && message["params"]["version"] == 10) {
            published = message["params"];
            break;
        }
    }
    auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - changed).count();
    EXPECT_GE(waited, 450);
    EXPECT_EQ(MainUri(), published["uri"]);
    json typeError;
    for (const json& d : published["diagnostics"]) {
        if (d["range"]["start"]["line"] == 6) {
            typeError = d;
        }
    }
    ASSERT_FALSE(typeError.is_null()) << published.dump();
    EXPECT_EQ(1, typeError["severity"]);
    EXPECT_NE(std::string::npos, std::string(typeError["message"]).find("incompatible types")) << typeError.dump();
    EXPECT_EQ(Position(6, 20), typeError["range"]["start"]);
    server_->Notify("textDocument/didChange",
                    {{"textDocument", {{"uri", MainUri()}, {"version", 11}}},
                     {"contentChanges", {{{"range", {{"start", Position(6, 0)}, {"end", Position(7, 0)}}},
                                          {"text", ""}}}}});
}

// The protocol's position (UTF-16 code units in the line) of a byte offset in UTF-8 text.
json PositionOfByte(const std::string& text, size_t offset)
{
    int line = 0;
    int character = 0;
    for (size_t i = 0; i < offset; i++) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            line++;
            character = 0;
        } else if ((c & 0xC0) != 0x80) {
            character += c >= 0xF0 ? 2 : 1;
        }
    }
    return Position(line, character);
}

size_t Utf16Offset(const std::string& text, size_t offset)
{
    size_t units = 0;
    for (size_t i = 0; i < offset; i++) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c & 0xC0) != 0x80) {
            units += c >= 0xF0 ? 2 : 1;
        }
    }
    return units;
}

// Places in code (not comments or strings) where a member name follows "name.".
std::vector<size_t> MemberPlaces(const std::string& text, size_t wanted)
{
    auto word = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$'; };
    std::vector<size_t> all;
    for (size_t dot = text.find('.'); dot != std::string::npos; dot = text.find('.', dot + 1)) {
        size_t at = dot;
        while (at > 0 && word(text[at - 1])) {
            at--;
        }
        size_t member = dot + 1;
        if (at == dot || (at > 0 && text[at - 1] == '.') || !std::islower(static_cast<unsigned char>(text[at])) ||
            member >= text.size() || !std::islower(static_cast<unsigned char>(text[member]))) {
            continue;
        }
        size_t lineStart = text.rfind('\n', at) + 1;
        std::string before = text.substr(lineStart, at - lineStart);
        size_t code = before.find_first_not_of(" \t");
        if (code != std::string::npos && (before[code] == '*' || before[code] == '/')) {
            continue;
        }
        if (before.find('"') != std::string::npos || before.find("//") != std::string::npos ||
            before.find("import") != std::string::npos || before.find("package") != std::string::npos) {
            continue;
        }
        std::string receiver = text.substr(at, dot - at);
        if (receiver == "java" || receiver == "javax" || receiver == "jdk" || receiver == "sun" ||
            receiver == "super") {
            continue;
        }
        all.push_back(member);
    }
    std::vector<size_t> spread;
    for (size_t i = 0; i < wanted && !all.empty(); i++) {
        spread.push_back(all[i * all.size() / wanted]);
    }
    return spread;
}

// Real files of OpenJDK's java.util: after each "expr." the server offers
// exactly the members javax.lang.model gives the expression's type in the
// unchanged file.
TEST(JavaServerSampleTest, MembersAfterADotInJavaUtilMatchTheLanguageModel)
{
    if (!std::filesystem::exists(kJdkSourceZip)) {
        GTEST_SKIP() << "no JDK sources at " << kJdkSourceZip;
    }
    TempDir tree;
    std::vector<std::string> names = {"java.base/java/util/ArrayList.java", "java.base/java/util/HashMap.java",
                                      "java.base/java/util/TreeMap.java"};
    std::vector<std::string> extract = {"jar", "xf", kJdkSourceZip};
    extract.insert(extract.end(), names.begin(), names.end());
    ASSERT_EQ(0, RunProcess(extract, tree.Path().string()).exitStatus);
    std::string root = tree.File("java.base");

    ServerChild server;
    ASSERT_TRUE(server.Started());
    server.Request("initialize", {{"processId", getpid()}, {"capabilities", json::object()},
                                  {"initializationOptions", {{"sourcePath", {root}}, {"jdkSourceZip", kJdkSourceZip}}}});
    server.Notify("initialized", json::object());
    // Every sampled place, then what javax.lang.model says of them all in one run.
    std::vector<std::string> oracle = {"java", std::string(QUILLET_SOURCE_DIR) + "tests/javatools/data/MemberOracle.java",
                                       root};
    std::map<std::string, std::string> texts;
    std::map<std::string, std::vector<size_t>> places;
    for (const std::string& name : names) {
        std::string file = tree.File(name);
        texts[file] = ReadFileBytes(file);
        places[file] = MemberPlaces(texts[file], 4);
        ASSERT_FALSE(places[file].empty());
        for (size_t place : places[file]) {
            oracle.push_back(file + "@" + std::to_string(Utf16Offset(texts[file], place)));
        }
    }
    auto expected = RunProcess(oracle);
    ASSERT_EQ(0, expected.exitStatus) << expected.err;
    std::map<std::string, std::set<std::string>> byPlace;
    std::istringstream lines(expected.out);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string place;
        words >> place;
        std::string member;
        while (words >> member) {
            byPlace[place].insert(member);
        }
    }
    int compared = 0;
    for (const auto& [file, text] : texts) {
        std::string uri = "file://" + file;
        server.Notify("textDocument/didOpen",
                      {{"textDocument", {{"uri", uri}, {"languageId", "java"}, {"version", 1}, {"text", text}}}});
        for (size_t place : places[file]) {
            auto want = byPlace.find(file + "@" + std::to_string(Utf16Offset(text, place)));
            if (want == byPlace.end()) {
                continue;  // not a member select after all (a qualified name in a comment, say)
            }
            json reply = server.Request("textDocument/completion",
                                        {{"textDocument", {{"uri", uri}}}, {"position", PositionOfByte(text, place)}});
            std::set<std::string> offered;
            for (const json& item : reply["result"]["items"]) {
                offered.insert(item["filterText"].get<std::string>());
            }
            EXPECT_EQ(want->second, offered) << file << " at " << PositionOfByte(text, place).dump() << ": "
                                             << text.substr(place - 20, 40);
            compared++;
        }
    }
    EXPECT_GE(compared, 9);
    server.Request("shutdown", nullptr);
    server.Notify("exit", nullptr);
    EXPECT_EQ(0, server.Wait());
}

}  // namespace
