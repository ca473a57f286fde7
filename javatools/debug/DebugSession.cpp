#include "javatools/debug/DebugSession.h"

#include "javatools/debug/BreakpointPlacement.h"
#include "javatools/debug/IDebugObserver.h"
#include "javatools/debug/JdwpReader.h"
#include "javatools/debug/JdwpWriter.h"
#include "javatools/debug/SourceTopLevelClass.h"

#include <fstream>
#include <memory>
#include <sstream>

namespace {

// Nested classes deeper than this are a broken answer.
constexpr int kMaxNesting = 64;

// The JDK's own classes, which Step Into steps over.
const char* const kSystemPatterns[] = {"java.*", "javax.*", "jdk.*", "sun.*"};

std::string BaseName(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool BelongsTo(const std::string& className, const std::string& topLevel)
{
    return className == topLevel ||
           (className.size() > topLevel.size() && className.compare(0, topLevel.size(), topLevel) == 0 &&
            className[topLevel.size()] == '$');
}

// A callback to call `parts` times, after which done runs; done runs at
// once when there are no parts.
std::function<void()> Join(std::size_t parts, std::function<void()> done)
{
    if (parts == 0) {
        done();
        return [] {};
    }
    auto remaining = std::make_shared<std::size_t>(parts);
    return [remaining, done = std::move(done)] {
        if (--*remaining == 0)
            done();
    };
}

}  // namespace

DebugSession::DebugSession(IDebugObserver& observer)
    : observer_(observer), classes_(connection_), valueReader_(connection_, classes_)
{
    connection_.SetCommandHandler([this](const JdwpPacket& packet) { OnCommand(packet); });
    connection_.SetCloseHandler([this](const std::string& reason) {
        stopped_ = false;
        observer_.OnDisconnected(reason);
    });
}

void DebugSession::Start(int connectedFd)
{
    connection_.Open(connectedFd);
    connection_.Send(jdwp::vm::kSet, jdwp::vm::kIdSizes, {}, [this](const JdwpPacket& r) {
        JdwpReader reader(r.body, classes_.IdSizes());
        jdwp::IdSizes sizes;
        if (r.errorCode != 0 || !ParseIdSizes(reader, sizes)) {
            connection_.Close("the virtual machine gave no usable id sizes");
            return;
        }
        classes_.SetIdSizes(sizes);
        connection_.Send(jdwp::vm::kSet, jdwp::vm::kVersion, {}, [this](const JdwpPacket& reply) {
            JdwpReader versionReader(reply.body, classes_.IdSizes());
            JdwpVersion version;
            ParseVersion(versionReader, version);
            ready_ = true;
            observer_.OnConnected(version.description);
            auto early = std::move(early_);
            early_.clear();
            for (const JdwpPacket& packet : early)
                HandleEvents(packet);
        });
    });
}

void DebugSession::OnCommand(const JdwpPacket& packet)
{
    if (packet.commandSet != jdwp::event::kSet || packet.command != jdwp::event::kComposite)
        return;
    if (!ready_)
        early_.push_back(packet);
    else
        HandleEvents(packet);
}

void DebugSession::HandleEvents(const JdwpPacket& packet)
{
    JdwpReader reader(packet.body, classes_.IdSizes());
    JdwpEventSet set;
    if (!ParseEventSet(reader, set) && set.events.empty()) {
        observer_.OnProblem("an event from the virtual machine could not be read");
        return;
    }
    const JdwpEvent* stopEvent = nullptr;
    DebugStop::Reason reason = DebugStop::Reason::Breakpoint;
    int breakpointId = 0;
    bool vmStart = false;
    bool vmDeath = false;
    std::vector<const JdwpEvent*> prepared;
    for (const JdwpEvent& event : set.events) {
        switch (event.kind) {
        case jdwp::kind::kVmStart: vmStart = true; break;
        case jdwp::kind::kVmDeath: vmDeath = true; break;
        case jdwp::kind::kClassPrepare: prepared.push_back(&event); break;
        case jdwp::kind::kBreakpoint: {
            const auto owner = breakpointOfRequest_.find(event.requestId);
            if (owner == breakpointOfRequest_.end())
                break;
            if (!stopEvent || reason != DebugStop::Reason::Breakpoint) {
                stopEvent = &event;
                reason = DebugStop::Reason::Breakpoint;
                breakpointId = owner->second;
            }
            break;
        }
        case jdwp::kind::kSingleStep:
            if (!stopEvent) {
                stopEvent = &event;
                reason = DebugStop::Reason::Step;
            }
            break;
        case jdwp::kind::kException:
            if (!stopEvent) {
                stopEvent = &event;
                reason = DebugStop::Reason::Exception;
            }
            break;
        default: break;
        }
    }
    if (vmStart) {
        OnVmStart();
        ResumeAfter(set.suspendPolicy, 0);
        return;
    }
    if (stopEvent && (stopped_ || reporting_)) {
        // Another thread stopped while one stop is shown. It keeps its
        // suspension and is shown when the user resumes from this one.
        waitingStops_.push_back({reason, *stopEvent, breakpointId});
        return;
    }
    if (stopEvent) {
        ReportStop(reason, *stopEvent, breakpointId);
        return;
    }
    if (!prepared.empty()) {
        auto remaining = std::make_shared<std::size_t>(prepared.size());
        const std::uint8_t policy = set.suspendPolicy;
        const std::uint64_t thread = prepared.front()->thread;
        for (const JdwpEvent* event : prepared) {
            classes_.NoteSignature(event->typeId, event->typeTag, event->signature);
            ResolveInClass(event->typeId, [this, remaining, policy, thread]() {
                if (--*remaining == 0)
                    ResumeAfter(policy, thread);
            });
        }
        return;
    }
    if (vmDeath)
        observer_.OnVmDeath();
    else
        ResumeAfter(set.suspendPolicy, set.events.empty() ? 0 : set.events.front().thread);
}

void DebugSession::ResumeAfter(std::uint8_t suspendPolicy, std::uint64_t thread)
{
    if (suspendPolicy == jdwp::suspend::kEventThread && thread != 0) {
        connection_.Send(jdwp::thread::kSet, jdwp::thread::kResume,
                         JdwpWriter(classes_.IdSizes()).ObjectId(thread).Bytes(), nullptr);
    } else if (suspendPolicy != jdwp::suspend::kNone) {
        ResumeVm();
    }
}

void DebugSession::ResumeVm()
{
    // Breakpoints being set in loaded classes go in before anything runs.
    if (arming_ > 0)
        ++deferredResumes_;
    else
        connection_.Send(jdwp::vm::kSet, jdwp::vm::kResume, {}, nullptr);
}

void DebugSession::ArmingDone()
{
    if (--arming_ > 0)
        return;
    for (; deferredResumes_ > 0; --deferredResumes_)
        connection_.Send(jdwp::vm::kSet, jdwp::vm::kResume, {}, nullptr);
}

void DebugSession::OnVmStart()
{
    started_ = true;
    for (auto& [id, breakpoint] : breakpoints_)
        Arm(breakpoint);
    if (!stopOnUncaught_)
        return;
    JdwpWriter body(classes_.IdSizes());
    body.Byte(jdwp::kind::kException).Byte(jdwp::suspend::kAll).Int(1);
    body.Byte(jdwp::modifier::kExceptionOnly).ReferenceTypeId(0).Boolean(false).Boolean(true);
    connection_.Send(jdwp::request::kSet, jdwp::request::kSetCommand, body.Bytes(), [this](const JdwpPacket& r) {
        if (r.errorCode != 0)
            Problem(r, "stopping at uncaught exceptions could not be requested");
    });
}

int DebugSession::AddBreakpoint(const std::string& file, const std::string& className, int line)
{
    const int id = nextBreakpoint_++;
    Breakpoint& breakpoint = breakpoints_[id];
    breakpoint.info.id = id;
    breakpoint.info.file = file;
    breakpoint.info.className = className;
    breakpoint.info.requestedLine = line;
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    if (in) {
        text << in.rdbuf();
        breakpoint.bodies = std::make_shared<const SourceClassBodies>(text.str());
    }
    if (className.empty())
        breakpoint.info.className = SourceTopLevelClass(file, text.str());
    if (started_ && connection_.IsOpen())
        Arm(breakpoint);
    return id;
}

void DebugSession::RemoveBreakpoint(int id)
{
    const auto found = breakpoints_.find(id);
    if (found == breakpoints_.end())
        return;
    ClearRequests(found->second);
    breakpoints_.erase(found);
}

std::vector<DebugBreakpoint> DebugSession::Breakpoints() const
{
    std::vector<DebugBreakpoint> list;
    for (const auto& [id, breakpoint] : breakpoints_)
        list.push_back(breakpoint.info);
    return list;
}

void DebugSession::Arm(Breakpoint& breakpoint)
{
    const std::string& name = breakpoint.info.className;
    RequestClassPrepare(name);
    RequestClassPrepare(name + "$*");
    ++arming_;
    ResolveLoaded(name, [this] { ArmingDone(); });
}

void DebugSession::RequestClassPrepare(const std::string& pattern)
{
    if (!preparePatterns_.insert(pattern).second)
        return;
    JdwpWriter body(classes_.IdSizes());
    body.Byte(jdwp::kind::kClassPrepare).Byte(jdwp::suspend::kEventThread).Int(1);
    body.Byte(jdwp::modifier::kClassMatch).String(pattern);
    connection_.Send(jdwp::request::kSet, jdwp::request::kSetCommand, body.Bytes(), [this, pattern](const JdwpPacket& r) {
        if (r.errorCode != 0)
            Problem(r, "waiting for the class " + pattern + " to load could not be requested");
    });
}

void DebugSession::ResolveLoaded(const std::string& className, Done done)
{
    std::string signature = "L" + className + ";";
    for (char& c : signature)
        if (c == '.')
            c = '/';
    const std::string body = JdwpWriter(classes_.IdSizes()).String(signature).Bytes();
    connection_.Send(jdwp::vm::kSet, jdwp::vm::kClassesBySignature, body,
                     [this, done = std::move(done)](const JdwpPacket& r) {
                         JdwpReader reader(r.body, classes_.IdSizes());
                         std::vector<JdwpClassRef> found;
                         if (r.errorCode != 0 || !ParseClassRefs(reader, true, found))
                             found.clear();
                         const Done part = Join(2 * found.size(), done);
                         for (const JdwpClassRef& ref : found) {
                             ResolveInClass(ref.typeId, part);
                             ResolveNested(ref.typeId, 0, part);
                         }
                     });
}

void DebugSession::ResolveNested(std::uint64_t typeId, int depth, Done done)
{
    if (depth > kMaxNesting) {
        done();
        return;
    }
    const std::string body = JdwpWriter(classes_.IdSizes()).ReferenceTypeId(typeId).Bytes();
    connection_.Send(jdwp::reftype::kSet, jdwp::reftype::kNestedTypes, body,
                     [this, depth, done = std::move(done)](const JdwpPacket& r) {
                         JdwpReader reader(r.body, classes_.IdSizes());
                         std::vector<JdwpClassRef> nested;
                         if (r.errorCode != 0 || !ParseClassRefs(reader, false, nested))
                             nested.clear();
                         const Done part = Join(2 * nested.size(), done);
                         for (const JdwpClassRef& ref : nested) {
                             ResolveInClass(ref.typeId, part);
                             ResolveNested(ref.typeId, depth + 1, part);
                         }
                     });
}

void DebugSession::ResolveInClass(std::uint64_t typeId, Done done)
{
    classes_.WithLines(typeId, [this, done = std::move(done)](DebugClassInfo* info) {
        if (info) {
            const std::string name = info->Name();
            for (auto& [id, breakpoint] : breakpoints_) {
                if (!BelongsTo(name, breakpoint.info.className) || breakpoint.placedIn.count(info->typeId) != 0)
                    continue;
                if (!info->sourceFile.empty() && info->sourceFile != BaseName(breakpoint.info.file))
                    continue;
                PlaceIn(breakpoint, *info);
            }
        }
        done();
    });
}

void DebugSession::PlaceIn(Breakpoint& breakpoint, const DebugClassInfo& info)
{
    const int requested = breakpoint.info.requestedLine;
    std::function<bool(int)> sameBody;
    if (breakpoint.bodies) {
        sameBody = [bodies = breakpoint.bodies, requested](int line) {
            return bodies->BodyOfLine(line) == bodies->BodyOfLine(requested);
        };
    }
    const BreakpointPlacement placement = PlaceBreakpoint(info, requested, sameBody);
    if (placement.line == 0)
        return;
    DebugBreakpoint& shown = breakpoint.info;
    if (shown.line != 0 && placement.line > shown.line)
        return;
    const bool moved = shown.line != placement.line;
    if (moved && shown.line != 0)
        ClearRequests(breakpoint);
    breakpoint.placedIn.insert(info.typeId);
    for (const BreakpointPlacement::Spot& spot : placement.spots)
        SetBreakpointRequest(shown.id, info, spot.methodId, spot.codeIndex);
    if (moved) {
        shown.line = placement.line;
        observer_.OnBreakpointPlaced(shown);
    }
}

void DebugSession::ClearRequests(Breakpoint& breakpoint)
{
    for (const std::uint32_t request : breakpoint.requests) {
        const std::string body = JdwpWriter(classes_.IdSizes()).Byte(jdwp::kind::kBreakpoint).Int(request).Bytes();
        connection_.Send(jdwp::request::kSet, jdwp::request::kClear, body, nullptr);
        breakpointOfRequest_.erase(request);
    }
    breakpoint.requests.clear();
    breakpoint.placedIn.clear();
}

void DebugSession::SetBreakpointRequest(int breakpointId, const DebugClassInfo& info, std::uint64_t methodId,
                                        std::uint64_t codeIndex)
{
    jdwp::Location location;
    location.typeTag = info.typeTag != 0 ? info.typeTag : 1;
    location.classId = info.typeId;
    location.methodId = methodId;
    location.index = codeIndex;
    JdwpWriter body(classes_.IdSizes());
    body.Byte(jdwp::kind::kBreakpoint).Byte(jdwp::suspend::kAll).Int(1);
    body.Byte(jdwp::modifier::kLocationOnly).Location(location);
    connection_.Send(jdwp::request::kSet, jdwp::request::kSetCommand, body.Bytes(),
                     [this, breakpointId](const JdwpPacket& r) {
                         JdwpReader reader(r.body, classes_.IdSizes());
                         const std::uint32_t request = reader.Int();
                         if (r.errorCode != 0 || !reader.Ok()) {
                             Problem(r, "a breakpoint could not be set");
                             return;
                         }
                         const auto owner = breakpoints_.find(breakpointId);
                         if (owner == breakpoints_.end()) {
                             // Removed while the request was on its way.
                             const std::string clear = JdwpWriter(classes_.IdSizes())
                                                           .Byte(jdwp::kind::kBreakpoint)
                                                           .Int(request)
                                                           .Bytes();
                             connection_.Send(jdwp::request::kSet, jdwp::request::kClear, clear, nullptr);
                             return;
                         }
                         owner->second.requests.push_back(request);
                         breakpointOfRequest_[request] = breakpointId;
                     });
}

void DebugSession::ReportStop(DebugStop::Reason reason, const JdwpEvent& event, int breakpointId)
{
    // The step ends here, whatever stopped the thread.
    if (stepRequest_ != 0) {
        const std::string body =
            JdwpWriter(classes_.IdSizes()).Byte(jdwp::kind::kSingleStep).Int(stepRequest_).Bytes();
        connection_.Send(jdwp::request::kSet, jdwp::request::kClear, body, nullptr);
        stepRequest_ = 0;
    }
    auto stop = std::make_shared<DebugStop>();
    stop->reason = reason;
    stop->breakpointId = breakpointId;
    stop->thread = event.thread;
    stop->exception = event.exception;
    const std::uint64_t generation = ++stopGeneration_;
    // One part for each reply below, one for this function itself.
    auto remaining = std::make_shared<std::size_t>(1);
    reporting_ = true;
    auto finishOne = [this, stop, remaining, generation]() {
        if (--*remaining != 0 || generation != stopGeneration_)
            return;
        reporting_ = false;
        stopped_ = true;
        stop_ = *stop;
        observer_.OnStopped(stop_);
    };
    const jdwp::IdSizes& sizes = classes_.IdSizes();
    const std::string thread = JdwpWriter(sizes).ObjectId(event.thread).Bytes();
    ++*remaining;
    connection_.Send(jdwp::thread::kSet, jdwp::thread::kName, thread, [this, stop, finishOne](const JdwpPacket& r) {
        JdwpReader reader(r.body, classes_.IdSizes());
        stop->threadName = reader.String();
        finishOne();
    });
    ++*remaining;
    const std::string frames = JdwpWriter(sizes).ObjectId(event.thread).Int(0).Int(0xFFFFFFFFu).Bytes();
    connection_.Send(jdwp::thread::kSet, jdwp::thread::kFrames, frames,
                     [this, stop, remaining, finishOne](const JdwpPacket& r) {
                         JdwpReader reader(r.body, classes_.IdSizes());
                         std::vector<JdwpFrame> frameList;
                         if (r.errorCode != 0 || !ParseFrames(reader, frameList))
                             Problem(r, "the stopped thread's frames could not be read");
                         stop->frames.resize(frameList.size());
                         for (std::size_t i = 0; i < frameList.size(); ++i) {
                             DebugFrame& frame = stop->frames[i];
                             frame.thread = stop->thread;
                             frame.frameId = frameList[i].frameId;
                             frame.location = frameList[i].location;
                             ++*remaining;
                             classes_.WithMethodLines(
                                 frame.location.classId, frame.location.methodId,
                                 [stop, i, finishOne](DebugClassInfo* info, DebugMethodInfo* method) {
                                     DebugFrame& filled = stop->frames[i];
                                     if (info) {
                                         filled.className = info->Name();
                                         filled.sourceFile = info->sourceFile;
                                     }
                                     if (method) {
                                         filled.methodName = method->member.name;
                                         filled.line = method->LineAt(filled.location.index);
                                     }
                                     finishOne();
                                 });
                         }
                         finishOne();
                     });
    if (!event.exception.IsNull() && event.exception.IsObject()) {
        ++*remaining;
        const std::string object = JdwpWriter(sizes).ObjectId(event.exception.bits).Bytes();
        connection_.Send(jdwp::object::kSet, jdwp::object::kReferenceType, object,
                         [this, stop, finishOne](const JdwpPacket& r) {
                             JdwpReader reader(r.body, classes_.IdSizes());
                             JdwpClassRef type;
                             if (r.errorCode != 0 || !ParseTypeOf(reader, type)) {
                                 finishOne();
                                 return;
                             }
                             classes_.WithClass(type.typeId, [stop, finishOne](DebugClassInfo* info) {
                                 if (info)
                                     stop->exceptionClass = info->Name();
                                 finishOne();
                             });
                         });
    }
    finishOne();
}

void DebugSession::Resume()
{
    if (!connection_.IsOpen())
        return;
    ++stopGeneration_;
    stopped_ = false;
    reporting_ = false;
    ResumeVm();
    observer_.OnResumed();
    if (!waitingStops_.empty()) {
        // Still suspended by that stop's event: show it now.
        const WaitingStop next = waitingStops_.front();
        waitingStops_.erase(waitingStops_.begin());
        ReportStop(next.reason, next.event, next.breakpointId);
    }
}

void DebugSession::Step(StepKind kind)
{
    if (!stopped_ || !connection_.IsOpen())
        return;
    const int depth = kind == StepKind::Into ? jdwp::step::kInto
                      : kind == StepKind::Over ? jdwp::step::kOver
                                               : jdwp::step::kOut;
    JdwpWriter body(classes_.IdSizes());
    body.Byte(jdwp::kind::kSingleStep).Byte(jdwp::suspend::kAll).Int(2 + std::size(kSystemPatterns));
    body.Byte(jdwp::modifier::kStep).ObjectId(stop_.thread).Int(jdwp::step::kLine).Int(static_cast<std::uint32_t>(depth));
    for (const char* pattern : kSystemPatterns)
        body.Byte(jdwp::modifier::kClassExclude).String(pattern);
    // The count comes last so that only steps the filters above let
    // through are counted.
    body.Byte(jdwp::modifier::kCount).Int(1);
    connection_.Send(jdwp::request::kSet, jdwp::request::kSetCommand, body.Bytes(), [this](const JdwpPacket& r) {
        JdwpReader reader(r.body, classes_.IdSizes());
        const std::uint32_t request = reader.Int();
        if (r.errorCode != 0 || !reader.Ok()) {
            Problem(r, "the step could not be requested");
            return;
        }
        stepRequest_ = request;
    });
    Resume();
}

void DebugSession::Suspend()
{
    connection_.Send(jdwp::vm::kSet, jdwp::vm::kSuspend, {}, nullptr);
}

void DebugSession::Terminate(int exitCode)
{
    connection_.Send(jdwp::vm::kSet, jdwp::vm::kExit,
                     JdwpWriter(classes_.IdSizes()).Int(static_cast<std::uint32_t>(exitCode)).Bytes(), nullptr);
}

void DebugSession::Detach()
{
    if (!connection_.IsOpen())
        return;
    stopped_ = false;
    connection_.Send(jdwp::vm::kSet, jdwp::vm::kDispose, {}, [this](const JdwpPacket&) { connection_.Close({}); });
}

void DebugSession::Problem(const JdwpPacket& reply, const std::string& what)
{
    if (reply.errorCode == jdwp::error::kVmDead)
        return;
    observer_.OnProblem(what + " (JDWP error " + std::to_string(reply.errorCode) + ")");
}
