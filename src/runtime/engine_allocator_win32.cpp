// Linked into the engine only: every C++ allocation comes from the private heap.
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
