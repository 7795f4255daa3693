// The private heap on Windows: one growable, serialised heap of the process.
#include "runtime/heap.h"

#include <windows.h>

namespace kelvara {
namespace {

HANDLE volatile privateHeap = nullptr;

// The heap, made on first use when start-up has not made it yet. Two threads racing here keep
// one heap: the loser destroys its own.
HANDLE ensureHeap() {
    HANDLE heap = privateHeap;
    if (heap) return heap;
    HANDLE made = ::HeapCreate(0, 0, 0);
    if (!made) return nullptr;
    HANDLE previous = ::InterlockedCompareExchangePointer(const_cast<PVOID volatile*>(&privateHeap),
                                                          made, nullptr);
    if (previous) {
        ::HeapDestroy(made);
        return previous;
    }
    return made;
}

bool isOwnBlock(HANDLE heap, void* block) {
    return heap && block && ::HeapValidate(heap, 0, block);
}

}  // namespace

bool heapCreate() {
    return ensureHeap() != nullptr;
}

void heapDestroy() {
    HANDLE heap = ::InterlockedExchangePointer(const_cast<PVOID volatile*>(&privateHeap), nullptr);
    if (heap) ::HeapDestroy(heap);
}

void* heapAlloc(std::size_t size) {
    HANDLE heap = ensureHeap();
    return heap ? ::HeapAlloc(heap, HEAP_ZERO_MEMORY, size) : nullptr;
}

void heapFree(void* block) {
    HANDLE heap = privateHeap;
    if (isOwnBlock(heap, block)) ::HeapFree(heap, 0, block);
}

void* heapResize(void* block, std::size_t size) {
    if (!block) return size ? heapAlloc(size) : nullptr;
    if (size == 0) {
        heapFree(block);
        return nullptr;
    }
    // A foreign pointer is refused like a failed resize: the caller keeps what it had.
    HANDLE heap = privateHeap;
    if (!isOwnBlock(heap, block)) return nullptr;
    return ::HeapReAlloc(heap, HEAP_ZERO_MEMORY, block, size);
}

}  // namespace kelvara
