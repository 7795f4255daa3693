// SetupState: the setup script's configuration: the wizard's look, the texts in every language,
// the pages, variables, product details, requirements and the entries and actions the records
// list. The script's records fill it (the uninstaller's names and look come from the install
// log's header instead); the values a person may change on the pages (the language, the
// variables such as the installation folder, the shortcut kinds kept) are changed in it, so the
// install reads one answer. What the running process opened, was told or found is
// RunEnvironment (environment/run_environment.h); what only one layer keeps lives with it
// (install/install_state.h, uninstall/uninstall_state.h, wizard/wizard_state.h).
// A plain, portable record of strings and lists, owned through owner types. Every field starts as
// zero bytes, so the record (large: a text list per language and page) costs nothing in the
// executable; start-up stage 0 sets the few initial values that are not zero (setRunDefaults).
#pragma once
#include <cstdint>

#include "formats/choices.h"
#include "formats/color_values.h"
#include "formats/script_format.h"
#include "runtime/heap_string.h"
#include "runtime/run_state_storage.h"
#include "runtime/string_list.h"

namespace kelvara {

constexpr int kLanguageCount = 98;  // language numbers 0 to 97
// Wizard pages 0 to 11, slot 12 for the uninstaller, slot 13 for the programs-in-use page (shown
// outside the sequence, before the Installing page, when the run finds programs to close).
constexpr int kPageSlotCount = 14;
constexpr int kGradientSteps = 200;            // background palette entries between the two colours
constexpr int kStandardLayout = 0;             // dialogSetOffset of the standard dialog templates
constexpr int kCompactLayout = 20;             // dialogSetOffset of the compact dialog templates
constexpr int kWizardPageCount = 12;           // wizard pages 0 to 11
constexpr int kFirstDialogId = 129;            // template of page 0 in the standard layout
constexpr std::uint16_t kDefaultLanguage = 9;  // English: the language of a run without choice

struct PageSlot {
    bool enabled = false;
    int dialogId = 0;
    StringList texts[kLanguageCount];
    StringList runPrograms;
    StringList dllCalls;
};

struct SetupState {
    // The wizard's look (the settings record changes these defaults).
    int dialogSetOffset = kStandardLayout;
    std::uint32_t accentColor = 0;
    std::uint32_t headerColor = 0;
    std::uint32_t pageColor = 0;
    std::uint32_t frameColor = 0;
    std::uint32_t backgroundColor1 = 0;
    std::uint32_t backgroundColor2 = 0;
    char normalFontFace[32] = {};
    char titleFontFace[32] = {};

    // Texts: one list per language number.
    StringList buttonLabels[kLanguageCount];
    StringList setupMessages[kLanguageCount];
    StringList errorMessages[kLanguageCount];
    PageSlot pageSlots[kPageSlotCount];

    // Languages (record type 6): the numbers offered, in script order, and the one in use.
    std::uint16_t currentLanguage = 0;
    std::uint16_t languageList[kLanguageCount] = {};
    int languageCount = 0;

    // Variables (record type 1 and the settings record): two parallel lists, appended together.
    StringList variableNames;
    StringList variableValues;

    // Product and texts of the settings, licence and readme records.
    HeapString productShortName;
    HeapString productName;
    // For the list of installed programs (the product details record); null when not given.
    HeapString productVersion;
    HeapString publisher;
    HeapString aboutUrl;
    HeapString helpUrl;
    // Whether an older version may replace a newer one that is installed (refused otherwise).
    bool allowDowngrade = false;
    HeapString setupCaption;
    HeapString licenseText;
    HeapString readmeText;
    std::uint32_t textColor = 0;  // colour values (red in the low byte)
    std::uint32_t titleColor = 0;
    bool fullColorWelcome = false;
    bool captionedBackground = false;
    bool hideMakerLink = false;

    // Finish items of the settings record: paths with folder tokens expanded.
    HeapString finishViewFile;
    HeapString finishRunProgram;
    bool finishViewEnabled = false;
    bool finishRunEnabled = false;

    // Style flags of the settings record.
    bool allowGroupChoice = false;
    bool allowDesktopChoice = false;
    bool allowQuickLaunchChoice = false;
    bool createUninstaller = false;

    // Shortcut kinds the shortcut records mention (has) and the user keeps (create).
    bool hasGroupShortcuts = false;
    bool createGroupShortcuts = false;
    bool hasDesktopShortcuts = false;
    bool createDesktopShortcuts = false;
    bool hasQuickLaunchShortcuts = false;
    bool createQuickLaunchShortcuts = false;

    // The background record: gradient ends as colour values.
    bool backgroundEnabled = false;
    StringList backgroundLines;

    // Requirements record: keywords (heap strings) and the administrator flag.
    HeapString requiredWindows;
    HeapString requiredDirectX;
    HeapString requiredIe;
    HeapString requiredAccess;
    bool adminRequired = false;
    // The processor the product is built for: a kArchitecture* value of the architecture
    // record, kArchitectureUnreadable for a record without its byte; x86 without the record.
    std::uint8_t architecture = kArchitectureX86;
    // For whom the product installs (kScope*) and the choice a "choose" product starts from;
    // machine-wide without the scope record.
    std::uint8_t scope = kScopeMachine;
    std::uint8_t scopeDefault = kScopeMachine;
    // What the run does with programs that hold files in use (kCloseApplications*).
    std::uint8_t closeApplications = kCloseApplicationsAsk;

    // Components, tasks and setup types (records 21 to 23), and what is chosen of them; the
    // entry and action records below are those the selection keeps (record 24).
    Choices choices;

    // Entries of the shortcut, registry, INI and association records, as stored; beside each,
    // the components it belongs to as the install log names them (partOfComponents; a hole for
    // an entry of every installation).
    StringList shortcutEntries;
    StringList registryEntries;
    StringList iniEntries;
    StringList associationEntries;
    StringList shortcutParts;
    StringList registryParts;
    StringList iniParts;
    StringList associationParts;

    // Action entries (stored form, without the group field) of groups -1 and 0; the lists of
    // groups 1 to 12 are in pageSlots[group - 1].
    StringList uninstallPrograms;
    StringList uninstallDllCalls;
    StringList groupZeroPrograms;
    StringList groupZeroDllCalls;
};

// The script's configuration, for the whole process (see RunStateStorage).
extern RunStateStorage<SetupState> setupStateStorage;
inline constexpr SetupState& setupState = setupStateStorage.state;

constexpr const char* kDefaultFontFace = "MS Sans Serif";

// Sets the initial values that are not zero: the default look and language.
void setRunDefaults(SetupState& state);

// Makes every string list of the record. False when out of memory.
bool createSetupState();

// Gives back everything the record owns (strings and lists); its owners are empty afterwards.
// Called by the clean-up, once, before the process ends.
void releaseSetupState();

}  // namespace kelvara
