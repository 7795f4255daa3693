// Linked into the engine only: every C++ allocation comes from the private heap, and the
// library's throwing helpers, which would drag in exception handling, end the process instead.
// The engine is built without exceptions, so none of these hooks is reached in a sound run.
#include <windows.h>

#include <cstddef>
#include <new>

#include "runtime/heap.h"

void* operator new(std::size_t size) {
    return kelvara::heapAlloc(size);
}
void* operator new[](std::size_t size) {
    return kelvara::heapAlloc(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return kelvara::heapAlloc(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return kelvara::heapAlloc(size);
}
void operator delete(void* block) noexcept {
    kelvara::heapFree(block);
}
void operator delete[](void* block) noexcept {
    kelvara::heapFree(block);
}
void operator delete(void* block, std::size_t) noexcept {
    kelvara::heapFree(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    kelvara::heapFree(block);
}

namespace std {
[[noreturn]] static void endProcess() {
    ::ExitProcess(0);
}
void __throw_bad_alloc() {
    endProcess();
}
void __throw_length_error(const char*) {
    endProcess();
}
void __throw_out_of_range(const char*) {
    endProcess();
}
void __throw_out_of_range_fmt(const char*, ...) {
    endProcess();
}
void __throw_logic_error(const char*) {
    endProcess();
}
void __throw_invalid_argument(const char*) {
    endProcess();
}
void __throw_bad_array_new_length() {
    endProcess();
}
void __throw_bad_function_call() {
    endProcess();
}
}  // namespace std
