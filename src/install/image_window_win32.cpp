#include "install/image_window_win32.h"

#include "runtime/text_utils.h"

namespace kelvara {
namespace {

constexpr const char* kViewSizeVariable = "KELVARA_VIEW_SIZE";

// 0 (the default) when unset, or not a number of bytes.
std::uint32_t requestedViewSize() {
    char text[16] = {};
    const DWORD length = ::GetEnvironmentVariableA(kViewSizeVariable, text, sizeof text);
    if (length == 0 || length >= sizeof text) return 0;
    const int value = parseNumber(text);
    return value > 0 ? static_cast<std::uint32_t>(value) : 0;
}

}  // namespace

bool ImageMapping::open(HANDLE file) {
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file, &size)) return false;
    mapping_.reset(::CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping_) return false;
    size_ = static_cast<std::uint64_t>(size.QuadPart);
    SYSTEM_INFO system;
    ::GetSystemInfo(&system);
    granularity_ = system.dwAllocationGranularity;
    // Views start at multiples of the granularity: it must be a power of two to round by.
    if (granularity_ == 0 || (granularity_ & (granularity_ - 1)) != 0) granularity_ = 1u << 16;
    viewSize_ = chooseViewSize(requestedViewSize(), granularity_);
    return true;
}

void ImageWindow::open(const ImageMapping& image, std::uint64_t start) {
    place(start, image.size(), image.viewSize(), image.granularity());
    mapping_ = image.handle();
    error_ = 0;
}

const unsigned char* ImageWindow::mapView(std::uint64_t fileOffset, std::uint32_t length) {
    void* view = ::MapViewOfFile(mapping_, FILE_MAP_READ, static_cast<DWORD>(fileOffset >> 32),
                                 static_cast<DWORD>(fileOffset), length);
    if (!view) error_ = ::GetLastError() ? ::GetLastError() : ERROR_NOT_ENOUGH_MEMORY;
    return static_cast<const unsigned char*>(view);
}

void ImageWindow::unmapView(const unsigned char* view) {
    ::UnmapViewOfFile(view);
}

}  // namespace kelvara
