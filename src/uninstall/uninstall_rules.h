// The uninstaller's rules that work on text alone: which log a run reads, the self-removal
// script and the shared-file question.
#pragma once

namespace kelvara {

constexpr const char* kSelfRemovalScriptName = "delself.bat";

// Chooses the log of an uninstaller run from its command line. The deployment options are taken
// out first; the argument text then starts after the first quoted part (from a double quote to
// the next), or is the whole line when there is none, and is trimmed of blanks. At least 5
// characters ending in ".log" (any case): the second stage (the temporary copy), which reads that
// path; *secondStage is set. Otherwise the first stage, which reads the log named after its own
// file in its own folder (installerDir, base name of installerPath, ".log"). A new heap string the
// caller frees; null when out of memory.
char* chooseUninstallLog(const char* commandLine, const char* installerDir,
                         const char* installerPath, bool* secondStage);

// The text of the self-removal batch file: it deletes the program at programPath, retrying until
// the program's process has ended, then deletes itself (scriptPath) and, when folderPath is not
// null, the folder both were in, on the same line (the interpreter has read it before the file
// is gone); where the folder is still there (an interpreter that holds its script open to the
// end), a second interpreter retries for a while, by the folder's name: the script runs in the
// folder above. Every path is quoted. No final line break. A new heap string; null when out of
// memory.
char* selfRemovalScriptText(const char* programPath, const char* scriptPath,
                            const char* folderPath);

// True when `keyPath` is the product's entry in the list of installed programs (the Uninstall
// key named `shortName`, a leading backslash and any case allowed).
bool isUninstallEntryKey(const char* keyPath, const char* shortName);

// The question shown when a shared file's count reached zero, naming the file and its folder.
// A new heap string; null when out of memory.
char* sharedFileQuestion(const char* path);

}  // namespace kelvara
