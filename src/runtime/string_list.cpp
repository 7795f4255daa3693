// The string list: an owning array of heap-string pointers, grown in steps, with holes.
#include "runtime/string_list.h"

#include <climits>
#include <cstddef>
#include <cstring>

#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/text_case.h"

namespace kelvara {
namespace {

constexpr unsigned kSortKindMask = 0xFF;

// A copy for the list to own; a null text stays null (a hole). False when the heap is exhausted.
bool copyItem(const char* text, char** copy) {
    *copy = text ? strDupExtra(text, 0) : nullptr;
    return !text || *copy;
}

int sign(int value) {
    return (value > 0) - (value < 0);
}

// The sort comparison: a hole compares as an empty text.
int compareItems(const char* a, const char* b, unsigned mode) {
    if (!a) a = "";
    if (!b) b = "";
    int result;
    if ((mode & kSortKindMask) == kSortAlphabetical) {
        result = sign((mode & kListCaseSensitive) ? compareText(a, b) : compareTextNoCase(a, b));
    } else {
        std::size_t lengthA = std::strlen(a);
        std::size_t lengthB = std::strlen(b);
        result = (lengthA > lengthB) - (lengthA < lengthB);
    }
    return (mode & kListDescending) ? -result : result;
}

// Heap sort: in place, no allocation, n log n on the few thousand lines of a large install log.
void siftDown(char** items, int root, int end, unsigned mode) {
    for (;;) {
        int child = 2 * root + 1;
        if (child >= end) return;
        if (child + 1 < end && compareItems(items[child], items[child + 1], mode) < 0) ++child;
        if (compareItems(items[root], items[child], mode) >= 0) return;
        char* swap = items[root];
        items[root] = items[child];
        items[child] = swap;
        root = child;
    }
}

}  // namespace

bool StringList::create(int growth) {
    // A list made again starts empty; what it held is released, not leaked.
    destroy();
    growth_ = growth > 0 ? growth : 1;
    // The array comes with the first item, as the system's pointer arrays allocate theirs: the
    // script's configuration holds some sixteen hundred lists, most of which never hold an item.
    created_ = true;
    return true;
}

void StringList::destroy() {
    clear();
    heapFree(items_);
    items_ = nullptr;
    capacity_ = 0;
    created_ = false;
}

bool StringList::reserve(int capacity) {
    if (capacity <= capacity_) return true;
    // Round up to a whole number of growth steps, within what an int and the address space hold
    // (in 32-bit steps: a 64-bit division would bring the C library's helper into the stub).
    const auto step = static_cast<unsigned>(growth_);
    auto wanted = static_cast<unsigned>(capacity);
    const unsigned rest = wanted % step;
    if (rest != 0 && wanted <= static_cast<unsigned>(INT_MAX) - (step - rest)) {
        wanted += step - rest;
    }
    // Only where size_t is as narrow as unsigned can the byte count overflow.
    if constexpr (sizeof(std::size_t) == sizeof(unsigned)) {
        if (wanted > static_cast<std::size_t>(-1) / sizeof(char*)) return false;
    }
    auto* grown =
        static_cast<char**>(heapResize(items_, static_cast<std::size_t>(wanted) * sizeof(char*)));
    if (!grown) return false;
    items_ = grown;
    capacity_ = static_cast<int>(wanted);
    return true;
}

char* StringList::get(int i) const {
    if (!created_ || i < 0 || i >= count_) return nullptr;
    return items_[i];
}

int StringList::append(const char* text) {
    if (!created_ || count_ == INT_MAX) return -1;
    char* copy;
    if (!copyItem(text, &copy)) return -1;
    if (!reserve(count_ + 1)) {
        heapFree(copy);
        return -1;
    }
    items_[count_] = copy;
    return count_++;
}

bool StringList::set(int i, const char* text) {
    if (!created_ || i < 0 || i == INT_MAX) return false;
    if (i >= count_) {
        if (!reserve(i + 1)) return false;
        // Slots past the count are zero (fresh from the heap or nulled on removal): holes.
        count_ = i + 1;
    }
    heapFree(items_[i]);
    items_[i] = nullptr;
    return copyItem(text, &items_[i]);
}

bool StringList::removeAt(int i) {
    if (!created_ || i < 0 || i >= count_) return false;
    char* removed = items_[i];
    memMove(&items_[i], &items_[i + 1], static_cast<std::size_t>(count_ - i - 1) * sizeof(char*));
    items_[--count_] = nullptr;
    heapFree(removed);
    return removed != nullptr;
}

void StringList::clear() {
    for (int i = 0; i < count_; ++i) {
        heapFree(items_[i]);
        items_[i] = nullptr;
    }
    count_ = 0;
}

void StringList::sort(unsigned mode) {
    if (!created_) return;
    for (int root = count_ / 2 - 1; root >= 0; --root) siftDown(items_, root, count_, mode);
    for (int end = count_ - 1; end > 0; --end) {
        char* largest = items_[0];
        items_[0] = items_[end];
        items_[end] = largest;
        siftDown(items_, 0, end, mode);
    }
}

int StringList::find(const char* text, int start, unsigned flags) const {
    if (!created_ || !text) return -1;
    bool exactCase = (flags & kListCaseSensitive) != 0;
    for (int i = start > 0 ? start : 0; i < count_; ++i) {
        const char* item = items_[i];
        if (!item) continue;  // a hole matches nothing
        int order = exactCase ? compareText(item, text) : compareTextNoCase(item, text);
        if (order == 0) return i;
    }
    return -1;
}

bool StringList::sortedHolds(const char* text) const {
    if (!text) return false;
    int low = 0;
    int high = count_ - 1;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        const char* item = items_[middle];
        const int order = compareTextNoCase(item ? item : "", text);
        if (order == 0) return true;
        if (order < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return false;
}

char* StringList::joinPath(int last, const char* tail) const {
    int end = last < count_ ? last : count_ - 1;
    if (!created_) end = -1;
    std::size_t total = tail ? std::strlen(tail) : 0;
    for (int i = 0; i <= end; ++i) {
        if (items_[i]) total += std::strlen(items_[i]) + 1;
    }
    auto* joined = static_cast<char*>(heapAlloc(total + 1));
    if (!joined) return nullptr;
    char* out = joined;
    for (int i = 0; i <= end; ++i) {
        if (!items_[i]) continue;
        std::size_t length = std::strlen(items_[i]);
        std::memcpy(out, items_[i], length);
        out += length;
        *out++ = '\\';
    }
    if (tail) std::memcpy(out, tail, std::strlen(tail));
    return joined;
}

}  // namespace kelvara
