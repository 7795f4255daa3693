// Owning wrappers for Win32 handles. Each kind has its own type and its own empty value, so a
// file handle (empty: INVALID_HANDLE_VALUE) cannot be mistaken for an event (empty: null).
// Moving transfers ownership; reset() closes the old value first; get() is explicit.
#pragma once
#include <windows.h>
#include <utility>

namespace kelvara {

template <typename T, T (*EmptyValue)(), void (*Close)(T)>
class UniqueResource {
  public:
    UniqueResource() = default;
    explicit UniqueResource(T value) : value_(value) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~UniqueResource() { reset(); }

    T get() const { return value_; }
    bool valid() const { return value_ != EmptyValue(); }
    explicit operator bool() const { return valid(); }
    T release() { return std::exchange(value_, EmptyValue()); }
    void reset(T value = EmptyValue()) {
        T old = std::exchange(value_, value);
        if (old != EmptyValue()) Close(old);
    }

  private:
    T value_ = EmptyValue();
};

namespace handle_detail {
inline HANDLE invalidHandle() {
    return INVALID_HANDLE_VALUE;
}
inline HANDLE nullHandle() {
    return nullptr;
}
inline HKEY nullKey() {
    return nullptr;
}
inline HMODULE nullModule() {
    return nullptr;
}
inline void closeHandle(HANDLE h) {
    ::CloseHandle(h);
}
inline void closeFind(HANDLE h) {
    ::FindClose(h);
}
inline void closeKey(HKEY k) {
    ::RegCloseKey(k);
}
inline void freeLibrary(HMODULE m) {
    ::FreeLibrary(m);
}
}  // namespace handle_detail

// CreateFile results: empty is INVALID_HANDLE_VALUE.
using UniqueFile = UniqueResource<HANDLE, handle_detail::invalidHandle, handle_detail::closeHandle>;
// Events, threads, processes, tokens, mappings: empty is null.
using UniqueHandle = UniqueResource<HANDLE, handle_detail::nullHandle, handle_detail::closeHandle>;
// FindFirstFile results: empty is INVALID_HANDLE_VALUE, closed with FindClose.
using UniqueFind = UniqueResource<HANDLE, handle_detail::invalidHandle, handle_detail::closeFind>;
using UniqueKey = UniqueResource<HKEY, handle_detail::nullKey, handle_detail::closeKey>;
using UniqueModule = UniqueResource<HMODULE, handle_detail::nullModule, handle_detail::freeLibrary>;

// A COM interface pointer, released when it goes out of scope. out() and outVoid() hand its
// address to a creating call (it must be empty then).
template <typename T>
class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (p_) p_->Release();
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T** out() { return &p_; }
    void** outVoid() { return reinterpret_cast<void**>(&p_); }

  private:
    T* p_ = nullptr;
};

// True when the event (or thread, or process) is signalled now; false for a null handle. Does
// not wait.
inline bool isSignalled(HANDLE object) {
    return object && ::WaitForSingleObject(object, 0) == WAIT_OBJECT_0;
}

}  // namespace kelvara
