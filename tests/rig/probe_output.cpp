#include "probe_output.h"

#include <algorithm>

namespace probe {

std::string hexBytes(const BYTE* bytes, std::size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

std::string jsonString(const std::wstring& text) {
    std::string out = "\"";
    for (wchar_t c : text) {
        if (c == L'"' || c == L'\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c) & 0xFFFF);
            out += escape;
        }
    }
    return out + "\"";
}

std::wstring systemErrorText(DWORD error) {
    wchar_t buffer[512] = {};
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, buffer, ARRAYSIZE(buffer), nullptr);
    std::wstring text(buffer, std::min<DWORD>(length, ARRAYSIZE(buffer) - 1));
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    return text;
}

int withError(JsonLine& line, const char* operation, DWORD error) {
    line.ascii("operation", operation)
        .number("error", error)
        .text("message", systemErrorText(error))
        .print();
    return kFailed;
}

bool parseUnsigned(const wchar_t* text, std::uint64_t limit, std::uint64_t& value) {
    if (!*text) return false;
    value = 0;
    for (const wchar_t* p = text; *p; ++p) {
        if (*p < L'0' || *p > L'9') return false;
        unsigned digit = static_cast<unsigned>(*p - L'0');
        if (digit > limit || value > (limit - digit) / 10) return false;
        value = value * 10 + digit;
    }
    return true;
}

}  // namespace probe
