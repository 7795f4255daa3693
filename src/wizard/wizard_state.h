// The wizard's own run state: where the wizard stands, the drawing objects every page paints
// with, the page procedure's and the frame's state while they exist, and the background window.
// One per process; its storage starts as zero bytes, createWizardState sets what is not zero and
// releaseWizardState gives back all it owns.
#pragma once

#include "runtime/heap_string.h"
#include "runtime/run_state_storage.h"
#include "runtime/system_objects.h"

namespace kelvara {

struct WizardState {
    // The page the wizard is at (-1 before it starts); the user confirmed a cancel (the run
    // then ends as cancelled unless the installation had finished).
    int wizardPosition = 0;
    bool wizardCancelled = false;

    // Drawing objects made by the start-up's drawing stage.
    int screenDpi = 0;
    int accentStripeBottom = 0;
    int accentStripeTop = 0;
    HeapOwned<void> paletteDescription;
    OwnedGdiObject palette;
    OwnedGdiObject normalFont;
    OwnedGdiObject titleFont;
    OwnedGdiObject pageBrush;
    OwnedGdiObject frameBrush;
    OwnedGdiObject headerBrush;
    OwnedGdiObject accentBrush;
    OwnedGdiObject accentPen;

    // The page procedure of the wizard pages and the removal dialog, valid while a page exists:
    // the page index (its WM_INITDIALOG parameter), its type (the slot's dialog id minus
    // dialogSetOffset), its parent, the bottom of its separator line (control 1027) in page
    // client pixels, and the language page's remembered combo box index (-1 at start).
    int pageIndex = 0;
    int pageType = 0;
    OsWindow pageParent = nullptr;
    int headerBottom = 0;
    int languageSelection = 0;
    // Height of the wizard frame's bottom band, measured when the frame is made; 0 until then.
    int bandHeight = 0;

    // The wizard frame, valid while it exists: the page it shows and the page Back returns to
    // (-1: none), that page's window, and the hand cursor of the product link.
    int currentPageIndex = 0;
    int previousPageIndex = 0;
    OwnedWindow pageWindow;
    OsReference handCursor = nullptr;  // a shared system cursor
    // While the question whether to quit is open, another Cancel (the background window's
    // close) asks nothing more.
    bool quitQuestionOpen = false;
    // The full-screen background window behind the frame, when the script has one.
    OwnedWindow backgroundWindow;

    // The scope page's choice, handed to the run that shows the wizard (the run applies the
    // script again for it): true when the run goes on with it, false when only an elevated run
    // can install so. Then the wizard ends and elevatedRestartChosen is set.
    bool (*scopeChosen)(bool forUser) = nullptr;
    bool elevatedRestartChosen = false;
    // Told when the components or tasks page goes: the run keeps the records of the selection.
    void (*choicesChanged)() = nullptr;
};

// The wizard's state, for the whole process (see RunStateStorage).
extern RunStateStorage<WizardState> wizardStateStorage;
inline constexpr WizardState& wizardState = wizardStateStorage.state;

// Sets the initial values that are not zero: no wizard position yet, no language remembered.
void createWizardState();

// Gives back everything the state owns; its owners (lists, strings, handles, windows) are empty
// afterwards. Called by the clean-up, once, before the process ends.
void releaseWizardState();

}  // namespace kelvara
