#include "setup/finish_decisions.h"

#include "formats/languages.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "install/install_messages.h"
#include "runtime/message_box.h"
#include "uninstall/restart.h"

namespace kelvara {
namespace {

constexpr int kMsgRestartFailed = 29;  // errorMessages

}  // namespace

int restartQuestion() {
    const SetupState& s = setupState;
    return s.restartForInUseFiles && s.deferredTemps.count() != 0 ? kMsgRestartForInUseFiles
                                                                  : kMsgRestartQuestion;
}

bool restartComputer(UINT style) {
    if (restartWindows(false)) return true;
    messageBoxFormat(nullptr, setupState.setupCaption, text(kTableErrorMessages, kMsgRestartFailed),
                     nullptr, style | MB_ICONERROR);
    return false;
}

}  // namespace kelvara
