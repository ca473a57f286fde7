#pragma once

#include "javatools/debug/DebugClassCache.h"
#include "javatools/debug/DebugValueReader.h"
#include "javatools/debug/DebugStop.h"
#include "javatools/debug/JdwpConnection.h"
#include "javatools/debug/JdwpReplies.h"
#include "javatools/debug/SourceClassBodies.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class IDebugObserver;

// One debugged program over JDWP, driven from the caller's event loop
// (see JdwpConnection): breakpoints by file and line that wait for their
// classes to load, stops at breakpoints, steps and uncaught exceptions with
// the stopped thread's frames, and resume, step, exit and detach. The
// program is expected to start suspended (the agent's suspend=y): the
// session arms its breakpoints when the virtual machine starts and then
// lets it run. The observer must not destroy the session from one of its
// calls.
class DebugSession {
public:
    enum class StepKind { Over, Into, Out };

    explicit DebugSession(IDebugObserver& observer);
    DebugSession(const DebugSession&) = delete;
    DebugSession& operator=(const DebugSession&) = delete;

    // Takes over a socket connected to the virtual machine's agent.
    void Start(int connectedFd);
    int Fd() const { return connection_.Fd(); }
    bool WantsWrite() const { return connection_.WantsWrite(); }
    void OnReadable() { connection_.OnReadable(); }
    void OnWritable() { connection_.OnWritable(); }
    bool IsConnected() const { return connection_.IsOpen(); }

    // A breakpoint on a line of a source file whose top-level class is
    // className ("p.Square"; its nested classes "p.Square$..." count too;
    // empty: the file's name after the package its text declares).
    // Returns its id. Placed (and reported) once a class of the file with
    // code at or after the line is loaded; a line without code moves to the
    // next line with code in the same class body (the file is read for its
    // class bodies; an unreadable file lets it move to any next line).
    // Added while the program is stopped, it is set in the loaded classes
    // before a Resume or step lets the program run on.
    int AddBreakpoint(const std::string& file, const std::string& className, int line);
    void RemoveBreakpoint(int id);
    std::vector<DebugBreakpoint> Breakpoints() const;
    // Whether an exception that nothing catches stops the program (on by
    // default); takes effect when the virtual machine starts.
    void SetStopOnUncaughtExceptions(bool on) { stopOnUncaught_ = on; }

    bool IsStopped() const { return stopped_; }
    const DebugStop& CurrentStop() const { return stop_; }
    // Lets every thread run on; a stop of another thread that came while
    // this one was shown is reported now instead.
    void Resume();
    // Runs the stopped thread to the next line (Over), into a call of the
    // program's own code (Into) or out of the current method (Out). Steps
    // never stop in the JDK's java.*, javax.*, jdk.* and sun.* classes: a
    // call into them is stepped over, a return into them runs on to the
    // program's own code.
    void Step(StepKind kind);
    // Suspends every thread without a stop to report.
    void Suspend();
    // Ends the program with the exit code.
    void Terminate(int exitCode);
    // Lets the program run on without the debugger and closes the connection.
    void Detach();

    DebugValueReader& Values() { return valueReader_; }

private:
    struct Breakpoint {
        DebugBreakpoint info;
        std::set<std::uint64_t> placedIn;     // classes that carry its requests
        std::vector<std::uint32_t> requests;  // breakpoint requests
        std::shared_ptr<const SourceClassBodies> bodies;
    };
    using Done = std::function<void()>;

    void OnCommand(const JdwpPacket& packet);
    void HandleEvents(const JdwpPacket& packet);
    void OnVmStart();
    void Arm(Breakpoint& breakpoint);
    void RequestClassPrepare(const std::string& pattern);
    void ResolveLoaded(const std::string& className, Done done);
    void ResolveNested(std::uint64_t typeId, int depth, Done done);
    void ResolveInClass(std::uint64_t typeId, Done done);
    void PlaceIn(Breakpoint& breakpoint, const DebugClassInfo& info);
    void ClearRequests(Breakpoint& breakpoint);
    void SetBreakpointRequest(int breakpointId, const DebugClassInfo& info, std::uint64_t methodId,
                              std::uint64_t codeIndex);
    void ReportStop(DebugStop::Reason reason, const JdwpEvent& event, int breakpointId);
    void ResumeAfter(std::uint8_t suspendPolicy, std::uint64_t thread);
    void ResumeVm();
    void ArmingDone();
    void Problem(const JdwpPacket& reply, const std::string& what);

    IDebugObserver& observer_;
    JdwpConnection connection_;
    DebugClassCache classes_;
    DebugValueReader valueReader_;
    bool ready_ = false;
    bool started_ = false;
    bool stopOnUncaught_ = true;
    std::vector<JdwpPacket> early_;  // events that came before the id sizes
    int nextBreakpoint_ = 1;
    std::map<int, Breakpoint> breakpoints_;
    std::map<std::uint32_t, int> breakpointOfRequest_;
    std::set<std::string> preparePatterns_;
    int arming_ = 0;           // breakpoints being set in loaded classes
    int deferredResumes_ = 0;  // resumes that wait for them
    std::uint32_t stepRequest_ = 0;
    bool stopped_ = false;
    bool reporting_ = false;  // a stop's frames are being read
    struct WaitingStop {
        DebugStop::Reason reason;
        JdwpEvent event;
        int breakpointId;
    };
    std::vector<WaitingStop> waitingStops_;  // stops of other threads, shown one by one
    std::uint64_t stopGeneration_ = 0;
    DebugStop stop_;
};
