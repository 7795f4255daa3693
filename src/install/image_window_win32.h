// The setup image as the install thread reads it: the open image file, and windows onto it that
// each hold one bounded piece of it at a time, read into a buffer of their own, so that neither
// the address space nor the memory the image takes grows with the image. The pieces are read,
// not mapped: a read that fails (a network share gone, a bad sector, a file cut short) is an
// error the caller reports at that point, where a fault on a mapped page would end the process
// in the middle of the inflater, with nothing rolled back.
#pragma once
#include <windows.h>

#include <cstdint>

#include "formats/package_bytes.h"
#include "runtime/heap_string.h"

namespace kelvara {

// The message when the image cannot be read: the system's error text follows. (An image that
// ends before its package does is damaged, and says so instead.)
constexpr const char* kImageUnreadable = "The installer cannot read its own file:\n%s";

class ImageFile {
  public:
    // Takes the open image file (not owned: it must stay open while windows read it) and learns
    // its size; false with the last error set.
    bool open(HANDLE file);
    void close() { file_ = INVALID_HANDLE_VALUE; }
    HANDLE handle() const { return file_; }
    std::uint64_t size() const { return size_; }
    // The view size of this run, a power of two: the default, or the bytes that the environment
    // variable KELVARA_VIEW_SIZE names (a small one puts entries across the views' edges in
    // tests), within the limits chooseViewSize sets.
    std::uint32_t viewSize() const { return viewSize_; }
    std::uint32_t granularity() const { return kReadGranularity; }

  private:
    // Reads start at a page's edge: the system copies whole pages of its cache.
    static constexpr std::uint32_t kReadGranularity = 4096;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::uint64_t size_ = 0;
    std::uint32_t viewSize_ = 0;
};

class ImageWindow final : public PackageWindow {
  public:
    ImageWindow() = default;
    ImageWindow(const ImageWindow&) = delete;
    ImageWindow& operator=(const ImageWindow&) = delete;
    ~ImageWindow() { release(); }

    // Reads the image from file offset `start` to its end (the package: the setup image's
    // package offset; the whole image: 0). The image file must outlive the window's reads.
    void open(const ImageFile& image, std::uint64_t start);
    // Gives back the view and the buffer that holds it.
    void close();
    // The error of the last read that failed, 0 when none did: ERROR_HANDLE_EOF when the file
    // ended before the bytes asked for (it was cut short), ERROR_NOT_ENOUGH_MEMORY when there
    // was no buffer to read into.
    DWORD error() const { return error_; }

  protected:
    const unsigned char* makeView(std::uint64_t fileOffset, std::uint32_t length) override;
    void dropView(const unsigned char*) override {}

  private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    HeapOwned<unsigned char> buffer_;
    std::uint32_t bufferSize_ = 0;
    DWORD error_ = 0;
};

}  // namespace kelvara
