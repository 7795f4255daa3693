// Recovering an installation that was cut off (killed, crashed, the power gone): its journal is
// undone as far as the run had got, then its private temporary folder and its marks go, and the
// machine is as it was before it started. Run by the next logon (the RunOnce entry's command),
// by the next setup or uninstaller of the same product, whichever comes first; one that is cut
// off too is simply run again, and goes on where it stopped (Windows only).
#pragma once

namespace kelvara {

// What a recovery came to.
enum class Recovery {
    done,       // undone (or, for a run that had completed, its backups deleted); marks gone
    noJournal,  // no journal at that path (nothing to undo): the caller clears the mark
    untrusted,  // users who are not administrators may change it: left as it is, logged
    inUse,      // its run is still writing it (it is alive): left as it is, marks and all
};

// Recovers the run whose journal lies at `journalPath`. With `takeHeader` the journal's product
// names and look become the run's (the recovery at logon has no script of its own).
Recovery recoverInterruptedRun(const char* journalPath, bool takeHeader);

}  // namespace kelvara
