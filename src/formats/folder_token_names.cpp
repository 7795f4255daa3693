#include "formats/folder_token_names.h"

#include "runtime/text_utils.h"

namespace kelvara {

const char* const kFolderTokenNames[kFolderTokenCount] = {
    "<AppData>",
    "<CommonAppData>",
    "<CommonDesktop>",
    "<CommonFavorites>",
    "<CommonFiles>",
    "<CommonPrograms>",
    "<CommonStartMenu>",
    "<CommonStartup>",
    "<CommonTemplates>",
    "<Desktop>",
    "<IE>",
    "<Favorites>",
    "<Fonts>",
    "<MSAccess>",
    "<NetHood>",
    "<Documents>",
    "<ProgramFiles>",
    "<Programs>",
    "<QuickLaunch>",
    "<SentTo>",
    "<StartMenu>",
    "<StartUp>",
    "<System>",
    "<Temp>",
    "<Template>",
    "<Windows>",
    "<UserProfile>",
    "<AllUsers>",
    "<CommonDocuments>",
    "<CommonPictures>",
    "<CommonMusic>",
    "<CommonVideo>",
    "<Pictures>",
    "<Music>",
    "<Video>",
    "<ProgramFiles32>",
    "<ProgramFiles64>",
    "<System32>",
    "<SysWOW64>",
};

const char* machineOnlyTokenIn(const char* text) {
    constexpr FolderToken kMachineOnly[] = {
        kTokenSystem, kTokenSystem32,       kTokenSysWow64,      kTokenWindows,
        kTokenFonts,  kTokenProgramFiles32, kTokenProgramFiles64};
    for (FolderToken token : kMachineOnly) {
        if (text && findText(text, kFolderTokenNames[token], -1, false))
            return kFolderTokenNames[token];
    }
    return nullptr;
}

}  // namespace kelvara
