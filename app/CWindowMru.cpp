#include "app/CWindowMru.h"

#include <algorithm>

void CWindowMru::MoveToFront(Window window)
{
    const auto found = std::find(order_.begin(), order_.end(), window);
    if (found != order_.end())
        order_.erase(found);
    order_.insert(order_.begin(), window);
}

void CWindowMru::Activated(Window window)
{
    if (!window)
        return;
    const bool known = std::find(order_.begin(), order_.end(), window) != order_.end();
    if (!walking_ || !known)
        MoveToFront(window);
}

void CWindowMru::Removed(Window window)
{
    order_.erase(std::remove(order_.begin(), order_.end(), window), order_.end());
    if (!walking_)
        return;
    const auto found = std::find(walk_.begin(), walk_.end(), window);
    if (found == walk_.end())
        return;
    const auto index = static_cast<std::size_t>(found - walk_.begin());
    walk_.erase(found);
    if (walk_.empty()) {
        walking_ = false;
        return;
    }
    // The walk stays on the window it showed, or moves on to the one after
    // the window that went.
    if (index < at_)
        --at_;
    at_ %= walk_.size();
}

CWindowMru::Window CWindowMru::Step(int step)
{
    if (!walking_) {
        if (order_.size() < 2)
            return nullptr;
        walk_ = order_;
        at_ = 0;
        walking_ = true;
    }
    const std::size_t count = walk_.size();
    at_ = step >= 0 ? (at_ + 1) % count : (at_ + count - 1) % count;
    return walk_[at_];
}

CWindowMru::Window CWindowMru::Commit()
{
    if (!walking_)
        return nullptr;
    walking_ = false;
    const Window chosen = walk_[at_];
    MoveToFront(chosen);
    walk_.clear();
    return chosen;
}

CWindowMru::Window CWindowMru::Cancel()
{
    if (!walking_)
        return nullptr;
    walking_ = false;
    const Window start = walk_.front();
    walk_.clear();
    return start;
}

CWindowMru::Window CWindowMru::Successor(Window closing) const
{
    for (Window window : order_) {
        if (window != closing)
            return window;
    }
    return nullptr;
}
