#pragma once

#include "javatools/debug/DebugStop.h"

#include <string>

// What a debug session tells the windows. Every call comes from within the
// session's OnReadable (or a command of the caller), on the caller's thread.
class IDebugObserver {
public:
    virtual ~IDebugObserver() = default;

    // The handshake and the id sizes are done; the program is about to run.
    virtual void OnConnected(const std::string& vmDescription) { (void)vmDescription; }
    // A breakpoint found its code; line may differ from the line asked for.
    virtual void OnBreakpointPlaced(const DebugBreakpoint& breakpoint) { (void)breakpoint; }
    // The program stopped; it stays so until Resume or a step.
    virtual void OnStopped(const DebugStop& stop) = 0;
    // The program resumed (after Resume or a step).
    virtual void OnResumed() {}
    // The virtual machine is ending (System.exit or the last thread ended).
    virtual void OnVmDeath() {}
    // The connection ended; reason is empty for an ordinary end.
    virtual void OnDisconnected(const std::string& reason) = 0;
    // A command the session needed failed; the text says which.
    virtual void OnProblem(const std::string& text) { (void)text; }
};
