#include "javatools/lsp/LspBackoff.h"

#include <algorithm>

std::int64_t LspBackoff::Failed(std::int64_t now)
{
    if (running_ && now - startedAt_ >= kHealthyMs) {
        failures_ = 0;
        delay_ = 0;
    }
    running_ = false;
    ++failures_;
    delay_ = delay_ == 0 ? kFirstMs : std::min(delay_ * 2, kLongestMs);
    return delay_;
}
