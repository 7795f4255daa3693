#include "formats/folder_token_names.h"

#include <cstring>

#include "formats/setup_state.h"
#include "formats/variables.h"
#include "runtime/heap_string.h"
#include "runtime/string_list.h"

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

char* expandFolderTokens(const char* text) {
    const StringList& paths = setupState.folderPaths;
    HeapString result(strDupExtra(text, 0));
    for (int token = 0; result && token < kFolderTokenCount; ++token) {
        // Every token begins with '<': once the text has none left, no later token can match,
        // and most texts of a script have none at all.
        if (!std::strchr(result.get(), '<')) break;
        // Dropping a token whose folder is unknown would turn "<ProgramFiles>\App" into "\App".
        const char* path = paths.get(token);
        if (!path) continue;
        result.reset(replaceAll(result.get(), kFolderTokenNames[token], path, false));
    }
    return result.release();
}

}  // namespace kelvara
