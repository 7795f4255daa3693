// Deleting a file that resists, and putting a replaced file back (Windows only).
#pragma once

namespace kelvara {

// How long the uninstaller keeps trying to delete a file that resists (in use, most often).
constexpr unsigned long kDeleteAttemptMs = 2000;

// Tries to delete the file again and again until it is gone or kDeleteAttemptMs have passed.
// True when the file no longer exists afterwards (also when it never existed). The file's
// attributes are left to the caller.
bool deleteFileWithinTime(const char* path);

// Puts the old content of a file back from the backup the installation kept of it, beside the
// file or in the temporary folder (possibly on another drive): the file is deleted and the
// backup moved in its place, or, when the file cannot be deleted now, at the restart. Nothing
// when there is no backup.
void putBackReplacedFile(const char* backup, const char* target);

}  // namespace kelvara
