// Programs that hold files the uninstaller is about to remove: found before the removal, and
// closed when the person agrees or the command line says so.
#pragma once

namespace kelvara {

// Finds the programs that hold files the install log names (the uninstaller's own aside) and,
// as /CLOSEAPPLICATIONS, /FORCECLOSEAPPLICATIONS and /NOCLOSEAPPLICATIONS say, or after asking
// (not in a quiet run), closes them. What still runs keeps its files for the restart, as before.
// Nothing is started again: it is being removed. `caption` is the question's.
void closeProgramsBeforeRemoval(const char* caption);

}  // namespace kelvara
