// Removing folder trees for the uninstaller (Windows only).
#pragma once

namespace kelvara {

// Deletes the folder with everything in it: files get normal attributes first; failures of
// single entries are skipped; a folder link (junction) inside is removed as a link, without
// entering it. A protected folder (isProtectedFolder over the folder tokens' folders) is left
// untouched, and so is every protected folder inside. True when the folder itself was removed.
bool deleteFolderTree(const char* folder);

}  // namespace kelvara
