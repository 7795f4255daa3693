// Owners of system objects for portable records such as the run's environment. A portable file
// cannot name HANDLE or HGDIOBJ, so each owner keeps its object as an opaque pointer and the
// Win32 edge closes it. One type per kind of object, so that a file is never closed as a GDI
// object; each kind has its own empty value, and every owner is zero bytes when empty, so a
// record of owners starts in zero-filled memory.
#pragma once
#include <cstdint>
#include <utility>

namespace kelvara {

enum class SystemObjectKind {
    kernelObject,  // events, threads, tokens: CloseHandle; empty is null
    file,          // CreateFile results: CloseHandle; empty is INVALID_HANDLE_VALUE
    gdiObject,     // fonts, brushes, pens, palettes: DeleteObject; empty is null
    library,       // LoadLibrary results: FreeLibrary; empty is null
    window,        // windows made with CreateWindow: DestroyWindow, on the thread that made them
};

// Closes `object`, which is not the kind's empty value. The host makes no system objects, so
// its stand-in is never given one.
void closeSystemObject(SystemObjectKind kind, void* object);

template <SystemObjectKind Kind>
class SystemObject {
  public:
    static void* emptyValue() {
        return reinterpret_cast<void*>(Kind == SystemObjectKind::file ? ~std::uintptr_t{0} : 0);
    }

    constexpr SystemObject() = default;
    SystemObject(const SystemObject&) = delete;
    SystemObject& operator=(const SystemObject&) = delete;
    SystemObject(SystemObject&& other) noexcept : stored_(std::exchange(other.stored_, 0)) {}
    SystemObject& operator=(SystemObject&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~SystemObject() { reset(); }

    void* get() const { return reinterpret_cast<void*>(stored_ ^ emptyBits()); }
    bool valid() const { return stored_ != 0; }
    explicit operator bool() const { return valid(); }
    // Hands the object to the caller, who closes it from then on.
    void* release() { return reinterpret_cast<void*>(std::exchange(stored_, 0) ^ emptyBits()); }
    // Takes `object` and closes the one held before.
    void reset(void* object = emptyValue()) {
        void* old = release();
        stored_ = reinterpret_cast<std::uintptr_t>(object) ^ emptyBits();
        if (old != emptyValue() && old != object) closeSystemObject(Kind, old);
    }

  private:
    // Kept as the object xor the empty value: zero bytes when empty, for every kind.
    static constexpr std::uintptr_t emptyBits() {
        return Kind == SystemObjectKind::file ? ~std::uintptr_t{0} : 0;
    }
    std::uintptr_t stored_ = 0;
};

using OwnedKernelObject = SystemObject<SystemObjectKind::kernelObject>;
using OwnedFile = SystemObject<SystemObjectKind::file>;
using OwnedGdiObject = SystemObject<SystemObjectKind::gdiObject>;
using OwnedLibrary = SystemObject<SystemObjectKind::library>;
using OwnedWindow = SystemObject<SystemObjectKind::window>;

using OsWindow = void*;     // an HWND a record refers to but does not own
using OsReference = void*;  // a module or cursor the system owns (an HMODULE, an HCURSOR)

}  // namespace kelvara
