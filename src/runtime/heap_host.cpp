// Host stand-in for the private heap: calloc blocks recorded in a table of live blocks, so that
// freeing a pointer the heap did not hand out is ignored, as on Windows, and heapDestroy releases
// everything still allocated.
#include "runtime/heap.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace kelvara {
namespace {

struct Slot {
    void* block;
    std::size_t size;
};

// Open addressing with linear probing; the capacity is a power of two, at most half full.
struct BlockTable {
    Slot* slots = nullptr;
    std::size_t capacity = 0;
    std::size_t used = 0;
    bool created = false;
};

std::mutex heapLock;
BlockTable table;

std::size_t home(const void* block, std::size_t capacity) {
    auto key = reinterpret_cast<std::uintptr_t>(block);
    key ^= key >> 17;
    key *= static_cast<std::uintptr_t>(0x9E3779B97F4A7C15ull);
    key ^= key >> 29;
    return key & (capacity - 1);
}

Slot* findSlot(const void* block) {
    if (!block || table.capacity == 0) return nullptr;
    for (std::size_t i = home(block, table.capacity);; i = (i + 1) & (table.capacity - 1)) {
        if (table.slots[i].block == block) return &table.slots[i];
        if (!table.slots[i].block) return nullptr;
    }
}

void placeSlot(Slot* slots, std::size_t capacity, Slot entry) {
    std::size_t i = home(entry.block, capacity);
    while (slots[i].block) i = (i + 1) & (capacity - 1);
    slots[i] = entry;
}

bool growTable() {
    std::size_t capacity = table.capacity ? table.capacity * 2 : 64;
    auto* slots = static_cast<Slot*>(std::calloc(capacity, sizeof(Slot)));
    if (!slots) return false;
    for (std::size_t i = 0; i < table.capacity; ++i) {
        if (table.slots[i].block) placeSlot(slots, capacity, table.slots[i]);
    }
    std::free(table.slots);
    table.slots = slots;
    table.capacity = capacity;
    return true;
}

bool recordBlock(void* block, std::size_t size) {
    if ((table.used + 1) * 2 > table.capacity && !growTable()) return false;
    placeSlot(table.slots, table.capacity, Slot{block, size});
    ++table.used;
    return true;
}

// Removes a slot and moves later members of its probe run back, so no search stops short.
void eraseSlot(Slot* slot) {
    std::size_t mask = table.capacity - 1;
    std::size_t hole = static_cast<std::size_t>(slot - table.slots);
    table.slots[hole] = Slot{nullptr, 0};
    for (std::size_t i = (hole + 1) & mask; table.slots[i].block; i = (i + 1) & mask) {
        std::size_t want = home(table.slots[i].block, table.capacity);
        // Move the entry if the hole lies on its probe path from `want` to `i`.
        if (((i - want) & mask) >= ((i - hole) & mask)) {
            table.slots[hole] = table.slots[i];
            table.slots[i] = Slot{nullptr, 0};
            hole = i;
        }
    }
    --table.used;
}

void* allocLocked(std::size_t size) {
    table.created = true;
    void* block = std::calloc(1, size ? size : 1);
    if (!block) return nullptr;
    if (!recordBlock(block, size)) {
        std::free(block);
        return nullptr;
    }
    return block;
}

}  // namespace

bool heapCreate() {
    std::lock_guard<std::mutex> hold(heapLock);
    table.created = true;
    return true;
}

void heapDestroy() {
    std::lock_guard<std::mutex> hold(heapLock);
    for (std::size_t i = 0; i < table.capacity; ++i) std::free(table.slots[i].block);
    // The table keeps its size for the next run: a process that starts the heap again and again
    // (a fuzz harness, thousands of times a second) would otherwise grow it anew each time.
    if (table.slots) std::memset(table.slots, 0, table.capacity * sizeof(Slot));
    table.used = 0;
    table.created = false;
}

void* heapAlloc(std::size_t size) {
    std::lock_guard<std::mutex> hold(heapLock);
    return allocLocked(size);
}

void heapFree(void* block) {
    std::lock_guard<std::mutex> hold(heapLock);
    Slot* slot = findSlot(block);
    if (!slot) return;
    eraseSlot(slot);
    std::free(block);
}

void* heapResize(void* block, std::size_t size) {
    if (!block && size == 0) return nullptr;
    std::lock_guard<std::mutex> hold(heapLock);
    if (!block) return allocLocked(size);
    Slot* slot = findSlot(block);
    if (!slot) return nullptr;  // not ours: refused, the caller keeps what it had
    if (size == 0) {
        eraseSlot(slot);
        std::free(block);
        return nullptr;
    }
    void* moved = std::calloc(1, size);
    if (!moved) return nullptr;
    std::memcpy(moved, block, slot->size < size ? slot->size : size);
    eraseSlot(slot);
    std::free(block);
    recordBlock(moved, size);  // cannot fail: a slot was just released
    return moved;
}

}  // namespace kelvara
