// The marks of an installation in progress, set before its first change and removed when it
// ends, either way. A run killed before its end leaves them, and they lead to its journal:
//   - a value under Software\Kelvara\Interrupted named after the product's short name, holding
//     the journal's path, which the next setup (or uninstaller) of that product looks for;
//   - a RunOnce entry, "!Kelvara recovery: <short name>", whose command undoes the run at the
//     next logon.
// A machine-wide installation keeps them in HKEY_LOCAL_MACHINE, a user's in HKEY_CURRENT_USER.
// The journal's own key is in the engine's view; the RunOnce entry in the native one, which is
// the one the logon runs.
#pragma once
#include <cstdint>

namespace kelvara {

// Keys that setting the marks made (they go with the marks when they are empty).
constexpr std::uint32_t kMadeJournalKey = 1;  // Software\Kelvara\Interrupted
constexpr std::uint32_t kMadeEngineKey = 2;   // Software\Kelvara
constexpr std::uint32_t kMadeRunOnceKey = 4;  // ...\CurrentVersion\RunOnce

// Sets the mark that leads the next setup of `shortName` to `journalPath`. `*madeKeys` gets the
// keys it made. False when it could not be set (the last error says why).
bool setJournalMark(const char* shortName, bool forUser, const char* journalPath,
                    std::uint32_t* madeKeys);

// Sets the RunOnce entry that runs `command` at the next logon. `*madeKeys` gets the keys it
// made, added to what it held. False when it could not be set.
bool setRecoveryAtLogon(const char* shortName, bool forUser, const char* command,
                        std::uint32_t* madeKeys);

// Removes both marks of `shortName`, and the keys of `madeKeys` that are empty then. Harmless
// when they are gone already.
void clearRunMarks(const char* shortName, bool forUser, std::uint32_t madeKeys);

// The journal path the mark of `shortName` holds, as a new heap string (the caller frees it);
// null when there is none.
char* markedJournal(const char* shortName, bool forUser);

}  // namespace kelvara
