// The options a deployment gives the installer or the uninstaller after the program name:
//   /DIR=folder   the installation folder            /LOG=file    the run log
//   /QUIET        silent, and no message box at all  /NORESTART   never restart
//   /PASSIVE      as /QUIET, with a progress window (the uninstaller takes it as /QUIET)
//   /S            silent, as a first argument S is   /SILENT, /VERYSILENT: /S and /QUIET, by
//                                                    the names other installers use
//   /ALLUSERS     for every user of the machine      /CURRENTUSER  for the current user alone
//                 (a product that lets one choose)
//   /ELEVATED     the run is the elevated restart of one that lacked administrator rights: it
//                 does not ask again
//   /TYPE=id      the setup type to start from      /COMPONENTS=a,b,!c  /TASKS=x,!y  parts to
//                                                    tick, or after "!" to clear, in order
//   /CLOSEAPPLICATIONS       close the programs that hold files the run replaces or removes
//   /FORCECLOSEAPPLICATIONS  the same, and end those that do not close
//   /NOCLOSEAPPLICATIONS     leave them running (their files wait for the restart)
//   /RESTARTAPPLICATIONS, /NORESTARTAPPLICATIONS  start the closed programs again afterwards,
//                 or not
// Names are matched in any case; a value keeps its case and may be written in double quotes to
// hold blanks (/DIR="C:\Program Files\Tool"). A quote only opens or closes a quoted part; a
// backslash before it is an ordinary character, so a folder may end in one. An option may also
// stand in quotes whole ("/DIR=C:\Program Files\Tool"). The last of a repeated option wins.
// Arguments that do not begin with a slash are not options: the silent switch (a first
// argument beginning with S) and the uninstaller's log path are read elsewhere.
#pragma once
#include <cstdint>

#include "runtime/heap_string.h"
#include "runtime/string_list.h"

namespace kelvara {

// The values of the two options about programs in use.
constexpr std::uint8_t kOptionNotGiven = 0;
constexpr std::uint8_t kCloseGiven = 1;       // /CLOSEAPPLICATIONS, /RESTARTAPPLICATIONS
constexpr std::uint8_t kForceCloseGiven = 2;  // /FORCECLOSEAPPLICATIONS
constexpr std::uint8_t kNoCloseGiven = 3;     // /NOCLOSEAPPLICATIONS, /NORESTARTAPPLICATIONS

struct DeploymentOptions {
    bool silent = false;             // /S, /SILENT
    bool quiet = false;              // /QUIET, /VERYSILENT (implies silent)
    bool passive = false;            // /PASSIVE: quiet, with a progress window
    bool noRestart = false;          // /NORESTART
    bool allUsers = false;           // /ALLUSERS; the later of it and /CURRENTUSER wins
    bool currentUser = false;        // /CURRENTUSER
    bool restartedElevated = false;  // /ELEVATED
    bool folderGiven = false;
    HeapString folder;  // /DIR=, as written without its quotes (may be empty)
    bool logGiven = false;
    HeapString logFile;  // /LOG=, as written without its quotes (may be empty)
    bool setupTypeGiven = false;
    HeapString setupType;  // /TYPE=
    bool componentsGiven = false;
    HeapString components;  // /COMPONENTS=
    bool tasksGiven = false;
    HeapString tasks;  // /TASKS=
    bool recoverGiven = false;
    HeapString recoverJournal;  // /RECOVER=: the journal of a run that was cut off
    // The last of /CLOSEAPPLICATIONS, /FORCECLOSEAPPLICATIONS and /NOCLOSEAPPLICATIONS, and of
    // /RESTARTAPPLICATIONS and /NORESTARTAPPLICATIONS (kOptionNotGiven: neither).
    std::uint8_t closeApplications = kOptionNotGiven;
    std::uint8_t restartApplications = kOptionNotGiven;
    StringList unknownOptions;  // each option not known, as written up to its '='
};

// Reads the options from a command line as the system gives it, the program name first (it is
// skipped). Options already in `options` are replaced. False only when the heap is exhausted.
bool readDeploymentOptions(const char* commandLine, DeploymentOptions& options);

// The options as a command line reads them back: the known ones that are set, each value in
// double quotes, separated and followed by one blank ("" when none). For the uninstaller's
// second stage, which must see the options its first stage was given. Null when the heap is
// exhausted; the caller frees the result.
char* deploymentOptionsText(const DeploymentOptions& options);

// Where the arguments begin in a command line as the system gives it: past the program name and
// the blanks after it.
const char* skipProgramName(const char* commandLine);

// Removes every option from the text in place, quoted parts and all, with the blanks before
// each; the other arguments stay exactly as written. The uninstaller's second stage is told by
// an argument that ends in ".log" (its log's path), which an option such as /LOG=run.log must
// not look like.
void removeDeploymentOptions(char* text);

// Where the first argument that is not an option begins in `arguments` (a command line without
// its program name): past the blanks and every option, quoted parts and all. A path never begins
// with a slash, so a log path after the options is found whole.
const char* skipDeploymentOptions(const char* arguments);

}  // namespace kelvara
