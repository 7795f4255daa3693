#include "formats/inflate_start.h"

#include <cstdint>

#include "runtime/heap.h"

namespace kelvara {
namespace {

// The zlib version the engine asks for; any 1.x library accepts it.
constexpr const char* kRequestedZlibVersion = "1.1.3";

voidpf allocateForInflate(voidpf, uInt items, uInt size) {
    const std::uint64_t bytes = static_cast<std::uint64_t>(items) * size;
    if (bytes > SIZE_MAX) return Z_NULL;
    return heapAlloc(static_cast<std::size_t>(bytes));
}

void freeForInflate(voidpf, voidpf block) {
    heapFree(block);
}

}  // namespace

bool startInflate(z_stream& stream) {
    stream.zalloc = allocateForInflate;
    stream.zfree = freeForInflate;
    return inflateInit_(&stream, kRequestedZlibVersion, static_cast<int>(sizeof stream)) == Z_OK;
}

}  // namespace kelvara
