#include "formats/script_writer.h"

#include <cstring>

#include "runtime/byte_order.h"

namespace kelvara {
namespace {

const char* orEmpty(const char* text) {
    return text ? text : "";
}

std::size_t stringSize(const char* text) {
    return std::strlen(orEmpty(text)) + 1;
}

}  // namespace

void ScriptWriter::bytes(const void* data, std::size_t size) {
    if (ok_ && size != 0 && !sink_.append(data, size)) ok_ = false;
}

void ScriptWriter::u16(std::uint16_t value) {
    unsigned char encoded[2];
    writeLe16(encoded, value);
    bytes(encoded, sizeof encoded);
}

void ScriptWriter::u32(std::uint32_t value) {
    unsigned char encoded[4];
    writeLe32(encoded, value);
    bytes(encoded, sizeof encoded);
}

void ScriptWriter::string(const char* value) {
    bytes(orEmpty(value), stringSize(value));
}

bool ScriptWriter::header(std::int32_t type, std::size_t length) {
    if (length > 0xFFFFFFFFu - kRecordHeaderSize) ok_ = false;
    if (!ok_) return false;
    u32(static_cast<std::uint32_t>(type));
    u32(static_cast<std::uint32_t>(length));
    return ok_;
}

void ScriptWriter::variable(const char* name, const char* value) {
    if (header(kRecordVariable, stringSize(name) + stringSize(value))) {
        string(name);
        string(value);
    }
}

void ScriptWriter::pageFlags(const std::uint8_t (&enabled)[kPageFlagsSize]) {
    if (header(kRecordPageFlags, kPageFlagsSize)) {
        for (std::uint8_t flag : enabled) u8(flag != 0 ? 1 : 0);
    }
}

void ScriptWriter::text(std::uint16_t language, std::uint8_t table, std::uint8_t item,
                        const char* value) {
    if (header(kRecordText, kTextRecordHeaderSize + stringSize(value))) {
        u16(language);
        u8(table);
        u8(item);
        string(value);
    }
}

void ScriptWriter::languages(bool autoSelect, const std::uint16_t* numbers, std::size_t count) {
    if (count > (0xFFFFFFFFu - kRecordHeaderSize - 1) / 2) ok_ = false;
    if (header(kRecordLanguages, 1 + 2 * count)) {
        u8(autoSelect ? 1 : 0);
        for (std::size_t i = 0; i < count; ++i) u16(numbers[i]);
    }
}

void ScriptWriter::background(std::uint32_t firstRgb, std::uint32_t secondRgb) {
    if (header(kRecordBackground, 8)) {
        u32(firstRgb);
        u32(secondRgb);
    }
}

void ScriptWriter::accentColor(std::uint32_t color) {
    if (header(kRecordAccentColor, 4)) u32(color);
}

void ScriptWriter::settings(const SettingsRecord& s) {
    std::size_t length = stringSize(s.shortName) + stringSize(s.productName) +
                         stringSize(s.normalFont) + 4 + 4 + stringSize(s.titleFont) + 4 + 1 +
                         stringSize(s.previousLocation) + stringSize(s.viewFile) +
                         stringSize(s.runProgram) + 1 + 1;
    if (!header(kRecordSettings, length)) return;
    string(s.shortName);
    string(s.productName);
    string(s.normalFont);
    u32(s.pageColor);
    u32(s.frameColor);
    string(s.titleFont);
    u32(s.headerColor);
    u8(s.lookFlags);
    string(s.previousLocation);
    string(s.viewFile);
    string(s.runProgram);
    u8(s.styleFlags);
    u8(s.linkFlag);
}

void ScriptWriter::requirements(const char* windows, const char* directX, const char* ie,
                                const char* access, bool administrator) {
    std::size_t length =
        stringSize(windows) + stringSize(directX) + stringSize(ie) + stringSize(access) + 1;
    if (!header(kRecordRequirements, length)) return;
    string(windows);
    string(directX);
    string(ie);
    string(access);
    u8(administrator ? 1 : 0);
}

void ScriptWriter::productDetails(bool allowDowngrade, const char* version, const char* publisher,
                                  const char* aboutUrl, const char* helpUrl) {
    std::size_t length = stringSize(version) + stringSize(publisher) + stringSize(aboutUrl) +
                         stringSize(helpUrl) + (allowDowngrade ? 1 : 0);
    if (!header(kRecordProductDetails, length)) return;
    string(version);
    string(publisher);
    string(aboutUrl);
    string(helpUrl);
    if (allowDowngrade) u8(1);
}

void ScriptWriter::stringRecord(std::int32_t type, const char* value) {
    if (header(type, stringSize(value))) string(value);
}

void ScriptWriter::byteRecord(std::int32_t type, std::uint8_t value) {
    if (header(type, 1)) u8(value);
}

void ScriptWriter::scope(std::uint8_t scope, std::uint8_t defaultChoice) {
    if (!header(kRecordScope, 2)) return;
    u8(scope);
    u8(defaultChoice);
}

void ScriptWriter::component(std::uint8_t flags, std::uint8_t parent, std::uint32_t bytes,
                             const char* id, const char* name, const char* description) {
    if (!header(kRecordComponent,
                1 + 1 + 4 + stringSize(id) + stringSize(name) + stringSize(description))) {
        return;
    }
    u8(flags);
    u8(parent);
    u32(bytes);
    string(id);
    string(name);
    string(description);
}

void ScriptWriter::task(std::uint8_t flags, std::uint8_t group, const char* id, const char* name,
                        const char* description) {
    if (!header(kRecordTask, 1 + 1 + stringSize(id) + stringSize(name) + stringSize(description)))
        return;
    u8(flags);
    u8(group);
    string(id);
    string(name);
    string(description);
}

void ScriptWriter::setupType(std::uint8_t flags, std::uint32_t components, const char* id,
                             const char* name) {
    if (!header(kRecordSetupType, 1 + 4 + stringSize(id) + stringSize(name))) return;
    u8(flags);
    u32(components);
    string(id);
    string(name);
}

void ScriptWriter::condition(std::uint32_t components, std::uint32_t tasks) {
    if (!header(kRecordCondition, 8)) return;
    u32(components);
    u32(tasks);
}

void ScriptWriter::end() {
    u32(static_cast<std::uint32_t>(kRecordEnd));
}

}  // namespace kelvara
