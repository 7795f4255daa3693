// The setup image as the install thread reads it: one read-only mapping of the image file, and
// windows onto it that each map one bounded view at a time, so that neither the address space
// nor the memory the image takes grows with the image.
#pragma once
#include <windows.h>

#include <cstdint>

#include "formats/package_bytes.h"
#include "runtime/handles_win32.h"

namespace kelvara {

// The message when the image cannot be mapped or read: the system's error text follows.
constexpr const char* kImageUnreadable = "The installer cannot read its own file:\n%s";

class ImageMapping {
  public:
    // Maps the open image file for reading; false with the last error set.
    bool open(HANDLE file);
    void close() { mapping_.reset(); }
    HANDLE handle() const { return mapping_.get(); }
    std::uint64_t size() const { return size_; }
    // The view size of this run, a power of two: the default, or the bytes that the environment
    // variable KELVARA_VIEW_SIZE names (a small one puts entries across the views' edges in
    // tests), within the limits chooseViewSize sets.
    std::uint32_t viewSize() const { return viewSize_; }
    std::uint32_t granularity() const { return granularity_; }

  private:
    UniqueHandle mapping_;
    std::uint64_t size_ = 0;
    std::uint32_t viewSize_ = 0;
    std::uint32_t granularity_ = 0;
};

class ImageWindow final : public PackageWindow {
  public:
    ImageWindow() = default;
    ImageWindow(const ImageWindow&) = delete;
    ImageWindow& operator=(const ImageWindow&) = delete;
    ~ImageWindow() { release(); }

    // Reads the image from file offset `start` to its end (the package: the setup image's
    // package offset; the whole image: 0). The mapping must outlive the window's views.
    void open(const ImageMapping& image, std::uint64_t start);
    // The error of the last view the system refused, 0 when none was.
    DWORD error() const { return error_; }

  protected:
    const unsigned char* mapView(std::uint64_t fileOffset, std::uint32_t length) override;
    void unmapView(const unsigned char* view) override;

  private:
    HANDLE mapping_ = nullptr;
    DWORD error_ = 0;
};

}  // namespace kelvara
