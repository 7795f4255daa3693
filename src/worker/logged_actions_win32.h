// The uninstaller's actions: the "d" and "f" lines of an install log, each run once (Windows
// only). Every action and how it ended goes to the run log.
#pragma once

namespace kelvara {

class StringList;

// A "d" line of the install log: fields 0 to 3 (program, arguments, working folder, wait flag,
// waiting when empty) and its success codes, run once, without a list. False when it failed
// (the run log says how).
bool runLoggedProgram(const StringList& fields);
// An "f" line: fields 0 to 3 (DLL path, function name, arguments) called once, without a list.
// False when it failed.
bool callLoggedDll(const StringList& fields);

}  // namespace kelvara
