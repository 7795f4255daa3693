#include "formats/package_bytes.h"

namespace kelvara {
namespace {

// An empty request needs no view (and a view of no bytes would map the whole file).
const unsigned char kNoBytes[1] = {};

}  // namespace

void PackageWindow::place(std::uint64_t packageStart, std::uint64_t fileSize,
                          std::uint32_t viewSize, std::uint32_t granularity) {
    release();
    setSize(packageStart < fileSize ? limitedSize(fileSize - packageStart) : 0);
    packageStart_ = packageStart;
    fileSize_ = fileSize;
    viewSize_ = viewSize;
    granularity_ = granularity;
}

const unsigned char* PackageWindow::viewBytes(std::uint32_t offset, std::uint32_t length) {
    if (!contains(offset, length) || length > reach()) return nullptr;
    if (length == 0) return kNoBytes;
    const std::uint64_t at = packageStart_ + offset;
    if (view_ && at >= viewStart_ && at + length <= viewStart_ + viewLength_)
        return view_ + (at - viewStart_);
    release();
    // The view starts at the granularity step below the request and holds up to viewSize bytes:
    // the request, at most reach() long, always fits.
    const std::uint64_t start = at & ~std::uint64_t(granularity_ - 1);
    const std::uint64_t left = fileSize_ - start;
    const auto viewLength = static_cast<std::uint32_t>(left < viewSize_ ? left : viewSize_);
    view_ = makeView(start, viewLength);
    if (!view_) return nullptr;
    viewStart_ = start;
    viewLength_ = viewLength;
    if (viewLength > largestView_) largestView_ = viewLength;
    return view_ + (at - start);
}

const unsigned char* PackageWindow::viewBytesUpTo(std::uint32_t offset, std::uint32_t length,
                                                  std::uint32_t* available) {
    *available = 0;
    if (!contains(offset, length) || length > reach()) return nullptr;
    const std::uint64_t at = packageStart_ + offset;
    if (!view_ || at < viewStart_ || at >= viewStart_ + viewLength_) {
        // Not in the view: a new one from the request's step holds all of it.
        const unsigned char* bytes = viewBytes(offset, length);
        if (bytes) *available = length;
        return bytes;
    }
    const std::uint64_t inView = viewStart_ + viewLength_ - at;
    *available = inView < length ? static_cast<std::uint32_t>(inView) : length;
    return view_ + (at - viewStart_);
}

void PackageWindow::release() {
    if (view_) dropView(view_);
    view_ = nullptr;
    viewLength_ = 0;
}

std::uint32_t chooseViewSize(std::uint32_t requested, std::uint32_t granularity) {
    if (requested == 0) requested = kDefaultViewSize;
    const std::uint32_t smallest = granularity * 2;
    if (requested < smallest) requested = smallest;
    if (requested > kLargestViewSize) requested = kLargestViewSize;
    std::uint32_t size = smallest;
    while (size * 2 <= requested) size *= 2;
    return size;
}

}  // namespace kelvara
