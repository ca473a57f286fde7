#pragma once

#include <mutex>

// Tells that a debugger run is active, for the whole application. Each read
// and write takes the one lock, because the run's end may be reported from
// another thread than the one that enables the Debug command.
class DebuggerRunFlag {
public:
    bool IsRunning() const
    {
        std::lock_guard<std::mutex> lock(lock_);
        return running_;
    }
    void SetRunning(bool running)
    {
        std::lock_guard<std::mutex> lock(lock_);
        running_ = running;
    }

private:
    mutable std::mutex lock_;
    bool running_ = false;
};
