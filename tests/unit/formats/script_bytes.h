// Builds setup script bytes for the tests: payloads field by field and records around them.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

struct PayloadBytes {
    Bytes bytes;
    PayloadBytes& u8(std::uint8_t v) {
        bytes.push_back(v);
        return *this;
    }
    PayloadBytes& u16(std::uint16_t v) {
        for (int i = 0; i < 2; ++i) bytes.push_back(static_cast<unsigned char>(v >> (8 * i)));
        return *this;
    }
    PayloadBytes& u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(v >> (8 * i)));
        return *this;
    }
    PayloadBytes& str(const char* s) {
        bytes.insert(bytes.end(), s, s + std::strlen(s) + 1);
        return *this;
    }
    PayloadBytes& raw(const Bytes& b) {
        bytes.insert(bytes.end(), b.begin(), b.end());
        return *this;
    }
};

struct ScriptBytes {
    Bytes bytes;
    ScriptBytes& record(std::int32_t type, const Bytes& payload) {
        PayloadBytes header;
        header.u32(static_cast<std::uint32_t>(type))
            .u32(static_cast<std::uint32_t>(payload.size()));
        bytes.insert(bytes.end(), header.bytes.begin(), header.bytes.end());
        bytes.insert(bytes.end(), payload.begin(), payload.end());
        return *this;
    }
    ScriptBytes& end() {
        PayloadBytes type;
        type.u32(0xFFFFFFFFu);
        bytes.insert(bytes.end(), type.bytes.begin(), type.bytes.end());
        return *this;
    }
};
