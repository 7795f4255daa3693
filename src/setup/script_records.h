// Applying the setup script: each record stores its data into the script's configuration
// (setupState); nothing is installed here. Records have no error result: a record that is damaged
// or outside the format is left out whole, so no half-applied record remains.
#pragma once
#include <cstddef>
#include <cstdint>

#include "formats/deployment_options.h"

namespace kelvara {

// The few system services the records need. The Win32 build answers from the system; the host
// stand-in counts every face as installed, finds no registry value and reports English (9).
struct RecordPlatform {
    // True when a font family with this face name (at most 31 characters) is installed.
    bool (*fontInstalled)(const char* face);
    // New heap string with the registry value (root number 0 to 6: HKCR, HKCU, HKLM, HKU,
    // HKPD, HKCC, HKDD), whatever its type, always terminated; null when the key or value is
    // missing or the value is empty. The caller frees it.
    char* (*readRegistryText)(int root, const char* subkey, const char* valueName);
    // The primary language (low 8 bits) of the user's default language.
    int (*userLanguage)();
};

// The platform's services (Win32 or the host stand-in).
const RecordPlatform& systemRecordPlatform();

// Root number (0 to 6) of a root name "HKCR", "HKCU", "HKLM", "HKU", "HKPD", "HKCC" or
// "HKDD", ignoring case; -1 for any other text.
int registryRootNumber(const char* name);

// Applies one record of `type` with `length` payload bytes. Types the engine does not know
// (outside kFirstRecordType to kLastRecordType) are skipped.
void applyRecord(std::int32_t type, const unsigned char* payload, std::uint32_t length,
                 const RecordPlatform& platform);
void applyRecord(std::int32_t type, const unsigned char* payload, std::uint32_t length);

// Applies every record of the script block in order, never reading outside it. True when the
// walk met the end record; false when the block ended or a record ran past it first (the
// records before that point are applied all the same).
bool applyScript(const unsigned char* script, std::size_t size, const RecordPlatform& platform);
bool applyScript(const unsigned char* script, std::size_t size);

// The installation folder of the command line (/DIR=), when one was given, becomes %InstallPath%,
// saved without a trailing separator as the destination page saves what is typed. False when
// the heap is exhausted.
bool applyFolderOption(const DeploymentOptions& options);

// Applies again, after the install scope changed, the records whose text was stored with its
// folder tokens expanded: variables (each name's first definition replaces its value), page
// texts, settings (the previous location, the items after setup), programs and DLL calls,
// registry, INI and association entries (their lists are emptied first). The script's other
// records keep what they stored; what the user and the command line set stays unless a record
// sets it again.
void reapplyScopedRecords(const unsigned char* script, std::size_t size,
                          const RecordPlatform& platform);

// Applies again, after the selection of components or tasks changed, the records it keeps or
// leaves out: shortcuts, registry, INI and association entries, programs and DLL calls (their
// lists are emptied first). A kind of shortcut that was there before keeps the person's choice
// whether to create it; one that appears is created unless the person clears it.
void reapplyChosenRecords(const unsigned char* script, std::size_t size,
                          const RecordPlatform& platform);

}  // namespace kelvara
