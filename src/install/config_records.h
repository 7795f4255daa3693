// The registry value, INI entry and file association records as the install thread reads them
// (after variable expansion and field splitting), and the uninstall entry's names. Portable:
// rules on text only.
#pragma once
#include <cstdint>

#include "formats/record_fields.h"
#include "runtime/registry_roots.h"
#include "runtime/string_list.h"

namespace kelvara {

// One record as a phase uses it: expanded with the variables, then cut at commas into 15
// fields (missing ones empty).
class RecordFields {
  public:
    // False when out of memory; every field then reads as empty.
    bool read(const char* record);
    // Field i, "" when missing. The object keeps ownership.
    const char* get(int i) const;
    // Field i for changing in place (its length may only shrink); null when missing.
    char* edit(int i) { return fields_.get(i); }

  private:
    StringList fields_;
};

// The root number of a record's root field: its number (parseNumber) without the predefined
// key bit, so "2" and "0x80000002" both give 2. Numbers above 6 name no root.
unsigned recordRootNumber(const char* field);

// The value type of a record's type field: its number, with 0 (or an empty field) meaning 1.
std::uint32_t registryValueType(const char* field);

// Makes a record's key path ready for the key chain: one trailing backslash or slash is removed
// in place, and the result starts after one leading backslash. Null stays null.
char* normalizeKeyPath(char* path);

// True when an INI record's append field is set: not empty and not starting with '0'.
bool iniAppendFlag(const char* field);

// Where an INI record's file lives, for telling whether the run creates it.
enum class IniPlace {
    withFolder,     // the path has a backslash: its folder part is made with the folder chain
    windowsFolder,  // a bare name (no backslash, slash or colon): the system keeps it in the
                    // Windows folder
    asGiven,        // a slash or drive-relative path without a backslash: no folder to make
};
IniPlace iniPlace(const char* path);

// The path whose existence tells whether an INI file is there: for a bare name the Windows
// folder joined with it (null when the folder is unknown: null or empty), otherwise a copy of
// the path. A new heap string the caller frees; null also when out of memory.
char* iniFileLocation(const char* path, const char* windowsFolder);

// The uninstall entry's key below HKEY_LOCAL_MACHINE for a product short name:
// "Software\Microsoft\Windows\CurrentVersion\Uninstall\<name>". Null for a name that is empty
// or holds a backslash, which would name the Uninstall key itself or a key of another entry
// (the uninstaller deletes this key with everything below it), and when out of memory.
char* uninstallKeyPath(const char* productShortName);

// The uninstall entry's "EstimatedSize": bytes in kilobytes, rounded up.
std::uint32_t estimatedSizeKb(std::uint32_t bytes);

// An association's icon location: the icon file, a comma and the index field as a signed
// decimal number ("%i" of parseNumber). A new heap string; null when out of memory.
char* iconLocation(const char* iconFile, const char* indexField);

}  // namespace kelvara
