// The uninstaller's rules on text: log choice, self-removal script, root names, questions.
#include "uninstall/uninstall_rules.h"

#include <cstddef>
#include <cstring>

#include "formats/deployment_options.h"
#include "formats/install_log.h"
#include "formats/uninstaller_texts.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "runtime/text_case.h"

namespace kelvara {
namespace {

constexpr const char* kLogSuffix = ".log";
constexpr std::size_t kLogSuffixLength = 4;
constexpr std::size_t kMinimumLogArgument = 5;  // a name before ".log"

// Letters and digits only: a name the interpreter reads the same inside quotes and out.
bool isPlainName(const char* name) {
    if (!*name) return false;
    for (; *name; ++name) {
        const char c = *name;
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            return false;
    }
    return true;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

char* chooseUninstallLog(const char* commandLine, const char* installerDir,
                         const char* installerPath, bool* secondStage) {
    *secondStage = false;
    // The options go first (/LOG=run.log is no log path), quoted parts and all; the program's
    // quoted name is then the first quoted part, as before there were options.
    HeapString line(strDupExtra(commandLine, 0));
    if (!line) return nullptr;
    removeDeploymentOptions(line.get());
    const char* argument = line.get();
    if (const char* open = std::strchr(argument, '"')) {
        if (const char* close = std::strchr(open + 1, '"')) argument = close + 1;
    }
    while (isBlank(*argument)) ++argument;
    std::size_t length = std::strlen(argument);
    while (length && isBlank(argument[length - 1])) --length;

    if (length >= kMinimumLogArgument) {
        char suffix[kLogSuffixLength + 1] = {};
        std::memcpy(suffix, argument + length - kLogSuffixLength, kLogSuffixLength);
        if (compareTextNoCase(suffix, kLogSuffix) == 0) {
            char* path = strDupExtra(nullptr, static_cast<int>(length));
            if (!path) return nullptr;
            std::memcpy(path, argument, length);
            *secondStage = true;
            return path;
        }
    }
    return installLogPath(installerDir, installerPath);
}

char* selfRemovalScriptText(const char* programPath, const char* scriptPath,
                            const char* folderPath) {
    HeapString head(strConcat5("@echo off\r\n:try\r\ndel \"", programPath, "\"\r\nif exist \"",
                               programPath, "\" goto try\r\n"));
    if (!head) return nullptr;
    // Quoted like the program path: the temporary folder often has blanks in its path, and an
    // unquoted "del" would take each word for a file of its own, relative to the current folder.
    HeapString last(strConcat5(head.get(), "del \"", scriptPath, "\""));
    if (!last || !folderPath) return last.release();
    // A plain rmdir removes an empty folder only: nothing of anyone else's goes with it.
    HeapString removal(strConcat5(last.get(), " & rmdir \"", folderPath, "\" 2>nul"));
    const char* name = fileNamePart(folderPath);
    if (!removal || !isPlainName(name)) return removal.release();
    // An interpreter that keeps the script open to its end (Wine's) leaves the folder with the
    // deleted script still in it: a second one, in the same current folder (the one above),
    // removes it once the first has ended.
    HeapString retry(
        strConcat5(" & if exist \"", folderPath,
                   "\" start \"\" /b cmd /d /c \"for /l %%i in (1,1,20) do @if exist "));
    if (!retry) return nullptr;
    HeapString retries(
        strConcat5(retry.get(), name, " (ping -n 2 127.0.0.1 >nul & rmdir ", name, " 2>nul )\""));
    return retries ? strConcat5(removal.get(), retries.get()) : nullptr;
}

char* sharedFileQuestion(const char* path) {
    HeapString folder(folderPart(path ? path : ""));
    if (!folder) return nullptr;
    HeapString head(
        strConcat5(uninstallerText(kUnSharedQuestionStart), fileNamePart(path ? path : "")));
    if (!head) return nullptr;
    return strConcat5(head.get(), uninstallerText(kUnSharedQuestionFolder), folder.get(),
                      uninstallerText(kUnSharedQuestionEnd));
}

bool isUninstallEntryKey(const char* keyPath, const char* shortName) {
    static const char kUninstallKeyPrefix[] =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    if (!keyPath || !shortName || !*shortName) return false;
    if (*keyPath == '\\') ++keyPath;
    HeapString entryKey(strConcat5(kUninstallKeyPrefix, shortName));
    return entryKey && compareTextNoCase(keyPath, entryKey.get()) == 0;
}

}  // namespace kelvara
