// The folder token table: 35 tokens in fixed order; a token's index is its row. folderPaths in
// setupState holds the resolved path of token i as item i. Portable: no system calls.
#pragma once

namespace kelvara {

enum FolderToken : int {
    kTokenAppData,
    kTokenCommonAppData,
    kTokenCommonDesktop,
    kTokenCommonFavorites,
    kTokenCommonFiles,
    kTokenCommonPrograms,
    kTokenCommonStartMenu,
    kTokenCommonStartup,
    kTokenCommonTemplates,
    kTokenDesktop,
    kTokenIe,
    kTokenFavorites,
    kTokenFonts,
    kTokenMsAccess,
    kTokenNetHood,
    kTokenDocuments,
    kTokenProgramFiles,
    kTokenPrograms,
    kTokenQuickLaunch,
    kTokenSentTo,
    kTokenStartMenu,
    kTokenStartUp,
    kTokenSystem,
    kTokenTemp,
    kTokenTemplate,
    kTokenWindows,
    kTokenUserProfile,
    kTokenAllUsers,
    kTokenCommonDocuments,
    kTokenCommonPictures,
    kTokenCommonMusic,
    kTokenCommonVideo,
    kTokenPictures,
    kTokenMusic,
    kTokenVideo,
    kFolderTokenCount
};

// Token texts, angle brackets included, indexed by FolderToken.
extern const char* const kFolderTokenNames[kFolderTokenCount];

// New heap string: `text` (null counts as empty) with every token, in table order and ignoring
// case, replaced by its item of setupState.folderPaths. A token whose path is missing (the list
// is shorter, or the item is a hole) stays as written, like an undefined variable. Null only when
// the heap is exhausted; the caller frees the result.
char* expandFolderTokens(const char* text);

}  // namespace kelvara
