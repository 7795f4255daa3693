// The initialisation stages. Each shows its own failure message and reports false.
#include <windows.h>
#include <commctrl.h>

#include "environment/folder_tokens_win32.h"
#include "environment/run_environment.h"
#include "environment/system_detection.h"
#include "formats/setup_state.h"
#include "formats/startup_messages.h"
#include "install/install_state.h"
#include "runtime/access_check_win32.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/message_box_win32.h"
#include "runtime/path_helpers.h"
#include "runtime/run_log_win32.h"
#include "runtime/system_libraries_win32.h"
#include "runtime/text_case.h"
#include "setup/background_palette.h"
#include "setup/startup_stages.h"
#include "uninstall/uninstall_state.h"
#include "wizard/wizard_state.h"
#include "worker/worker_state.h"

namespace kelvara {
namespace {

constexpr int kFieldListGrowth = 15;
constexpr int kPathBufferSize = 32767;
constexpr int kLocaleNameBufferSize = 32767;
constexpr int kPaletteExtraEntries = 22;  // 20 left black, then the accent and button face
constexpr int kPaletteFirstGradientEntry = 20;
constexpr int kAccentPaletteIndex = kPaletteFirstGradientEntry + kGradientSteps;

HANDLE makeEvent(bool signalled) {
    return ::CreateEventA(nullptr, TRUE, signalled, nullptr);
}

// The run log of /LOG=, begun with the command line and the options as read. One that cannot
// be opened is reported (unless the run is quiet) and the run goes on without it.
void startRunLog() {
    DeploymentOptions& options = runEnvironment.deployment;
    if (!options.logGiven) return;
    // A relative name is taken from the current folder, once: the uninstaller's second stage,
    // which writes to the same log, runs in the temporary folder.
    char full[MAX_PATH];
    const DWORD length = options.logFile.get()[0]
                             ? ::GetFullPathNameA(options.logFile.get(), MAX_PATH, full, nullptr)
                             : 0;
    if (length > 0 && length < MAX_PATH) copyText(options.logFile, full);
    if (!options.logFile || !openRunLog(options.logFile.get())) {
        messageBoxFormat(nullptr, kStartupCaption, kErrorRunLog, options.logFile.get(),
                         systemErrorText(::GetLastError()), MB_ICONWARNING);
        return;
    }
    writeRunLog("started: %s", ::GetCommandLineA());
    HeapString read(deploymentOptionsText(options));
    writeRunLog("options: %s", read ? read.get() : "");
    for (int i = 0; i < options.unknownOptions.count(); ++i) {
        writeRunLog("option not known, ignored: %s", options.unknownOptions.get(i));
    }
}

// The deployment options, read as soon as there is a heap to hold them: /QUIET and /LOG= hold
// from the first failure on, so that an unattended run shows no box and logs every one.
bool readOptionsFirst() {
    RunEnvironment& run = runEnvironment;
    // The options' values keep their case: they are read from the line as given, before the
    // copy of the command-line stage is upper-cased for the silent switch.
    if (!readDeploymentOptions(::GetCommandLineA(), run.deployment)) return false;
    setQuietMessages(run.deployment.quiet);
    startRunLog();
    return true;
}

bool stageCore() {
    RunEnvironment& run = runEnvironment;
    setRunDefaults(setupState);
    if (!heapCreate()) return reportStartupFailure(systemErrorText(::GetLastError()));
    if (!readOptionsFirst()) return reportStartupFailure(systemErrorText(ERROR_NOT_ENOUGH_MEMORY));
    run.moduleHandle = ::GetModuleHandleA(nullptr);
    if (!run.moduleHandle) return reportStartupFailure(kErrorModuleHandle);
    if (!loadSecurityFunctions()) return reportStartupFailure(kErrorLoadLibrary, kLibraryAdvapi);
    // String lists are our own arrays: no list functions to load from comctl32.
    if (!loadShellFunctions()) return reportStartupFailure(kErrorLoadLibrary, kLibraryShell);
    uninstallState.uninstallDoneEvent.reset(makeEvent(false));
    installState.installDoneEvent.reset(makeEvent(false));
    workerState.proceedEvent.reset(makeEvent(true));
    if (!uninstallState.uninstallDoneEvent || !installState.installDoneEvent ||
        !workerState.proceedEvent) {
        return reportStartupFailure(kErrorCreateEvent);
    }
    if (!run.scratchFields.create(kFieldListGrowth)) return reportStartupFailure(kErrorCreateList);
    // The token the access checks ask about; a run without one still installs where it can.
    HANDLE token = nullptr;
    if (::ImpersonateSelf(SecurityImpersonation) &&
        ::OpenThreadToken(::GetCurrentThread(), TOKEN_ALL_ACCESS, TRUE, &token)) {
        run.threadToken.reset(token);
    }
    if (!createSetupState() || !createRunEnvironment() || !createWorkerState() ||
        !createUninstallState()) {
        return reportStartupFailure(kErrorCreateList);
    }
    createInstallState();
    createWizardState();
    // A path the heap cannot hold stays a hole; expansion then leaves that token as written.
    detectSystemSide();
    fillFolderPaths();
    runSystemDetections();
    return true;
}

COLORREF resolveColor(std::uint32_t value) {
    if (value & kColorSystemWindow) return ::GetSysColor(COLOR_WINDOW);
    if (value & kColorSystemButtonFace) return ::GetSysColor(COLOR_BTNFACE);
    return value & 0x00FFFFFF;
}

HFONT makeFont(int points, int weight, const char* face) {
    return ::CreateFontA(-::MulDiv(points, wizardState.screenDpi, 72), 0, 0, 0, weight, FALSE,
                         FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                         PROOF_QUALITY, DEFAULT_PITCH, face);
}

void makePalette() {
    SetupState& s = setupState;
    const int entries = kGradientSteps + kPaletteExtraEntries;
    auto* description = static_cast<LOGPALETTE*>(
        heapAlloc(sizeof(LOGPALETTE) + (entries - 1) * sizeof(PALETTEENTRY)));
    if (!description) return;
    description->palVersion = 0x300;
    description->palNumEntries = static_cast<WORD>(entries);
    std::uint32_t gradient[kGradientSteps];
    blendGradient(s.backgroundColor1, s.backgroundColor2, kGradientSteps, gradient);
    auto put = [&](int index, COLORREF colour) {
        description->palPalEntry[index] = {GetRValue(colour), GetGValue(colour), GetBValue(colour),
                                           0};
    };
    for (int i = 0; i < kGradientSteps; ++i) put(kPaletteFirstGradientEntry + i, gradient[i]);
    put(kAccentPaletteIndex, s.accentColor & 0x00FFFFFF);
    put(kAccentPaletteIndex + 1, ::GetSysColor(COLOR_BTNFACE));
    wizardState.paletteDescription.reset(description);
    wizardState.palette.reset(::CreatePalette(description));
}

// The common controls (of the version the manifest asks for) and the rich edit control.
bool loadWindowLibraries() {
    RunEnvironment& run = runEnvironment;
    if (!run.commonControlsLibrary) {
        run.commonControlsLibrary.reset(loadSystemLibrary("comctl32.dll"));
        using Initialise = void(WINAPI*)();
        auto initialise = reinterpret_cast<Initialise>(reinterpret_cast<void*>(::GetProcAddress(
            static_cast<HMODULE>(run.commonControlsLibrary.get()), "InitCommonControls")));
        if (!initialise) return reportStartupFailure(kErrorLoadLibrary, kLibraryCommonControls);
        initialise();
    }
    if (!run.richEditLibrary) run.richEditLibrary.reset(loadSystemLibrary("riched32.dll"));
    if (!run.richEditLibrary) return reportStartupFailure(kErrorLoadLibrary, kLibraryRichEdit);
    return true;
}

bool stageDrawing() {
    SetupState& s = setupState;
    if (!loadWindowLibraries()) return false;
    HDC screen = ::GetDC(nullptr);
    wizardState.screenDpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    wizardState.accentStripeBottom = wizardState.screenDpi * 140 / 96;
    wizardState.accentStripeTop = wizardState.screenDpi * 90 / 96;
    makePalette();
    wizardState.normalFont.reset(makeFont(8, FW_NORMAL, s.normalFontFace));
    wizardState.titleFont.reset(
        makeFont(s.dialogSetOffset == kStandardLayout ? 12 : 10, FW_BOLD, s.titleFontFace));
    wizardState.headerBrush.reset(::CreateSolidBrush(resolveColor(s.headerColor)));
    wizardState.pageBrush.reset(::CreateSolidBrush(resolveColor(s.pageColor)));
    wizardState.frameBrush.reset(::CreateSolidBrush(resolveColor(s.frameColor)));
    wizardState.accentBrush.reset(::CreateSolidBrush(PALETTEINDEX(kAccentPaletteIndex)));
    wizardState.accentPen.reset(::CreatePen(PS_SOLID, 0, PALETTEINDEX(kAccentPaletteIndex)));
    return true;
}

bool stageLanguageNames() {
    HeapString name(static_cast<char*>(heapAlloc(kLocaleNameBufferSize)));
    if (!name) return true;
    for (int language = 1; language < kLanguageCount; ++language) {
        if (!::GetLocaleInfoA(static_cast<LCID>(language), LOCALE_SENGLANGUAGE, name.get(),
                              kLocaleNameBufferSize)) {
            continue;
        }
        for (char* p = name.get(); *p; ++p) {
            if (*p == ' ') {
                *p = '\0';
                break;
            }
        }
        runEnvironment.languageNames.set(language, name.get());
    }
    return true;
}

bool stageInstallerPath() {
    RunEnvironment& run = runEnvironment;
    run.installerPath.reset(static_cast<char*>(heapAlloc(kPathBufferSize)));
    if (!run.installerPath ||
        ::GetModuleFileNameA(nullptr, run.installerPath.get(), kPathBufferSize) == 0) {
        return reportStartupFailure(kErrorInstallerPath);
    }
    return true;
}

bool stageInstallerDir() {
    runEnvironment.installerDir.reset(folderPart(runEnvironment.installerPath.get()));
    return true;
}

bool stageTempDir() {
    runEnvironment.tempDir.reset(tempFolder());
    return runEnvironment.tempDir ? true : reportStartupFailure(kErrorTempPath);
}

bool stageSelfFile() {
    HANDLE file = ::CreateFileA(runEnvironment.installerPath.get(), GENERIC_READ, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return reportStartupFailure(kErrorOpenSelf);
    runEnvironment.selfFile.reset(file);
    return true;
}

bool stageCommandLine() {
    RunEnvironment& run = runEnvironment;
    run.commandLineCopy.reset(strDupExtra(::GetCommandLineA(), 0));
    if (!run.commandLineCopy) return true;  // no arguments: an interactive run
    textUpper(run.commandLineCopy.get());
    run.argCount = splitCommandLine(run.commandLineCopy.get(), run.argTable, kArgTableSize);
    return true;
}

}  // namespace

bool reportStartupFailure(const char* format, const char* argument) {
    messageBoxFormat(nullptr, kStartupCaption, format, argument, MB_ICONERROR);
    return false;
}

bool initStage(int stage) {
    switch (stage) {
        case kStageCore:
            return stageCore();
        case kStageDrawing:
            return stageDrawing();
        case kStageLanguageNames:
            return stageLanguageNames();
        case kStageInstallerPath:
            return stageInstallerPath();
        case kStageInstallerDir:
            return stageInstallerDir();
        case kStageTempDir:
            return stageTempDir();
        case kStageSelfFile:
            return stageSelfFile();
        case kStageCommandLine:
            return stageCommandLine();
        default:
            return false;
    }
}

}  // namespace kelvara
