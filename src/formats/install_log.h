// The install log and the rollback log as data: their header lines, the settings line, the
// entry lines (kinds "a" to "h", and "i" to "l", "r", "v") and the line-adding operation shared
// by every writer. Writing the files is the install thread's job; this file only makes and reads
// text.
//
// Log text: 8-bit lines, each ending in one LF. Line 1 is kLogHeader, line 2 the product name,
// line 3 the product short name, line 4 the settings line; every further line is a kind letter,
// a comma and the kind's fields separated by commas, unquoted.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/heap_string.h"
#include "runtime/string_list.h"

namespace kelvara {

constexpr const char* kLogHeader = "=== Kelvara log file ===";
constexpr int kLogHeaderLines = 4;
constexpr int kLogFontFaceSize = 32;  // room of a font face name, terminator included

// Entry line kinds.
constexpr char kLogFolder = 'a';            // folder path: remove it when empty
constexpr char kLogFile = 'b';              // file path: delete it
constexpr char kLogRegistryValue = 'c';     // root, key path, value name: delete the value
constexpr char kLogUninstallProgram = 'd';  // program record: run it at uninstall time
constexpr char kLogRegistryKey = 'e';       // root, key path [, "1" = with everything below]
constexpr char kLogUninstallDllCall = 'f';  // DLL call record: call it at uninstall time
constexpr char kLogSharedFile = 'g';        // path: decrement its shared count
constexpr char kLogShortcut = 'h';          // shortcut file path: delete it
// Kinds that say what was there before the run, so that nothing the machine had is lost. Their
// fields are escaped (escapeLogField): any text may stand in them, commas included.
constexpr char kLogPreviousValue = 'r';     // root, type, data in hex, key path, value name: the
                                            // value the run overwrote; put it back
constexpr char kLogPreviousIniEntry = 'j';  // "1" had a value / "0" had none, file, section,
                                            // key, value: put the entry back as it was
constexpr char kLogReplacedFile = 'k';      // backup path, target path: the file the run replaced,
                                            // kept until the run ends (rollback log only)
constexpr char kLogExistingShared = 'l';    // path: a shared file that was there before the run;
                                            // give back its count, never delete it (rollback only)
// "t,<item>,<text>" (escaped): the uninstaller's text of that item in the language of the
// installation. An uninstaller that predates it knows no kind "t" and shows its English texts.
constexpr char kLogText = 't';
// "v,64," or "v,32," before a line of another kind: that line is undone in the registry's 64-bit
// or 32-bit view, and with "64" on the file system without its System32 redirection (a 64-bit
// product's lines). An uninstaller that predates it knows no kind "v" and undoes nothing there.
constexpr char kLogView = 'v';
// "p,docs+samples," and a line (which may name its view): the line belongs to those components,
// any of them. An upgrade that leaves them all out undoes it; the uninstaller undoes it as the
// line itself.
constexpr char kLogPart = 'p';

// Flags of InstallLog::add.
constexpr unsigned kLogToRollback = 1;           // the line goes to the rollback log too
constexpr unsigned kLogExcludeSystemFolder = 2;  // no line when the text is a system folder
constexpr unsigned kLogRollbackOnly = 4;  // the line goes to the rollback log alone: what only a
                                          // failed run needs (backups) stays out of the install log
// The line comes from an earlier run's log of the same product, for the install log alone; when
// this run adds it again for the rollback log, it goes there too (a duplicate otherwise changes
// nothing).
constexpr unsigned kLogCarriedOver = 8;
// With kLogToRollback: the rollback sink has the line already (the journal named the item before
// it was made); it counts as a rollback line but is not sent again.
constexpr unsigned kLogJournaled = 16;

// The appearance settings the uninstaller takes over from the install log's line 4.
struct LogSettings {
    int dialogSetOffset = 0;  // 0 or 20
    std::uint32_t accentColor = 0;
    std::uint32_t headerColor = 0;
    std::uint32_t pageColor = 0;
    std::uint32_t frameColor = 0;
    char titleFontFace[kLogFontFaceSize] = {};
    std::uint32_t titleColor = 0;
    char normalFontFace[kLogFontFaceSize] = {};
    std::uint32_t textColor = 0;
    // The installation was for the current user alone (its uninstaller needs no administrator
    // rights): a tenth field "1". A machine-wide one writes none, as logs always were.
    bool forUser = false;
};

// Writes the settings line (without its LF) into buffer, always NUL-terminated when size > 0:
// "%u,0x%X,0x%X,0x%X,0x%X,%s,0x%X,%s,0x%X", and ",1" for a user's installation. Returns the length
// written (cut to fit).
std::size_t formatSettingsLine(char* buffer, std::size_t size, const LogSettings& settings);
// Reads a settings line back by the field splitter: field 1 "0" gives offset 0, anything else
// 20; numbers by parseNumber; face names copied, cut to fit. Never fails: missing fields read
// as empty (0, empty face).
void parseSettingsLine(const char* line, LogSettings& settings);

// What InstallLog::add did with a line.
enum class LogAddResult {
    added,        // appended (and sent to the rollback sink when flagged)
    duplicate,    // an equal line (ignoring case) is already there: nothing happened
    excluded,     // a system folder with kLogExcludeSystemFolder: nothing happened
    refused,      // the line could not be read back as written (an LF, or a comma where the
                  // reader cannot tell it from a separator): nothing happened
    outOfMemory,  // nothing happened
};

// Receives the rollback log's lines as they are added (the install thread writes them to its
// temporary file at once). Write failures are not reported back: a lost line stays lost.
class LogSink {
  public:
    virtual void write(const char* text, std::size_t length) = 0;

  protected:
    ~LogSink() = default;
};

// The lines of one installation: every line for the install log, flagged ones for the rollback
// log. Not thread-safe; the install thread owns it.
class InstallLog {
  public:
    InstallLog() = default;
    InstallLog(const InstallLog&) = delete;
    InstallLog& operator=(const InstallLog&) = delete;
    ~InstallLog();

    // Starts the log (once) with its four header lines, all sent to the rollback sink. The header
    // and the settings line go through add(); the product names are appended as they are, without
    // the duplicate test. `systemFolders` (may be null: nothing is excluded) and `rollback`
    // (may be null) are kept, not owned, and must outlive the log. False when out of memory.
    bool start(const char* productName, const char* productShortName, const LogSettings& settings,
               const StringList* systemFolders, LogSink* rollback);

    // Adds the line "kind,text\n" ("kind\n" without text). See LogAddResult. An entry line
    // (a one-letter kind but "v") gets the view set by setView in front of it.
    LogAddResult add(const char* kind, const char* text, unsigned flags);
    // The view of the lines added from now on: 32 or 64 ("v,32," or "v,64," before each), 0 for
    // none (the line as it is).
    void setView(int view) { view_ = view; }
    int view() const { return view_; }
    // The components the lines added from now on belong to ("p,<part>," before each, ahead of
    // the view), as partOfComponents names them; null for none. Kept, not owned.
    void setPart(const char* part) { part_ = part; }
    // Typed entry lines. A path line takes the whole path, commas included.
    LogAddResult addPath(char kind, const char* path, unsigned flags);
    // "c,root,key,value": the value name may not contain a comma (Refused), since the reader
    // takes it after the line's last comma; the key path may.
    LogAddResult addRegistryValue(const char* root, const char* keyPath, const char* valueName,
                                  unsigned flags);
    // "e,root,key" or "e,root,key,1". A key path with a comma gets an explicit flag field "0"
    // when not deleted with everything below, so the reader can tell flag from path.
    LogAddResult addRegistryKey(unsigned root, const char* keyPath, bool withSubkeys,
                                unsigned flags);

    // "r,root,type,hex,key,name": the value the run is about to overwrite (`data`, `size` bytes
    // of registry type `type`). Every field escaped.
    LogAddResult addPreviousValue(unsigned root, const char* keyPath, const char* valueName,
                                  std::uint32_t type, const unsigned char* data, std::size_t size,
                                  unsigned flags);
    // "j,had,file,section,key,value": the INI entry before the run wrote it; `previous` null
    // when the key had no value. Every field escaped.
    LogAddResult addPreviousIniEntry(const char* file, const char* section, const char* key,
                                     const char* previous, unsigned flags);
    // A line of kind `kind` ('k', 'l' or any escaped kind) from up to two texts, each escaped.
    LogAddResult addEscaped(char kind, const char* first, const char* second, unsigned flags);

    int lineCount() const { return lines_.count(); }
    // Line i with its LF, or null. The log keeps ownership.
    const char* line(int i) const { return lines_.get(i); }
    bool lineGoesToRollback(int i) const;
    // True for a line carried over from an earlier run's log that this run has not added again.
    bool lineCarriedOver(int i) const;

    // The install log's text: every line in order. `*length` gets its length. Null when out of
    // memory or the log was not started; the caller frees the result.
    char* installLogText(std::size_t* length) const;
    // The rollback log's text: the flagged lines in order. As installLogText.
    char* rollbackLogText(std::size_t* length) const;

  private:
    // `mark`: kInstallLogLine, kRollbackLine or kCarriedOverLine (install_log.cpp).
    bool append(const char* text, unsigned char mark, bool toSink = true);
    bool growIndex();
    int findEqual(const char* text, std::uint32_t hash) const;
    char* joinLines(bool rollbackOnly, std::size_t* length) const;

    StringList lines_;
    unsigned char* rollbackFlags_ = nullptr;  // one per line
    std::uint32_t* hashes_ = nullptr;         // one per line
    int* index_ = nullptr;                    // open addressing: line number + 1, 0 = empty
    int indexSize_ = 0;                       // a power of two, at least twice the lines
    int flagCapacity_ = 0;
    const StringList* systemFolders_ = nullptr;
    LogSink* rollback_ = nullptr;
    int view_ = 0;
    const char* part_ = nullptr;
};

// One entry line read back: its kind and fields 0..14 (missing fields are empty).
// Path kinds ("a", "b", "g", "h"): field 0 is the whole rest of the line.
// "c": field 0 up to the first comma, field 2 after the last comma, field 1 between.
// "e": field 0 up to the first comma; when the rest holds a comma and its last piece is "0" or
// "1", that piece is field 2 and the key path before it field 1; otherwise the rest is the key.
// Escaped kinds ("i", "j", "k", "l", "r", "w"): the field splitter, then every field unescaped.
// Other kinds ("d", "f", unknown): the field splitter from the line's third character.
// "v,32," or "v,64," and a line: that line's kind and fields, its view in `view`; any other view
// leaves the kind "v", which undoes nothing. "p,<part>," and a line: that line.
struct LogEntry {
    char kind = 0;
    int view = 0;  // 0, 32 or 64
    StringList fields;
};
// Reads one line (without or with its LF; a CR before it is not removed). False for an empty
// line; the fields are then all empty.
bool parseLogLine(const char* line, LogEntry& entry);
// The same for `length` bytes of a line in a larger text (no terminator needed).
bool parseLogLine(const char* line, std::size_t length, LogEntry& entry);

// The header lines of a log read back, and where its entry lines start.
struct LogHeader {
    HeapString productName;
    HeapString productShortName;
    LogSettings settings;
    std::size_t entryOffset = 0;  // offset of the entry text: just after line 4's LF
};
// Reads the four header lines of a log held in memory (`length` bytes, no terminator needed).
// False when line 1 is not exactly kLogHeader (case counts), when one of lines 1 to 4 has no
// LF, or when out of memory.
bool readLogHeader(const char* bytes, std::size_t length, LogHeader& header);

// The entry lines of an entry text from the last to the first, as the uninstaller undoes them.
// Only lines ending in LF count; bytes after the last LF are no line.
class LogLinesBackward {
  public:
    LogLinesBackward(const char* bytes, std::size_t length);
    // Number of lines (LF characters).
    int count() const { return count_; }
    // The next line towards the start, without its LF; false when none is left.
    bool next(const char** line, std::size_t* length);

  private:
    const char* bytes_;
    std::size_t end_;  // one past the LF of the next line to return; 0 when done
    int count_ = 0;
};

// Field escaping of the kinds that carry any text: '%', ',', CR and LF become "%25", "%2C",
// "%0D" and "%0A". New heap strings; null when out of memory. Unescaping leaves a '%' that is
// not followed by two hex digits as it is.
char* escapeLogField(const char* text);
char* unescapeLogField(const char* text);
// Registry data as hex digits (two per byte, upper case) and back. fromHex returns the number
// of bytes written into `out` (at most `room`), or -1 when the text is not whole hex pairs.
char* registryDataHex(const unsigned char* data, std::size_t size);
long hexToBytes(const char* text, unsigned char* out, std::size_t room);

// The install log's path: the folder joined with the uninstaller's base name and ".log"
// ("Remove.exe" in C:\App gives C:\App\Remove.log). Null when out of memory.
char* installLogPath(const char* installPath, const char* uninstallerFileName);

}  // namespace kelvara
