// Shortcut records as data: which records the wizard's choices keep, their expansion, and their
// fields. Creating the link file is the install thread's job (shortcuts_win32.cpp); this file
// only decides and reads text. Portable: no system calls.
#pragma once
#include <cstdint>

#include "formats/record_fields.h"
#include "runtime/heap_string.h"
#include "runtime/string_list.h"

namespace kelvara {

// The kinds of shortcut the user may turn off, each named by a marker in the raw record.
struct ShortcutChoices {
    bool group = true;        // "%ShortcutsGroup%"
    bool desktop = true;      // "<Desktop>" or "<CommonDesktop>"
    bool quickLaunch = true;  // "<QuickLaunch>"
};

// True when the raw record (tokens and variables still in it) is to be created: false when it
// mentions, anywhere and in any letter case, the marker of a kind whose choice is off. A null
// record is kept (it names no kind).
bool shortcutWanted(const char* record, const ShortcutChoices& choices);

// New heap string: the record with its folder tokens expanded, then its variables. Null when
// the heap is exhausted; the caller frees the result.
char* expandShortcutRecord(const char* record);

constexpr int kDefaultShowCommand = kShowNormal;

// One shortcut, read from an expanded record. The texts stay owned by the record.
struct ShortcutRecord {
    StringList fields;         // the record cut at commas; missing fields are empty
    HeapString workingFolder;  // field 3 without one trailing separator, else the install path
    int iconIndex = 0;         // field 5; 0 when empty
    int showCommand = kDefaultShowCommand;  // field 6; 0 leaves the link's own default
    std::uint16_t hotKey = 0;               // low 16 bits of field 7; 0 sets no hot key
    bool shared = false;                    // field 8 nonzero

    const char* text(ShortcutField field) const;
    const char* linkPath() const { return text(kShortcutLinkPath); }
    const char* target() const { return text(kShortcutTarget); }
    const char* arguments() const { return text(kShortcutArguments); }
    const char* iconFile() const { return text(kShortcutIconFile); }
};

// Fills `record` from an expanded record text. An empty working folder (also one that was only a
// separator) becomes `installPath` (null counts as empty). False when the heap is exhausted.
bool readShortcutRecord(const char* expanded, const char* installPath, ShortcutRecord& record);

// True when a link path names a file by a full path: a drive letter, colon and backslash, or a
// network path (\\server\share\...), and a file name after the last backslash. A relative or
// empty path would land wherever the current folder happens to be, and the uninstaller, run
// from elsewhere, would delete a different file by the same name.
bool isFullLinkPath(const char* path);

// New heap string: the folder the link goes into (the link path cut at its last backslash), or
// an empty string for a link in a drive's root, which has no folder to make ("C:" alone would
// name the drive's current folder). Null when the path has no backslash or the heap is
// exhausted; the caller frees the result.
char* linkFolder(const char* path);

}  // namespace kelvara
