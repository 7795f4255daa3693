// Heap strings and the overlap-safe byte copy, shared by the Windows heap and its host stand-in.
#include "runtime/heap_string.h"

#include <cstring>

#include "runtime/heap.h"

namespace kelvara {

void memMove(void* dst, const void* src, std::size_t n) {
    if (n == 0 || dst == src) return;
    auto* to = static_cast<unsigned char*>(dst);
    const auto* from = static_cast<const unsigned char*>(src);
    if (to < from) {
        for (std::size_t i = 0; i < n; ++i) to[i] = from[i];
    } else {
        for (std::size_t i = n; i > 0; --i) to[i - 1] = from[i - 1];
    }
}

char* strDupExtra(const char* text, int extra) {
    std::size_t length = text ? std::strlen(text) : 0;
    std::size_t room = extra > 0 ? static_cast<std::size_t>(extra) : 0;
    if (room > static_cast<std::size_t>(-1) - length - 1) return nullptr;
    auto* copy = static_cast<char*>(heapAlloc(length + room + 1));
    if (copy && length) std::memcpy(copy, text, length);
    return copy;
}

char* strConcat5(const char* a, const char* b, const char* c, const char* d, const char* e) {
    const char* parts[] = {a, b, c, d, e};
    std::size_t lengths[5] = {};
    std::size_t total = 0;
    for (int i = 0; i < 5; ++i) {
        lengths[i] = parts[i] ? std::strlen(parts[i]) : 0;
        total += lengths[i];
    }
    auto* joined = static_cast<char*>(heapAlloc(total + 1));
    if (!joined) return nullptr;
    char* end = joined;
    for (int i = 0; i < 5; ++i) {
        if (lengths[i]) std::memcpy(end, parts[i], lengths[i]);
        end += lengths[i];
    }
    return joined;
}

bool copyText(HeapString& target, const char* text) {
    target.reset(strDupExtra(text, 0));
    return static_cast<bool>(target);
}

}  // namespace kelvara
