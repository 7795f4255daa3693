#include "environment/folder_expansion.h"

#include <cstring>

#include "environment/run_environment.h"
#include "formats/folder_token_names.h"
#include "runtime/heap_string.h"
#include "runtime/string_list.h"
#include "formats/variables.h"

namespace kelvara {

char* expandFolderTokens(const char* text) {
    const StringList& paths = runEnvironment.folderPaths;
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
