// Folder tokens in a text replaced by the folders they stand for on this system. Portable: the
// folders are the run's folderPaths, resolved at start-up (environment/folder_tokens_win32.h).
#pragma once

namespace kelvara {

// New heap string: `text` (null counts as empty) with every token of the folder token table
// (formats/folder_token_names.h), in table order and ignoring case, replaced by its item of
// runEnvironment.folderPaths. A token whose path is missing (the list is shorter, or the item is
// a hole) stays as written, like an undefined variable. Null only when the heap is exhausted; the
// caller frees the result.
char* expandFolderTokens(const char* text);

}  // namespace kelvara
