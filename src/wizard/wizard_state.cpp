#include "wizard/wizard_state.h"

namespace kelvara {

constinit RunStateStorage<WizardState> wizardStateStorage;

void createWizardState() {
    wizardState.wizardPosition = -1;
    wizardState.languageSelection = -1;
}

void releaseWizardState() {
    wizardState.~WizardState();
}

}  // namespace kelvara
