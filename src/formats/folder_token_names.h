// The folder token table: 39 tokens in fixed order; a token's index is its row (new tokens are
// added at the end, so that the rows of the older ones stay). The run's
// folderPaths (environment/run_environment.h) holds the resolved path of token i as item i.
// Portable: no system calls.
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
    // Each side of a 64-bit Windows by name, in either kind of product: the 32-bit and the
    // 64-bit program folders, the native system folder and the 32-bit one. A side the system
    // does not have (64-bit folders on a 32-bit Windows) resolves to nothing.
    kTokenProgramFiles32,
    kTokenProgramFiles64,
    kTokenSystem32,
    kTokenSysWow64,
    kFolderTokenCount
};

// Token texts, angle brackets included, indexed by FolderToken.
extern const char* const kFolderTokenNames[kFolderTokenCount];

// The first token in `text` (in any case) of a place that only an administrator may write to
// whichever the install scope (the system and Windows folders, the fonts, the program folders
// of either side by name), as the table writes it; null when there is none. A user's
// installation may put nothing there.
const char* machineOnlyTokenIn(const char* text);

}  // namespace kelvara
