#include "formats/script_format.h"

#include <cstring>

#include "runtime/byte_order.h"

namespace kelvara {

bool RecordCursor::next(ScriptRecord& record) {
    if (stopped_ || !data_) return false;
    std::size_t left = size_ - offset_;
    if (left < kEndRecordSize) {
        stopped_ = true;
        return false;
    }
    const unsigned char* at = data_ + offset_;
    auto type = static_cast<std::int32_t>(readLe32(at));
    if (type == kRecordEnd) {
        stopped_ = true;
        endRecord_ = true;
        return false;
    }
    if (left < kRecordHeaderSize) {
        stopped_ = true;
        return false;
    }
    std::uint32_t length = readLe32(at + 4);
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
    value = readLe16(data_ + offset_);
    offset_ += 2;
    return true;
}

bool PayloadReader::readU32(std::uint32_t& value) {
    if (remaining() < 4) return false;
    value = readLe32(data_ + offset_);
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

bool SettingsRecord::read(PayloadReader& r) {
    return r.readString(shortName) && r.readString(productName) && r.readString(normalFont) &&
           r.readU32(pageColor) && r.readU32(frameColor) && r.readString(titleFont) &&
           r.readU32(headerColor) && r.readU8(lookFlags) && r.readString(previousLocation) &&
           r.readString(viewFile) && r.readString(runProgram) && r.readU8(styleFlags) &&
           r.readU8(linkFlag);
}

bool scriptIsWhole(const unsigned char* data, std::size_t size) {
    RecordCursor cursor(data, size);
    ScriptRecord record;
    while (cursor.next(record)) {
    }
    return cursor.reachedEndRecord();
}

bool lastRecordOfType(const unsigned char* data, std::size_t size, std::int32_t type,
                      ScriptRecord& found) {
    RecordCursor cursor(data, size);
    ScriptRecord record;
    bool any = false;
    while (cursor.next(record)) {
        if (record.type != type) continue;
        found = record;
        any = true;
    }
    return any;
}

std::uint8_t scriptArchitecture(const unsigned char* data, std::size_t size) {
    ScriptRecord record;
    if (!lastRecordOfType(data, size, kRecordArchitecture, record)) return kArchitectureX86;
    return record.length ? record.payload[0] : kArchitectureUnreadable;
}

}  // namespace kelvara
