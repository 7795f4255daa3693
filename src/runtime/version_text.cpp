#include "runtime/version_text.h"

namespace kelvara {

int compareVersions(VersionPair a, VersionPair b) {
    if (a.ms != b.ms) return a.ms < b.ms ? -1 : 1;
    if (a.ls != b.ls) return a.ls < b.ls ? -1 : 1;
    return 0;
}

std::size_t formatVersionText(char* buffer, std::size_t size, VersionPair version) {
    if (!size) return 0;
    const std::uint32_t parts[] = {version.ms >> 16, version.ms & 0xFFFF, version.ls >> 16,
                                   version.ls & 0xFFFF};
    std::size_t length = 0;
    auto put = [&](char c) {
        if (length + 1 < size) buffer[length++] = c;
    };
    for (int i = 0; i < 4; ++i) {
        if (i) put('.');
        char digits[6];
        int n = 0;
        std::uint32_t value = parts[i];
        do {
            digits[n++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value);
        while (n) put(digits[--n]);
    }
    buffer[length] = '\0';
    return length;
}

VersionPair versionFromDllVersion(std::uint32_t major, std::uint32_t minor, std::uint32_t build) {
    VersionPair version;
    version.ms = ((major & 0xFFFF) << 16) | (minor & 0xFFFF);
    version.ls = (build & 0xFFFF) << 16;
    return version;
}

std::uint32_t sharedCountFromBytes(const unsigned char* data, std::size_t size) {
    std::uint32_t count = 0;
    for (std::size_t i = 0; data && i < size && i < 4; ++i) {
        count |= static_cast<std::uint32_t>(data[i]) << (8 * i);
    }
    return count;
}

std::uint32_t changedSharedCount(std::uint32_t count, bool decrement) {
    if (decrement) return count ? count - 1 : 0;
    return count == 0xFFFFFFFFu ? count : count + 1;
}

}  // namespace kelvara
