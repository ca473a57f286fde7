#pragma once

#include <cstdint>

// When to start a server again after it failed: 1 s after the first
// failure, doubling with each further one up to 60 s; a server that ran
// well for kHealthyMs before failing starts again after 1 s. Times are
// milliseconds of the caller's clock.
class LspBackoff {
public:
    static constexpr std::int64_t kFirstMs = 1000;
    static constexpr std::int64_t kLongestMs = 60000;
    static constexpr std::int64_t kHealthyMs = 120000;

    // The server is running well since `now`.
    void Started(std::int64_t now) { startedAt_ = now; running_ = true; }
    // The server failed at `now`; returns the delay before the next start.
    std::int64_t Failed(std::int64_t now);
    // How many failures in a row (1 for the first of a run): the first is
    // the one the user is told about.
    int Failures() const { return failures_; }

private:
    std::int64_t startedAt_ = 0;
    bool running_ = false;
    int failures_ = 0;
    std::int64_t delay_ = 0;
};
