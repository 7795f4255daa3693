// Encoding of setup script records: the writing side of script_format.h. kelvara-build writes
// every record through these functions, so the bytes it makes are the ones RecordCursor and
// PayloadReader read. Portable and free of containers: the caller supplies the byte sink.
#pragma once
#include <cstddef>
#include <cstdint>

#include "formats/script_format.h"

namespace kelvara {

// Where encoded bytes go. append returns false when the bytes could not be stored; the writer
// then stops writing and reports the failure from ok().
class ByteSink {
  public:
    virtual bool append(const void* bytes, std::size_t size) = 0;

  protected:
    ~ByteSink() = default;
};

// Writes framed records (type, length, payload) to a sink, and the end record. Every write
// checks that the payload length fits its 32-bit field; after the first failure nothing more
// is written and ok() stays false.
class ScriptWriter {
  public:
    explicit ScriptWriter(ByteSink& sink) : sink_(sink) {}

    void variable(const char* name, const char* value);
    // Exactly kPageFlagsSize bytes: non-zero enables the page.
    void pageFlags(const std::uint8_t (&enabled)[kPageFlagsSize]);
    void text(std::uint16_t language, std::uint8_t table, std::uint8_t item, const char* value);
    void languages(bool autoSelect, const std::uint16_t* numbers, std::size_t count);
    // Two RGB numbers (0xRRGGBB), the ends of the background gradient.
    void background(std::uint32_t firstRgb, std::uint32_t secondRgb);
    void accentColor(std::uint32_t color);
    void settings(const SettingsRecord& settings);
    void requirements(const char* windows, const char* directX, const char* ie, const char* access,
                      bool administrator);
    void productDetails(bool allowDowngrade, const char* version, const char* publisher,
                        const char* aboutUrl, const char* helpUrl);
    // Records whose payload is one string: licence, readme, shortcut, registry, INI, program,
    // DLL call, association and background line.
    void stringRecord(std::int32_t type, const char* value);
    // A record whose payload is one byte.
    void byteRecord(std::int32_t type, std::uint8_t value);
    // The scope record: the scope and the choice a "choose" product starts from.
    void scope(std::uint8_t scope, std::uint8_t defaultChoice);
    // A component: its flags (kChoice*), its parent (0: none, else the parent's index + 1; the
    // parent's record comes first), the bytes its files need, its id, name and description.
    void component(std::uint8_t flags, std::uint8_t parent, std::uint32_t bytes, const char* id,
                   const char* name, const char* description);
    // A task: its flags (kChoiceDefault), its group (0: none), id, name and description.
    void task(std::uint8_t flags, std::uint8_t group, const char* id, const char* name,
              const char* description);
    // A setup type: its flags (0), the components it selects (bit i: component i), id and name.
    void setupType(std::uint8_t flags, std::uint32_t components, const char* id, const char* name);
    // A condition: the components and tasks the entry and action records after it need.
    void condition(std::uint32_t components, std::uint32_t tasks);
    // The end record (its type alone).
    void end();

    bool ok() const { return ok_; }

  private:
    bool header(std::int32_t type, std::size_t length);
    void bytes(const void* data, std::size_t size);
    void u8(std::uint8_t value) { bytes(&value, 1); }
    void u16(std::uint16_t value);
    void u32(std::uint32_t value);
    void string(const char* value);

    ByteSink& sink_;
    bool ok_ = true;
};

}  // namespace kelvara
