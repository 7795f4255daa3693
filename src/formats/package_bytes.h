// Where a package's bytes are read from: all of them in memory (the builder, tests), or a window
// of the image file that moves along with the reading (the engine), so that an image of any size
// needs only a bounded piece of a 32-bit process's address space.
#pragma once
#include <cstddef>
#include <cstdint>

namespace kelvara {

class PackageBytes {
  public:
    // `length` bytes from package offset `offset`, in one piece, valid until the next call on this
    // object. Null when they do not all lie inside the package, when `length` exceeds reach(), or
    // when they could not be made readable (see the implementation's error).
    virtual const unsigned char* bytesAt(std::uint32_t offset, std::uint32_t length) = 0;
    // Up to `length` bytes from `offset` (at least 1, length at most reach()), as many as can be
    // given without moving a window that holds the offset already: their count goes to
    // *available. Valid and null as for bytesAt. For readers that need an unknown number of bytes,
    // most often few: they ask bytesAt for all only when these do not suffice.
    virtual const unsigned char* bytesUpTo(std::uint32_t offset, std::uint32_t length,
                                           std::uint32_t* available) = 0;
    // The most bytes one call can give; at least 1.
    virtual std::uint32_t reach() const = 0;
    // The package's length in bytes.
    std::uint32_t size() const { return size_; }

  protected:
    explicit PackageBytes(std::uint32_t size) : size_(size) {}
    ~PackageBytes() = default;
    void setSize(std::uint32_t size) { size_ = size; }
    // Every package offset is 32-bit: a package can use at most 4 GB - 1 of its bytes.
    static std::uint32_t limitedSize(std::uint64_t size) {
        return size < 0xFFFFFFFFu ? static_cast<std::uint32_t>(size) : 0xFFFFFFFFu;
    }
    bool contains(std::uint32_t offset, std::uint32_t length) const {
        return offset <= size_ && length <= size_ - offset;
    }

  private:
    std::uint32_t size_;
};

// A package held whole in memory (not owned). Inline, as PackageWindow is, for the same reason.
class PackageInMemory final : public PackageBytes {
  public:
    PackageInMemory(const unsigned char* bytes, std::size_t size)
        : PackageBytes(bytes ? limitedSize(size) : 0), bytes_(bytes) {}
    const unsigned char* bytesAt(std::uint32_t offset, std::uint32_t length) override {
        return bytes_ && contains(offset, length) ? bytes_ + offset : nullptr;
    }
    const unsigned char* bytesUpTo(std::uint32_t offset, std::uint32_t length,
                                   std::uint32_t* available) override {
        *available = length;
        return bytesAt(offset, length);
    }
    std::uint32_t reach() const override { return size() ? size() : 1; }

  private:
    const unsigned char* bytes_;
};

// A package read through views of the file that holds it: one view at a time, of at most
// viewSize bytes, starting at a multiple of the granularity; a request outside the view moves it.
// How a view is made (the bytes read into a buffer, a view of a mapping) and given back is the
// subclass's. Empty (no bytes) until placed. The destructor gives no view back: the subclass
// calls release() in its own.
class PackageWindow : public PackageBytes {
  public:
    // (Inline, so that the class has no key function: subclasses built with type information,
    // as tests are, link against the engine's code built without.)
    const unsigned char* bytesAt(std::uint32_t offset, std::uint32_t length) override {
        return viewBytes(offset, length);
    }
    const unsigned char* bytesUpTo(std::uint32_t offset, std::uint32_t length,
                                   std::uint32_t* available) override {
        return viewBytesUpTo(offset, length, available);
    }
    // A view of viewSize bytes at any multiple of the granularity holds every request this long.
    std::uint32_t reach() const override { return viewSize_ - granularity_; }
    // Gives the current view back; the next request makes a new one.
    void release();
    // The largest view made so far, in bytes.
    std::uint32_t largestView() const { return largestView_; }

  protected:
    PackageWindow() : PackageBytes(0) {}
    ~PackageWindow() = default;
    // The package starts at packageStart in a file of fileSize bytes and runs to its end (at
    // most 4 GB - 1 of it: every package offset is 32-bit). viewSize is at least twice the
    // granularity, both powers of two (see chooseViewSize). Gives back the view of an earlier
    // placing.
    void place(std::uint64_t packageStart, std::uint64_t fileSize, std::uint32_t viewSize,
               std::uint32_t granularity);
    // A view of `length` bytes of the file from `fileOffset` (a multiple of the granularity), or
    // null when it cannot be made.
    virtual const unsigned char* makeView(std::uint64_t fileOffset, std::uint32_t length) = 0;
    virtual void dropView(const unsigned char* view) = 0;

  private:
    const unsigned char* viewBytes(std::uint32_t offset, std::uint32_t length);
    const unsigned char* viewBytesUpTo(std::uint32_t offset, std::uint32_t length,
                                       std::uint32_t* available);

    std::uint64_t packageStart_ = 0;
    std::uint64_t fileSize_ = 0;
    std::uint32_t viewSize_ = 2;
    std::uint32_t granularity_ = 1;
    const unsigned char* view_ = nullptr;
    std::uint64_t viewStart_ = 0;  // file offset of view_[0]
    std::uint32_t viewLength_ = 0;
    std::uint32_t largestView_ = 0;
};

// The view size for a requested one: a power of two from twice the granularity up to
// kLargestViewSize, the requested size rounded down (0: the default).
constexpr std::uint32_t kDefaultViewSize = 1u << 20;
constexpr std::uint32_t kLargestViewSize = 64u << 20;
std::uint32_t chooseViewSize(std::uint32_t requested, std::uint32_t granularity);

}  // namespace kelvara
