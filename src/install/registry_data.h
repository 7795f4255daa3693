// Registry value data made from a registry record's data text, by the value type the record
// names. Portable: the bytes are what RegSetValueExA receives.
#pragma once
#include <cstdint>

#include "formats/record_fields.h"

namespace kelvara {

enum class DataResult {
    converted,
    unknownType,  // a type other than 1, 2, 3, 4, 7: the record is skipped
    outOfMemory,
};

// The bytes of one value, owned (a block of the private heap, freed with the object).
class RegistryData {
  public:
    RegistryData() = default;
    RegistryData(const RegistryData&) = delete;
    RegistryData& operator=(const RegistryData&) = delete;
    ~RegistryData();

    // Converts the data text (null counts as empty) for `type`, replacing what was held:
    //   1, 2  the text and its NUL;
    //   3     bytes from pairs of hexadecimal digits (either case), up to the first character
    //         that is not one; a pair whose second character is not a digit, or a final single
    //         digit, gives that digit as the high half and 0 as the low half;
    //   4     the text by the number rule (parseNumber), 4 bytes little-endian;
    //   7     the text with every '|' made a NUL, then two NULs.
    // On failure nothing is held (bytes() null, size() 0).
    DataResult convert(std::uint32_t type, const char* text);

    // Never null after a conversion, even for no bytes, so the system always gets a buffer.
    const unsigned char* bytes() const { return bytes_; }
    std::uint32_t size() const { return size_; }

  private:
    bool allocate(std::uint32_t size);
    void release();

    unsigned char* bytes_ = nullptr;
    std::uint32_t size_ = 0;
};

}  // namespace kelvara
