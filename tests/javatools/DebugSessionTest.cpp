// The debugger's core against real virtual machines: small programs are
// compiled with the JDK's javac, started by java with the agent connecting
// to our loopback listener, and driven through breakpoints, steps, values
// and exceptions from a poll loop, as the windows drive them from theirs.
#include "javatools/debug/DebugListener.h"
#include "javatools/debug/DebugSession.h"
#include "javatools/debug/IDebugObserver.h"
#include "javatools/debug/JdwpProtocol.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

using quillet::test::ProcessResult;
using quillet::test::RunProcess;
using quillet::test::TempDir;

// Line numbers matter below: each program's lines are numbered in the comments.
const char* const kSquare =
    "public class Square {\n"                         // 1
    "    static class Side {\n"                       // 2
    "        final int length;\n"                     // 3
    "        Side(int length) {\n"                    // 4
    "            this.length = length;\n"             // 5
    "        }\n"                                     // 6
    "        int area() {\n"                          // 7
    "            return length * length;\n"           // 8
    "        }\n"                                     // 9
    "    }\n"                                         // 10
    "\n"                                              // 11
    "    public static void main(String[] args) {\n"  // 12
    "        System.out.println(\"start\");\n"        // 13
    "        int area = new Side(4).area();\n"        // 14
    "        int total = new shapes.Late().twice(area);\n"  // 15
    "        // the exit code follows\n"              // 16
    "\n"                                              // 17
    "        System.exit(total - 29);\n"              // 18
    "    }\n"                                         // 19
    "}\n";                                            // 20

const char* const kLate =
    "package shapes; public class Late {\n"  // 1
    "    public int twice(int value) {\n"   // 2
    "        int result = value * 2;\n"    // 3
    "        return result;\n"             // 4
    "    }\n"                              // 5
    "}\n";                                 // 6

const char* const kWalk =
    "public class Walk {\n"                            // 1
    "    static int depth(int n) {\n"                  // 2
    "        if (n == 0)\n"                            // 3
    "            return 0;\n"                          // 4
    "        int below = depth(n - 1);\n"              // 5
    "        return below + 1;\n"                      // 6
    "    }\n"                                          // 7
    "\n"                                               // 8
    "    public static void main(String[] args) {\n"   // 9
    "        int sum = 0;\n"                           // 10
    "        for (int i = 0; i < 2; i++) {\n"          // 11
    "            sum += i;\n"                          // 12
    "        }\n"                                      // 13
    "        int d = depth(2);\n"                      // 14
    "        System.out.println(sum + d);\n"           // 15
    "    }\n"                                          // 16
    "}\n";                                             // 17

const char* const kValues =
    "public class Values {\n"                                     // 1
    "    int counter = 7;\n"                                      // 2
    "    String label = \"field\";\n"                             // 3
    "    Values next;\n"                                          // 4
    "\n"                                                          // 5
    "    void show() {\n"                                         // 6
    "        boolean flag = true;\n"                              // 7
    "        byte b = -8;\n"                                      // 8
    "        char c = '\xCE\xA9';\n"                              // 9  (Omega)
    "        short s = -300;\n"                                   // 10
    "        int i = 123456789;\n"                                // 11
    "        long l = -9876543210L;\n"                            // 12
    "        float f = 1.5f;\n"                                   // 13
    "        double d = -2.25;\n"                                 // 14
    "        String text = \"Gr\xC3\xBC\xC3\x9F" "e, \xE4\xB8\x96\xE7\x95\x8C \xF0\x9F\x98\x80\";\n"  // 15
    "        int[][] grid = {{1, 2}, {3, 4, 5}};\n"               // 16
    "        Object nothing = null;\n"                            // 17
    "        int[] big = new int[10000];\n"                       // 18
    "        for (int k = 0; k < big.length; k++) big[k] = k * 3;\n"  // 19
    "        String[] words = {\"a\", null, \"c\"};\n"            // 20
    "        System.out.println(flag);\n"                         // 21
    "    }\n"                                                     // 22
    "\n"                                                          // 23
    "    public static void main(String[] args) {\n"              // 24
    "        Values v = new Values();\n"                          // 25
    "        v.next = new Values();\n"                            // 26
    "        v.show();\n"                                         // 27
    "    }\n"                                                     // 28
    "}\n";                                                        // 29

const char* const kThrower =
    "public class Thrower {\n"                                              // 1
    "    static void check(int value) {\n"                                  // 2
    "        if (value > 2)\n"                                              // 3
    "            throw new IllegalStateException(\"too big: \" + value);\n" // 4
    "    }\n"                                                               // 5
    "    public static void main(String[] args) {\n"                        // 6
    "        try {\n"                                                       // 7
    "            check(5);\n"                                               // 8
    "        } catch (IllegalStateException caught) {\n"                    // 9
    "            System.out.println(\"caught\");\n"                         // 10
    "        }\n"                                                           // 11
    "        check(3);\n"                                                   // 12
    "    }\n"                                                               // 13
    "}\n";                                                                  // 14

const char* const kPair =
    "public class Pair {\n"                                                  // 1
    "    static int work(int n) {\n"                                         // 2
    "        int doubled = n * 2;\n"                                         // 3
    "        return doubled;\n"                                              // 4
    "    }\n"                                                                // 5
    "    public static void main(String[] args) throws Exception {\n"        // 6
    "        Thread other = new Thread(() -> work(1), \"other\");\n"         // 7
    "        other.start();\n"                                               // 8
    "        work(2);\n"                                                     // 9
    "        other.join();\n"                                                // 10
    "    }\n"                                                                // 11
    "}\n";                                                                   // 12

class Recorder : public IDebugObserver {
public:
    void OnConnected(const std::string& description) override { connected = !description.empty(); }
    void OnBreakpointPlaced(const DebugBreakpoint& breakpoint) override { placed.push_back(breakpoint); }
    void OnStopped(const DebugStop& stop) override { stops.push_back(stop); }
    void OnVmDeath() override { vmDeath = true; }
    void OnDisconnected(const std::string& reason) override
    {
        disconnected = true;
        disconnectReason = reason;
    }
    void OnProblem(const std::string& text) override { problems.push_back(text); }

    bool connected = false;
    bool vmDeath = false;
    bool disconnected = false;
    std::string disconnectReason;
    std::vector<DebugBreakpoint> placed;
    std::vector<DebugStop> stops;
    std::vector<std::string> problems;
};

// Where each frame is: "Class.method:line", innermost first.
std::vector<std::string> Where(const DebugStop& stop, std::size_t count)
{
    std::vector<std::string> where;
    for (std::size_t i = 0; i < stop.frames.size() && i < count; ++i) {
        const DebugFrame& frame = stop.frames[i];
        where.push_back(frame.className + "." + frame.methodName + ":" + std::to_string(frame.line));
    }
    return where;
}

class DebugSessionTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = new TempDir;
        std::vector<std::string> argv = {"javac", "-g", "-encoding", "UTF-8", "-d", folder_->Path().string()};
        const std::pair<const char*, const char*> sources[] = {
            {"Square.java", kSquare}, {"shapes/Late.java", kLate}, {"Walk.java", kWalk},
            {"Values.java", kValues}, {"Thrower.java", kThrower}, {"Pair.java", kPair}};
        std::filesystem::create_directories(folder_->Path() / "shapes");
        for (const auto& [name, text] : sources) {
            quillet::test::WriteFileBytes(folder_->File(name), text);
            argv.push_back(folder_->File(name));
        }
        const ProcessResult javac = RunProcess(argv);
        ASSERT_TRUE(javac.started);
        ASSERT_EQ(javac.exitStatus, 0) << javac.err;
    }
    static void TearDownTestSuite()
    {
        delete folder_;
        folder_ = nullptr;
    }

    ~DebugSessionTest() override
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    static std::string Source(const char* name) { return folder_->File(name); }

    // Starts java on the class, suspended, its agent connecting to a fresh
    // listener, and hands the accepted connection to the session.
    void Launch(const std::string& mainClass)
    {
        std::string failure;
        ASSERT_TRUE(listener_.Listen(&failure)) << failure;
        const std::string output = folder_->File(mainClass + ".out");
        std::vector<std::string> args = {"java", "-XX:TieredStopAtLevel=1", "-XX:+UseSerialGC", "-Xshare:auto",
                                         DebugListener::AgentArgument(listener_.Port()), "-cp",
                                         folder_->Path().string(), mainClass};
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        ASSERT_EQ(posix_spawnp(&pid_, "java", &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);

        pollfd waiting{listener_.Fd(), POLLIN, 0};
        ASSERT_EQ(::poll(&waiting, 1, 15000), 1) << "java did not connect";
        const int connection = listener_.Accept();
        ASSERT_GE(connection, 0);
        EXPECT_EQ(listener_.Fd(), -1) << "the listener closes after the first connection";
        session_.Start(connection);
        ASSERT_TRUE(Pump([&] { return recorder_.connected; }));
    }

    // Runs the session's side of the event loop until done() or 15 s.
    bool Pump(const std::function<bool()>& done)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (!done()) {
            if (!session_.IsConnected() || std::chrono::steady_clock::now() > deadline)
                return done();
            pollfd watch{session_.Fd(), static_cast<short>(POLLIN | (session_.WantsWrite() ? POLLOUT : 0)), 0};
            if (::poll(&watch, 1, 100) > 0) {
                if (watch.revents & POLLOUT)
                    session_.OnWritable();
                if (watch.revents & (POLLIN | POLLHUP | POLLERR))
                    session_.OnReadable();
            }
        }
        return true;
    }

    // The next stop after the ones seen so far.
    DebugStop NextStop()
    {
        const std::size_t seen = recorder_.stops.size();
        EXPECT_TRUE(Pump([&] { return recorder_.stops.size() > seen; })) << "no stop";
        return recorder_.stops.size() > seen ? recorder_.stops.back() : DebugStop{};
    }

    std::vector<DebugVariable> Locals(const DebugFrame& frame)
    {
        std::optional<std::vector<DebugVariable>> got;
        session_.Values().ReadLocals(frame, [&](std::vector<DebugVariable> variables, std::string error) {
            EXPECT_EQ(error, "");
            got = std::move(variables);
        });
        EXPECT_TRUE(Pump([&] { return got.has_value(); }));
        return got.value_or(std::vector<DebugVariable>{});
    }

    std::vector<DebugVariable> Fields(std::uint64_t object)
    {
        std::optional<std::vector<DebugVariable>> got;
        session_.Values().ReadFields(object, [&](std::vector<DebugVariable> variables, std::string error) {
            EXPECT_EQ(error, "");
            got = std::move(variables);
        });
        EXPECT_TRUE(Pump([&] { return got.has_value(); }));
        return got.value_or(std::vector<DebugVariable>{});
    }

    std::pair<std::int64_t, std::vector<DebugVariable>> Array(std::uint64_t array, std::int64_t count)
    {
        std::optional<std::pair<std::int64_t, std::vector<DebugVariable>>> got;
        session_.Values().ReadArray(array, 0, count,
                                       [&](std::int64_t length, std::vector<DebugVariable> elements, std::string error) {
                                           EXPECT_EQ(error, "");
                                           got.emplace(length, std::move(elements));
                                       });
        EXPECT_TRUE(Pump([&] { return got.has_value(); }));
        return got.value_or(std::pair<std::int64_t, std::vector<DebugVariable>>{-1, {}});
    }

    // The program's exit code once the session has seen it die.
    int ExitCode()
    {
        EXPECT_TRUE(Pump([&] { return recorder_.disconnected; }));
        int status = 0;
        EXPECT_EQ(::waitpid(pid_, &status, 0), pid_);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static TempDir* folder_;
    Recorder recorder_;
    DebugSession session_{recorder_};
    DebugListener listener_;
    pid_t pid_ = -1;
};

TempDir* DebugSessionTest::folder_ = nullptr;

const DebugVariable* Named(const std::vector<DebugVariable>& variables, const std::string& name)
{
    for (const DebugVariable& variable : variables)
        if (variable.name == name)
            return &variable;
    return nullptr;
}

TEST_F(DebugSessionTest, BreakpointsWaitForLateAndNestedClassesAndMoveToCode)
{
    const int nested = session_.AddBreakpoint(Source("Square.java"), "Square", 8);
    // The class named by the file and its package line.
    const int late = session_.AddBreakpoint(Source("shapes/Late.java"), "", 3);
    const int moved = session_.AddBreakpoint(Source("Square.java"), "Square", 16);
    const int removed = session_.AddBreakpoint(Source("shapes/Late.java"), "shapes.Late", 4);
    Launch("Square");

    DebugStop stop = NextStop();
    EXPECT_EQ(stop.reason, DebugStop::Reason::Breakpoint);
    EXPECT_EQ(stop.breakpointId, nested);
    EXPECT_EQ(stop.threadName, "main");
    EXPECT_EQ(Where(stop, 2), (std::vector<std::string>{"Square$Side.area:8", "Square.main:14"}));
    ASSERT_FALSE(stop.frames.empty());
    EXPECT_EQ(stop.frames[0].sourceFile, "Square.java");
    // One added while the program runs, in a class already loaded, and one
    // removed before its class loads.
    const int added = session_.AddBreakpoint(Source("Square.java"), "Square", 15);
    session_.RemoveBreakpoint(removed);
    session_.Resume();

    stop = NextStop();
    EXPECT_EQ(stop.breakpointId, added);
    EXPECT_EQ(Where(stop, 1), (std::vector<std::string>{"Square.main:15"}));
    session_.Resume();

    stop = NextStop();
    EXPECT_EQ(stop.breakpointId, late);
    EXPECT_EQ(Where(stop, 2), (std::vector<std::string>{"shapes.Late.twice:3", "Square.main:15"}));
    EXPECT_EQ(stop.frames[0].sourceFile, "Late.java");
    session_.Resume();

    stop = NextStop();
    EXPECT_EQ(stop.breakpointId, moved);
    EXPECT_EQ(Where(stop, 1), (std::vector<std::string>{"Square.main:18"}));
    bool reported = false;
    for (const DebugBreakpoint& placed : recorder_.placed) {
        if (placed.id == moved) {
            EXPECT_EQ(placed.requestedLine, 16);
            EXPECT_EQ(placed.line, 18);
            reported = true;
        }
    }
    EXPECT_TRUE(reported);
    session_.Resume();

    EXPECT_EQ(ExitCode(), 3);
    EXPECT_TRUE(recorder_.vmDeath);
    EXPECT_EQ(recorder_.disconnectReason, "");
    EXPECT_EQ(recorder_.stops.size(), 4u);
    EXPECT_EQ(session_.Breakpoints().size(), 4u);
    EXPECT_EQ(recorder_.problems, std::vector<std::string>{});
}

TEST_F(DebugSessionTest, StepsOverIntoAndOutFollowTheLoopAndTheRecursion)
{
    session_.AddBreakpoint(Source("Walk.java"), "Walk", 10);
    Launch("Walk");
    std::vector<std::string> path = Where(NextStop(), 1);
    using Kind = DebugSession::StepKind;
    const Kind steps[] = {
        Kind::Over, Kind::Over, Kind::Over, Kind::Over, Kind::Over, Kind::Over,  // the loop
        Kind::Into,  // depth(2)
        Kind::Over, Kind::Into,  // depth(1)
        Kind::Out,   // back in depth(2), still on the call's line
        Kind::Over,  // its return
        Kind::Out,   // back in main
        Kind::Over,
        Kind::Into,  // println is the JDK's: stepped over
    };
    std::size_t deepest = 0;
    for (const Kind kind : steps) {
        session_.Step(kind);
        const DebugStop stop = NextStop();
        EXPECT_EQ(stop.reason, DebugStop::Reason::Step);
        deepest = std::max(deepest, stop.frames.size());
        path.push_back(Where(stop, 1).empty() ? "?" : Where(stop, 1)[0]);
    }
    EXPECT_EQ(path, (std::vector<std::string>{
                        "Walk.main:10", "Walk.main:11", "Walk.main:12", "Walk.main:11", "Walk.main:12",
                        "Walk.main:11", "Walk.main:14", "Walk.depth:3", "Walk.depth:5", "Walk.depth:3",
                        "Walk.depth:5", "Walk.depth:6", "Walk.main:14", "Walk.main:15", "Walk.main:16"}));
    EXPECT_EQ(deepest, 3u);
    // Detached, the program runs on to its end by itself.
    session_.Detach();
    EXPECT_EQ(ExitCode(), 0);
    EXPECT_EQ(recorder_.disconnectReason, "");
    EXPECT_EQ(quillet::test::ReadFileBytes(Source("Walk.out")), "3\n");
}

TEST_F(DebugSessionTest, ValuesOfEveryKindAreRead)
{
    session_.AddBreakpoint(Source("Values.java"), "Values", 21);
    Launch("Values");
    const DebugStop stop = NextStop();
    ASSERT_EQ(Where(stop, 1), std::vector<std::string>{"Values.show:21"});
    const std::vector<DebugVariable> locals = Locals(stop.frames[0]);
    std::vector<std::string> shown;
    for (const DebugVariable& local : locals)
        shown.push_back(local.typeName + " " + local.name + " = " +
                        (local.hasText ? QuotedJavaString(local.stringText) : DebugValueText(local.value)));
    EXPECT_EQ(shown, (std::vector<std::string>{
                         "boolean flag = true", "byte b = -8", "char c = '\xCE\xA9'", "short s = -300",
                         "int i = 123456789", "long l = -9876543210L", "float f = 1.5f", "double d = -2.25",
                         "java.lang.String text = \"Gr\xC3\xBC\xC3\x9F" "e, \xE4\xB8\x96\xE7\x95\x8C \xF0\x9F\x98\x80\"",
                         "int[][] grid = array #" + std::to_string(Named(locals, "grid")->value.bits),
                         "java.lang.Object nothing = null",
                         "int[] big = array #" + std::to_string(Named(locals, "big")->value.bits),
                         "java.lang.String[] words = array #" + std::to_string(Named(locals, "words")->value.bits)}));
    EXPECT_EQ(Named(locals, "nothing")->value.tag, jdwp::tag::kObject);
    EXPECT_TRUE(Named(locals, "nothing")->value.IsNull());
    EXPECT_EQ(Named(locals, "big")->arrayLength, 10000);

    const auto [bigLength, firstHundred] = Array(Named(locals, "big")->value.bits, 100);
    EXPECT_EQ(bigLength, 10000);
    ASSERT_EQ(firstHundred.size(), 100u);
    for (std::size_t k = 0; k < firstHundred.size(); ++k) {
        EXPECT_EQ(firstHundred[k].name, "[" + std::to_string(k) + "]");
        EXPECT_EQ(firstHundred[k].value.AsInteger(), static_cast<std::int64_t>(k * 3));
    }
    EXPECT_EQ(firstHundred[99].typeName, "int");

    const auto [rows, grid] = Array(Named(locals, "grid")->value.bits, 10);
    EXPECT_EQ(rows, 2);
    ASSERT_EQ(grid.size(), 2u);
    EXPECT_EQ(grid[1].typeName, "int[]");
    EXPECT_EQ(grid[1].arrayLength, 3);
    const auto [columns, row] = Array(grid[1].value.bits, 10);
    EXPECT_EQ(columns, 3);
    ASSERT_EQ(row.size(), 3u);
    EXPECT_EQ(DebugValueText(row[0].value) + DebugValueText(row[1].value) + DebugValueText(row[2].value), "345");

    const auto [wordCount, words] = Array(Named(locals, "words")->value.bits, 10);
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[0].stringText, "a");
    EXPECT_TRUE(words[1].value.IsNull());
    EXPECT_EQ(words[2].stringText, "c");

    std::optional<DebugValue> self;
    session_.Values().ReadThis(stop.frames[0], [&](DebugValue value, std::string error) {
        EXPECT_EQ(error, "");
        self = value;
    });
    ASSERT_TRUE(Pump([&] { return self.has_value(); }));
    ASSERT_FALSE(self->IsNull());
    const std::vector<DebugVariable> fields = Fields(self->bits);
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[0].name + "=" + DebugValueText(fields[0].value), "counter=7");
    EXPECT_EQ(fields[1].stringText, "field");
    EXPECT_EQ(fields[2].typeName, "Values");
    ASSERT_FALSE(fields[2].value.IsNull());
    const std::vector<DebugVariable> nextFields = Fields(fields[2].value.bits);
    ASSERT_EQ(nextFields.size(), 3u);
    EXPECT_TRUE(nextFields[2].value.IsNull());

    // main's frame below: its locals, and `this` of a static method is null.
    ASSERT_GE(stop.frames.size(), 2u);
    const std::vector<DebugVariable> mainLocals = Locals(stop.frames[1]);
    ASSERT_EQ(mainLocals.size(), 2u);
    EXPECT_EQ(mainLocals[0].name, "args");
    EXPECT_EQ(mainLocals[0].arrayLength, 0);
    EXPECT_EQ(mainLocals[1].name, "v");
    EXPECT_EQ(mainLocals[1].value.bits, self->bits);

    std::optional<DebugThreadState> thread;
    session_.Values().ReadThreadState(stop.thread, [&](DebugThreadState state, std::string error) {
        EXPECT_EQ(error, "");
        thread = state;
    });
    ASSERT_TRUE(Pump([&] { return thread.has_value(); }));
    EXPECT_TRUE(thread->suspended);
    EXPECT_EQ(thread->frameCount, static_cast<int>(stop.frames.size()));

    session_.Terminate(42);
    EXPECT_EQ(ExitCode(), 42);
}

TEST_F(DebugSessionTest, AnUncaughtExceptionStopsAtTheThrowingLine)
{
    Launch("Thrower");
    const DebugStop stop = NextStop();
    EXPECT_EQ(stop.reason, DebugStop::Reason::Exception);
    EXPECT_EQ(stop.exceptionClass, "java.lang.IllegalStateException");
    EXPECT_EQ(Where(stop, 2), (std::vector<std::string>{"Thrower.check:4", "Thrower.main:12"}));
    const std::vector<DebugVariable> locals = Locals(stop.frames[0]);
    ASSERT_EQ(locals.size(), 1u);
    EXPECT_EQ(locals[0].name + "=" + DebugValueText(locals[0].value), "value=3");
    session_.Resume();
    EXPECT_EQ(ExitCode(), 1);
    EXPECT_EQ(recorder_.stops.size(), 1u);
    EXPECT_NE(quillet::test::ReadFileBytes(Source("Thrower.out")).find("caught"), std::string::npos);
}

TEST_F(DebugSessionTest, TwoThreadsAtOneBreakpointStopOneAfterTheOther)
{
    session_.AddBreakpoint(Source("Pair.java"), "Pair", 3);
    Launch("Pair");
    std::vector<std::string> seen;
    for (int i = 0; i < 2; ++i) {
        const DebugStop stop = NextStop();
        ASSERT_EQ(Where(stop, 1), std::vector<std::string>{"Pair.work:3"});
        const std::vector<DebugVariable> locals = Locals(stop.frames[0]);
        ASSERT_EQ(locals.size(), 1u);
        seen.push_back(stop.threadName + " n=" + DebugValueText(locals[0].value));
        session_.Resume();
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{"main n=2", "other n=1"}));
    EXPECT_EQ(ExitCode(), 0);
    EXPECT_EQ(recorder_.stops.size(), 2u);
}

TEST(DebugListener, AcceptsOneConnectionOfThisUserAndReadsSocketOwners)
{
    DebugListener listener;
    std::string failure;
    ASSERT_TRUE(listener.Listen(&failure)) << failure;
    ASSERT_GT(listener.Port(), 0);
    EXPECT_EQ(DebugListener::AgentArgument(listener.Port()),
              "-agentlib:jdwp=transport=dt_socket,server=n,suspend=y,address=127.0.0.1:" +
                  std::to_string(listener.Port()));

    auto connect = [&]() {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<std::uint16_t>(listener.Port()));
        const int result = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        if (result != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    };
    const int client = connect();
    ASSERT_GE(client, 0);
    sockaddr_in local{};
    socklen_t length = sizeof local;
    ASSERT_EQ(::getsockname(client, reinterpret_cast<sockaddr*>(&local), &length), 0);
    EXPECT_EQ(DebugListener::SocketOwner(ntohs(local.sin_port), listener.Port()), static_cast<long>(::getuid()));

    pollfd waiting{listener.Fd(), POLLIN, 0};
    ASSERT_EQ(::poll(&waiting, 1, 5000), 1);
    const int accepted = listener.Accept();
    ASSERT_GE(accepted, 0);
    EXPECT_EQ(listener.Fd(), -1);
    EXPECT_EQ(connect(), -1) << "no second connection";
    ::close(accepted);
    ::close(client);

    // Another user's socket, as the kernel lists it.
    TempDir proc;
    std::filesystem::create_directories(proc.Path() / "net");
    quillet::test::WriteFileBytes(
        proc.File("net/tcp"),
        "  sl  local_address rem_address   st tx_queue rx_queue tr tm->when retrnsmt   uid  timeout inode\n"
        "   0: 0100007F:9C40 0100007F:1F90 01 00000000:00000000 00:00000000 00000000  4242        0 1 1\n");
    EXPECT_EQ(DebugListener::SocketOwner(0x9C40, 0x1F90, proc.Path().string()), 4242);
    EXPECT_EQ(DebugListener::SocketOwner(0x9C41, 0x1F90, proc.Path().string()), -1);
}

TEST(DebugListener, RefusesAConnectionOfAnotherUser)
{
    if (::getuid() != 0)
        GTEST_SKIP() << "connecting as another user needs root";
    DebugListener listener;
    std::string failure;
    ASSERT_TRUE(listener.Listen(&failure)) << failure;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(listener.Port()));
    int connected[2];
    ASSERT_EQ(::pipe(connected), 0);
    const pid_t stranger = ::fork();
    ASSERT_GE(stranger, 0);
    if (stranger == 0) {
        // The user "nobody" connects and waits to be killed.
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            ::_exit(3);
        const char done = 'x';
        if (::write(connected[1], &done, 1) != 1)
            ::_exit(4);
        ::pause();
        ::_exit(0);
    }
    ::close(connected[1]);
    char got = 0;
    ASSERT_EQ(::read(connected[0], &got, 1), 1) << "the other user could not connect";
    ::close(connected[0]);
    pollfd waiting{listener.Fd(), POLLIN, 0};
    ASSERT_EQ(::poll(&waiting, 1, 5000), 1);
    EXPECT_EQ(listener.Accept(), -1);
    EXPECT_GE(listener.Fd(), 0) << "still listening for this user's program";

    const int own = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_EQ(::connect(own, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::poll(&waiting, 1, 5000), 1);
    const int accepted = listener.Accept();
    EXPECT_GE(accepted, 0);
    ::close(accepted);
    ::close(own);
    ::kill(stranger, SIGKILL);
    ::waitpid(stranger, nullptr, 0);
}

}  // namespace
