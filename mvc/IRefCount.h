#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

namespace tarrow::foundation {

// Shared objects (configurations, models, messages, readers, writers) are
// reference counted: they start with a count of 1 and delete themselves when
// the last reference is released.
class IRefCount {
public:
    virtual void AddRef() = 0;
    virtual void Release() = 0;

protected:
    virtual ~IRefCount() = default;
};

// The usual implementation of the count, for classes with one owner chain.
template <class Interface = IRefCount>
class CRefCounted : public Interface {
public:
    void AddRef() override { ++refCount_; }
    void Release() override
    {
        if (--refCount_ == 0)
            delete this;
    }
    long RefCount() const { return refCount_; }

protected:
    CRefCounted() = default;
    ~CRefCounted() override = default;

private:
    long refCount_ = 1;
};

// Holds one reference. Adopt() takes over a reference the caller already owns
// (a freshly created object); the constructor from a raw pointer adds one.
template <class T>
class RefPtr {
public:
    RefPtr() = default;
    RefPtr(T* object) : object_(object)
    {
        if (object_)
            object_->AddRef();
    }
    RefPtr(const RefPtr& other) : RefPtr(other.object_) {}
    RefPtr(RefPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    RefPtr(const RefPtr<U>& other) : RefPtr(other.Get())
    {
    }
    ~RefPtr() { Reset(); }

    RefPtr& operator=(RefPtr other) noexcept
    {
        std::swap(object_, other.object_);
        return *this;
    }

    static RefPtr Adopt(T* object)
    {
        RefPtr pointer;
        pointer.object_ = object;
        return pointer;
    }

    void Reset()
    {
        if (object_)
            std::exchange(object_, nullptr)->Release();
    }

    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }
    bool operator==(const RefPtr& other) const { return object_ == other.object_; }

private:
    T* object_ = nullptr;
};

// Creates a counted object and adopts its initial reference.
template <class T, class... Args>
RefPtr<T> MakeRef(Args&&... args)
{
    return RefPtr<T>::Adopt(new T(std::forward<Args>(args)...));
}

}  // namespace tarrow::foundation
