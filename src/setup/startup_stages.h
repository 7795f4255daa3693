// The numbered initialisation stages of a run and the clean-up that undoes them.
#pragma once

#include "formats/startup_messages.h"

namespace kelvara {

// Stage numbers, in the order the entry sequence runs them. The drawing stage (the wizard's
// drawing objects) runs last and later, only when a window is about to be shown.
enum StartupStage {
    kStageCore = 0,           // heap, libraries, events, lists
    kStageLanguageNames = 1,  // the system's names of the languages
    kStageTempDir = 2,        // tempDir
    kStageInstallerPath = 3,  // installerPath
    kStageInstallerDir = 4,   // installerDir
    kStageSelfFile = 5,       // selfFile, opened for reading
    kStageCommandLine = 6,    // argTable, argCount
    kStageDrawing = 7,        // window libraries, screen metrics, palette, fonts, brushes, pen
};

// Shows a start-up failure: no owner, caption kStartupCaption, the error icon; the format is
// filled with argument when one is given. Returns false, for the caller to pass on.
bool reportStartupFailure(const char* format, const char* argument = nullptr);

// Performs one stage. False when it failed; its message (caption kStartupCaption, error icon,
// no owner) has then been shown.
bool initStage(int stage);

// Releases everything the stages and the script made, in a fixed order, the private heap last.
// Called exactly once, just before the process ends.
void cleanUp();

}  // namespace kelvara
