// The folder token table: 35 tokens in fixed order; a token's index is its row. The run's
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
    kFolderTokenCount
};

// Token texts, angle brackets included, indexed by FolderToken.
extern const char* const kFolderTokenNames[kFolderTokenCount];

}  // namespace kelvara
