#include "install/image_window_win32.h"

#include "runtime/heap.h"
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

bool ImageFile::open(HANDLE file) {
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file, &size)) return false;
    file_ = file;
    size_ = static_cast<std::uint64_t>(size.QuadPart);
    viewSize_ = chooseViewSize(requestedViewSize(), kReadGranularity);
    return true;
}

void ImageWindow::open(const ImageFile& image, std::uint64_t start) {
    place(start, image.size(), image.viewSize(), image.granularity());
    file_ = image.handle();
    error_ = 0;
}

void ImageWindow::close() {
    release();
    buffer_.reset();
    bufferSize_ = 0;
}

const unsigned char* ImageWindow::makeView(std::uint64_t fileOffset, std::uint32_t length) {
    if (length > bufferSize_) {
        buffer_.reset(static_cast<unsigned char*>(heapAlloc(length)));
        bufferSize_ = buffer_ ? length : 0;
        if (!buffer_) {
            error_ = ERROR_NOT_ENOUGH_MEMORY;
            return nullptr;
        }
    }
    // A read at an offset of its own: the install thread and the helper that inflates ahead
    // read the one file handle at once, each where its window lies.
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(fileOffset);
    at.OffsetHigh = static_cast<DWORD>(fileOffset >> 32);
    DWORD read = 0;
    if (!::ReadFile(file_, buffer_.get(), length, &read, &at)) {
        error_ = ::GetLastError() ? ::GetLastError() : ERROR_READ_FAULT;
        return nullptr;
    }
    if (read != length) {
        error_ = ERROR_HANDLE_EOF;
        return nullptr;
    }
    return buffer_.get();
}

}  // namespace kelvara
