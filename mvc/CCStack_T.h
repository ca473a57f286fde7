#pragma once

#include <array>
#include <cstddef>
#include <utility>

namespace tarrow::foundation {

// A stack of bounded depth kept in a ring: pushing onto a full stack
// overwrites the oldest entry and hands it back to the caller, so the newest
// Capacity entries always survive. Empty slots hold T().
template <class T, std::size_t Capacity>
class CCStack_T {
public:
    static constexpr std::size_t kCapacity = Capacity;

    // Returns the entry that fell off the bottom, or T() when none did.
    T Push(T item)
    {
        T dropped = std::exchange(items_[top_], std::move(item));
        top_ = (top_ + 1) % Capacity;
        if (count_ < Capacity)
            ++count_;
        return dropped;
    }

    T Pop()
    {
        if (count_ == 0)
            return T();
        top_ = (top_ + Capacity - 1) % Capacity;
        --count_;
        return std::exchange(items_[top_], T());
    }

    T Peek() const { return count_ == 0 ? T() : items_[(top_ + Capacity - 1) % Capacity]; }

    std::size_t Count() const { return count_; }
    bool IsEmpty() const { return count_ == 0; }
    bool IsFull() const { return count_ == Capacity; }

private:
    std::array<T, Capacity> items_{};
    std::size_t top_ = 0;  // slot the next push fills
    std::size_t count_ = 0;
};

}  // namespace tarrow::foundation
