// The numbered initialisation stages of a run and the clean-up that undoes them.
#pragma once

#include "formats/startup_messages.h"

namespace kelvara {

// Stage numbers, in the order the entry sequence runs them: 0, 2, 5, 3, 4, 6, 7. Stage 1 (the
// wizard's drawing objects) runs later, only when a window is about to be shown.
enum StartupStage {
    kStageCore = 0,           // heap, libraries, events, lists
    kStageDrawing = 1,        // window libraries, screen metrics, palette, fonts, brushes, pen
    kStageLanguageNames = 2,  // the system's names of the languages
    kStageInstallerPath = 3,  // installerPath
    kStageInstallerDir = 4,   // installerDir
    kStageTempDir = 5,        // tempDir
    kStageSelfFile = 6,       // selfFile, opened for reading
    kStageCommandLine = 7,    // argTable, argCount
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
