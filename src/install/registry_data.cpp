#include "install/registry_data.h"

#include <cstddef>
#include <cstring>

#include "runtime/byte_order.h"
#include "runtime/heap.h"
#include "runtime/text_utils.h"

namespace kelvara {
namespace {

// Value of a hexadecimal digit, or -1.
int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Room for a text of `length` characters and `extra` more bytes, refused when it cannot be
// described to the system in 32 bits.
bool fits(std::size_t length, std::size_t extra) {
    return length <= 0xFFFFFFF0u - extra;
}

}  // namespace

RegistryData::~RegistryData() {
    release();
}

void RegistryData::release() {
    heapFree(bytes_);
    bytes_ = nullptr;
    size_ = 0;
}

bool RegistryData::allocate(std::uint32_t size) {
    release();
    // One byte more than asked: a block of no bytes is still a block.
    bytes_ = static_cast<unsigned char*>(heapAlloc(std::size_t(size) + 1));
    if (!bytes_) return false;
    size_ = size;
    return true;
}

DataResult RegistryData::convert(std::uint32_t type, const char* text) {
    release();
    if (!text) text = "";
    const std::size_t length = std::strlen(text);
    switch (type) {
        case kRegString:
        case kRegExpandString: {
            if (!fits(length, 1) || !allocate(static_cast<std::uint32_t>(length + 1)))
                return DataResult::outOfMemory;
            std::memcpy(bytes_, text, length);  // the NUL is there: blocks are zero-filled
            return DataResult::converted;
        }
        case kRegMultiString: {
            if (!fits(length, 2) || !allocate(static_cast<std::uint32_t>(length + 2)))
                return DataResult::outOfMemory;
            for (std::size_t i = 0; i < length; ++i) bytes_[i] = text[i] == '|' ? 0 : text[i];
            return DataResult::converted;
        }
        case kRegDword: {
            if (!allocate(4)) return DataResult::outOfMemory;
            writeLe32(bytes_, static_cast<std::uint32_t>(parseNumber(text)));
            return DataResult::converted;
        }
        case kRegBinary: {
            if (!fits(length, 1) || !allocate(static_cast<std::uint32_t>(length / 2 + 1)))
                return DataResult::outOfMemory;
            std::uint32_t count = 0;
            for (std::size_t i = 0; hexDigit(text[i]) >= 0; i += 2) {
                const int high = hexDigit(text[i]);
                const int low = hexDigit(text[i + 1]);
                bytes_[count++] = static_cast<unsigned char>(high << 4 | (low < 0 ? 0 : low));
                if (low < 0) break;
            }
            size_ = count;
            return DataResult::converted;
        }
        default:
            return DataResult::unknownType;
    }
}

}  // namespace kelvara
