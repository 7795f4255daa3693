#include "formats/folder_token_names.h"

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
};

}  // namespace kelvara
