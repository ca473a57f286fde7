#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <sys/mman.h>
#include <type_traits>

// A growable array with a movable gap, so that runs of insertions and
// deletions at one place cost nothing but the moves of the gap between them.
// Invariant: gapLength_ == capacity_ - length_, and elements [0, part1_)
// lie before the gap, the rest after it.
template <class T>
class VxEditGapVector_T {
    static_assert(std::is_trivially_copyable_v<T>, "elements are moved as bytes");

public:
    std::ptrdiff_t Length() const { return length_; }
    std::size_t Capacity() const { return static_cast<std::size_t>(capacity_); }

    T ValueAt(std::ptrdiff_t position) const
    {
        return position < part1_ ? body_[position] : body_[position + gapLength_];
    }
    void SetValueAt(std::ptrdiff_t position, T value)
    {
        (position < part1_ ? body_[position] : body_[position + gapLength_]) = value;
    }

    void Reserve(std::ptrdiff_t capacity)
    {
        if (capacity > capacity_)
            Reallocate(capacity);
    }

    void Insert(std::ptrdiff_t position, const T* values, std::ptrdiff_t count)
    {
        if (count <= 0)
            return;
        MakeRoomAt(position, count);
        std::memcpy(&body_[part1_], values, count * sizeof(T));
        Filled(count);
    }

    void InsertValue(std::ptrdiff_t position, std::ptrdiff_t count, T value)
    {
        if (count <= 0)
            return;
        MakeRoomAt(position, count);
        std::fill_n(body_.get() + part1_, count, value);
        Filled(count);
    }

    void Delete(std::ptrdiff_t position, std::ptrdiff_t count)
    {
        if (count <= 0)
            return;
        if (position == 0 && count == length_) {
            part1_ = 0;
            length_ = 0;
            gapLength_ = capacity_;
            return;
        }
        MoveGapTo(position);
        gapLength_ += count;
        length_ -= count;
    }

    void Clear() { Delete(0, length_); }

    // Room for count elements at the end, to be filled by the caller and
    // then taken in with Appended.
    T* RoomAtEnd(std::ptrdiff_t count)
    {
        MakeRoomAt(length_, count);
        return body_.get() + part1_;
    }
    void Appended(std::ptrdiff_t count) { Filled(count); }

    // A pointer to count contiguous elements from position on (valid until
    // the next change). A gap inside the range moves to the nearer end of
    // it, so that asking for the text around an edit stays cheap.
    T* RangePointer(std::ptrdiff_t position, std::ptrdiff_t count)
    {
        if (position < part1_ && position + count > part1_)
            MoveGapTo(part1_ - position <= position + count - part1_ ? position : position + count);
        if (!body_)
            return nullptr;
        return position < part1_ ? body_.get() + position : body_.get() + position + gapLength_;
    }

    void CopyOut(T* destination, std::ptrdiff_t position, std::ptrdiff_t count) const
    {
        const std::ptrdiff_t before = std::clamp<std::ptrdiff_t>(part1_ - position, 0, count);
        if (before > 0)
            std::memcpy(destination, body_.get() + position, before * sizeof(T));
        if (count > before)
            std::memcpy(destination + before, body_.get() + position + before + gapLength_,
                        (count - before) * sizeof(T));
    }

    // The stored elements of [from, to) as at most two contiguous pieces.
    template <class Visit>
    void ForEachPiece(std::ptrdiff_t from, std::ptrdiff_t to, Visit&& visit) const
    {
        if (from < part1_ && from < to)
            visit(body_.get() + from, std::min(to, part1_) - from);
        const std::ptrdiff_t second = std::max(from, part1_);
        if (second < to)
            visit(body_.get() + second + gapLength_, to - second);
    }

    // The first index in [from, to) holding value, or to.
    std::ptrdiff_t Find(std::ptrdiff_t from, std::ptrdiff_t to, T value) const
    {
        std::ptrdiff_t found = to;
        std::ptrdiff_t pieceStart = from;
        ForEachPiece(from, to, [&](const T* piece, std::ptrdiff_t count) {
            if (found != to)
                return;
            const T* hit = nullptr;
            if constexpr (sizeof(T) == 1)
                hit = static_cast<const T*>(std::memchr(piece, static_cast<unsigned char>(value), count));
            else {
                const T* end = std::find(piece, piece + count, value);
                hit = end == piece + count ? nullptr : end;
            }
            if (hit)
                found = pieceStart + (hit - piece);
            pieceStart += count;
        });
        return found;
    }

    // The last index in [from, to) holding the byte, or -1 (bytes only).
    std::ptrdiff_t FindLast(std::ptrdiff_t from, std::ptrdiff_t to, T value) const
    {
        static_assert(sizeof(T) == 1);
        const std::ptrdiff_t second = std::max(from, part1_);
        if (second < to) {
            const T* piece = body_.get() + second + gapLength_;
            if (const void* hit = memrchr(piece, static_cast<unsigned char>(value), to - second))
                return second + (static_cast<const T*>(hit) - piece);
        }
        const std::ptrdiff_t firstEnd = std::min(to, part1_);
        if (from < firstEnd) {
            const T* piece = body_.get() + from;
            if (const void* hit = memrchr(piece, static_cast<unsigned char>(value), firstEnd - from))
                return from + (static_cast<const T*>(hit) - piece);
        }
        return -1;
    }

private:
    void MoveGapTo(std::ptrdiff_t position)
    {
        if (position == part1_)
            return;
        T* data = body_.get();
        if (position < part1_)
            std::memmove(data + position + gapLength_, data + position, (part1_ - position) * sizeof(T));
        else
            std::memmove(data + part1_, data + part1_ + gapLength_, (position - part1_) * sizeof(T));
        part1_ = position;
    }

    void MakeRoomAt(std::ptrdiff_t position, std::ptrdiff_t count)
    {
        if (gapLength_ < count) {
            const std::ptrdiff_t grown = capacity_ + std::max<std::ptrdiff_t>(capacity_ / 2, 64);
            Reallocate(std::max(length_ + count, grown));
        }
        MoveGapTo(position);
    }

    void Filled(std::ptrdiff_t count)
    {
        part1_ += count;
        gapLength_ -= count;
        length_ += count;
    }

    // Moves the gap to the end first, so that the copy keeps the elements in
    // order and the new room joins the gap.
    void Reallocate(std::ptrdiff_t capacity)
    {
        MoveGapTo(length_);
        Storage grown = Allocate(static_cast<std::size_t>(capacity));
        if (length_ > 0)
            std::memcpy(grown.get(), body_.get(), length_ * sizeof(T));
        body_ = std::move(grown);
        capacity_ = capacity;
        gapLength_ = capacity - length_;
    }

    // Large blocks come straight from the system, in huge pages where it
    // has them.
    static constexpr std::size_t kMappedBytes = std::size_t{4} << 20;

    struct Free {
        std::size_t bytes = 0;
        void operator()(T* elements) const
        {
            if (bytes >= kMappedBytes)
                munmap(elements, bytes);
            else
                std::free(elements);
        }
    };
    using Storage = std::unique_ptr<T[], Free>;

    // Left uninitialised: the gap is never read.
    static Storage Allocate(std::size_t count)
    {
        const std::size_t bytes = count * sizeof(T);
        void* memory = nullptr;
        if (bytes >= kMappedBytes) {
            memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (memory == MAP_FAILED)
                memory = nullptr;
            // Pages are faulted in as they are first written, so a load
            // touches the text once and room never used costs no memory.
            if (memory)
                madvise(memory, bytes, MADV_HUGEPAGE);
        } else {
            memory = std::malloc(bytes > 0 ? bytes : 1);
        }
        if (!memory)
            throw std::bad_alloc();
        return Storage(static_cast<T*>(memory), Free{bytes});
    }

    Storage body_;
    std::ptrdiff_t capacity_ = 0;
    std::ptrdiff_t part1_ = 0;
    std::ptrdiff_t gapLength_ = 0;
    std::ptrdiff_t length_ = 0;
};
