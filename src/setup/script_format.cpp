#include "setup/script_format.h"

#include <cstring>

namespace kelvara {
namespace {

std::uint32_t readLittleEndian(const unsigned char* bytes, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

}  // namespace

bool RecordCursor::next(ScriptRecord& record) {
    if (stopped_ || !data_) return false;
    std::size_t left = size_ - offset_;
    if (left < kEndRecordSize) {
        stopped_ = true;
        return false;
    }
    const unsigned char* at = data_ + offset_;
    auto type = static_cast<std::int32_t>(readLittleEndian(at, 4));
    if (type == kRecordEnd) {
        stopped_ = true;
        endRecord_ = true;
        return false;
    }
    if (left < kRecordHeaderSize) {
        stopped_ = true;
        return false;
    }
    std::uint32_t length = readLittleEndian(at + 4, 4);
    if (length > left - kRecordHeaderSize) {
        stopped_ = true;
        return false;
    }
    record.type = type;
    record.length = length;
    record.payload = at + kRecordHeaderSize;
    offset_ += kRecordHeaderSize + length;
    return true;
}

bool PayloadReader::readU8(std::uint8_t& value) {
    if (remaining() < 1) return false;
    value = data_[offset_++];
    return true;
}

bool PayloadReader::readU16(std::uint16_t& value) {
    if (remaining() < 2) return false;
    value = static_cast<std::uint16_t>(readLittleEndian(data_ + offset_, 2));
    offset_ += 2;
    return true;
}

bool PayloadReader::readU32(std::uint32_t& value) {
    if (remaining() < 4) return false;
    value = readLittleEndian(data_ + offset_, 4);
    offset_ += 4;
    return true;
}

bool PayloadReader::readString(const char*& text) {
    if (remaining() < 1) return false;
    const void* terminator = std::memchr(data_ + offset_, 0, remaining());
    if (!terminator) return false;
    text = reinterpret_cast<const char*>(data_ + offset_);
    offset_ = static_cast<std::size_t>(static_cast<const unsigned char*>(terminator) - data_) + 1;
    return true;
}

}  // namespace kelvara
