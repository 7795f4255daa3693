// Owning wrappers for Win32 handles. Each kind has its own type and its own empty value, so a
// file handle (empty: INVALID_HANDLE_VALUE) cannot be mistaken for an event (empty: null).
// Moving transfers ownership; reset() closes the old value first; get() is explicit; put() closes
// the value held and hands out its place to a call that returns a new one through a pointer.
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
    T* put() {
        reset();
        return &value_;
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
inline HGDIOBJ nullGdiObject() {
    return nullptr;
}
inline void deleteGdiObject(HGDIOBJ object) {
    ::DeleteObject(object);
}
inline HDC nullDc() {
    return nullptr;
}
inline void deleteDc(HDC dc) {
    ::DeleteDC(dc);
}
inline HLOCAL nullLocal() {
    return nullptr;
}
inline void freeLocal(HLOCAL memory) {
    ::LocalFree(memory);
}
inline void* nullAddress() {
    return nullptr;
}
inline void releaseVirtual(void* memory) {
    ::VirtualFree(memory, 0, MEM_RELEASE);
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
// Fonts, brushes, pens, bitmaps made for one drawing: empty is null, deleted with DeleteObject
// (after they are selected out of every device context).
using UniqueGdiObject =
    UniqueResource<HGDIOBJ, handle_detail::nullGdiObject, handle_detail::deleteGdiObject>;
// Device contexts made with CreateCompatibleDC: empty is null, deleted with DeleteDC.
using UniqueMemoryDc = UniqueResource<HDC, handle_detail::nullDc, handle_detail::deleteDc>;
// Memory the system allocated for the caller (FormatMessage, GetNamedSecurityInfo): LocalFree.
using UniqueLocalMemory =
    UniqueResource<HLOCAL, handle_detail::nullLocal, handle_detail::freeLocal>;
// Memory reserved and committed with VirtualAlloc (large buffers, whose pages the system gives
// zero-filled when first touched): VirtualFree.
using UniqueVirtualMemory =
    UniqueResource<void*, handle_detail::nullAddress, handle_detail::releaseVirtual>;

// A COM interface pointer, released when it goes out of scope or is reset. Moving transfers
// the reference. out() and outVoid() release what it holds and hand its address to a creating
// call.
template <typename T>
class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        reset(std::exchange(other.p_, nullptr));
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // Takes over a reference the caller holds and releases the one held before.
    void reset(T* p = nullptr) {
        T* old = std::exchange(p_, p);
        if (old) old->Release();
    }
    T** out() {
        reset();
        return &p_;
    }
    void** outVoid() { return reinterpret_cast<void**>(out()); }

  private:
    T* p_ = nullptr;
};

// Runs an undo step when it goes out of scope, unless release() said the work is committed.
template <typename Undo>
class ScopeGuard {
  public:
    explicit ScopeGuard(Undo undo) : undo_(undo) {}
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;
    ~ScopeGuard() {
        if (armed_) undo_();
    }
    void release() { armed_ = false; }

  private:
    Undo undo_;
    bool armed_ = true;
};

// True when the event (or thread, or process) is signalled now; false for a null handle. Does
// not wait.
inline bool isSignalled(HANDLE object) {
    return object && ::WaitForSingleObject(object, 0) == WAIT_OBJECT_0;
}

}  // namespace kelvara
