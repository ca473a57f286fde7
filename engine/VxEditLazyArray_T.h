#pragma once

#include "engine/VxEditGapVector_T.h"

#include <cstddef>

// A per-line array whose entries start out as one default value and take no
// memory until some entry differs from it: a freshly loaded text of millions
// of lines costs nothing here until the first line gets something of its own.
// Invariant: while storage_ is empty every one of count_ entries is the default.
template <class T>
class VxEditLazyArray_T {
public:
    explicit VxEditLazyArray_T(T defaultValue) : default_(defaultValue) {}

    std::ptrdiff_t Length() const { return materialized_ ? storage_.Length() : count_; }
    T ValueAt(std::ptrdiff_t position) const
    {
        return materialized_ ? storage_.ValueAt(position) : default_;
    }
    void SetValueAt(std::ptrdiff_t position, T value)
    {
        if (!materialized_) {
            if (value == default_)
                return;
            Materialize();
        }
        storage_.SetValueAt(position, value);
    }

    void InsertDefault(std::ptrdiff_t position, std::ptrdiff_t count)
    {
        if (materialized_)
            storage_.InsertValue(position, count, default_);
        else
            count_ += count;
    }
    void Delete(std::ptrdiff_t position, std::ptrdiff_t count)
    {
        if (materialized_)
            storage_.Delete(position, count);
        else
            count_ -= count;
    }
    // count default entries and no storage.
    void Reset(std::ptrdiff_t count)
    {
        storage_ = VxEditGapVector_T<T>();
        materialized_ = false;
        count_ = count;
    }
    bool IsMaterialized() const { return materialized_; }

private:
    void Materialize()
    {
        storage_.Reserve(count_ + count_ / 8 + 16);
        storage_.InsertValue(0, count_, default_);
        materialized_ = true;
    }

    VxEditGapVector_T<T> storage_;
    T default_;
    std::ptrdiff_t count_ = 0;
    bool materialized_ = false;
};
