// Decoding of the setup script's records into the script's configuration. Every record is read in
// full with the bounded payload reader before anything is stored.
#include "setup/script_records.h"

#include <cstring>
#include <iterator>

#include "environment/folder_expansion.h"
#include "environment/install_scope.h"
#include "environment/run_environment.h"
#include "formats/folder_token_names.h"
#include "formats/languages.h"
#include "formats/record_fields.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "formats/variables.h"
#include "install/install_state.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "runtime/registry_roots.h"
#include "runtime/text_case.h"
#include "runtime/text_utils.h"

namespace kelvara {
namespace {

constexpr const char* kEmptyFaceDefault = "Tahoma";
constexpr const char* kInstallPathVariable = "%InstallPath%";
constexpr std::size_t kFaceLimit = sizeof SetupState{}.normalFontFace - 1;
constexpr int kRunProgramFields = kRunProgramSuccessCodes + 1;
constexpr int kCallDllFields = kCallDllOnce + 1;

struct ShortcutKind {
    const char* marker;
    bool SetupState::*has;
    bool SetupState::*create;
};

constexpr ShortcutKind kShortcutKinds[] = {
    {"%ShortcutsGroup%", &SetupState::hasGroupShortcuts, &SetupState::createGroupShortcuts},
    {"<Desktop>", &SetupState::hasDesktopShortcuts, &SetupState::createDesktopShortcuts},
    {"<CommonDesktop>", &SetupState::hasDesktopShortcuts, &SetupState::createDesktopShortcuts},
    {"<QuickLaunch>", &SetupState::hasQuickLaunchShortcuts,
     &SetupState::createQuickLaunchShortcuts},
};

// Item i of the field list; "" when it is missing.
const char* field(const StringList& fields, int i) {
    const char* item = fields.get(i);
    return item ? item : "";
}

void notePart(const StringList& entries, StringList& parts);

// Appends text with folder tokens expanded; `parts`, when given, gets the entry's components.
void appendExpanded(StringList& list, const char* text, StringList* parts = nullptr) {
    HeapString expanded(expandFolderTokens(text));
    if (expanded && list.append(expanded.get()) >= 0 && parts) notePart(list, *parts);
}

// Set while reapplyScopedRecords runs: the names it has given a value. On a first reading a
// variable record defines a name only when nothing defined it before (a later definition is
// shadowed), while the previous location always sets %InstallPath%: the same holds again.
StringList* replacedVariables = nullptr;

void applyVariable(PayloadReader& reader) {
    const char* name;
    const char* value;
    if (!reader.readString(name) || !reader.readString(value)) return;
    HeapString expanded(expandFolderTokens(value));
    if (!expanded) return;
    if (!replacedVariables) {
        defineVariable(name, expanded.get());
    } else if (replacedVariables->find(name, 0, 0) < 0 && replacedVariables->append(name) >= 0) {
        setVariable(name, expanded.get());
    }
}

void applyPageFlags(PayloadReader& reader) {
    if (reader.remaining() < kPageFlagsSize) return;
    SetupState& s = setupState;
    for (int page = 0; page < kWizardPageCount; ++page) {
        std::uint8_t flag = 0;
        reader.readU8(flag);
        s.pageSlots[page].enabled = flag != 0;
        s.pageSlots[page].dialogId = s.dialogSetOffset + kFirstDialogId + page;
    }
    s.pageSlots[kPageFilesInUse].dialogId = s.dialogSetOffset + kFilesInUseDialogId;
}

void applyTextRecord(PayloadReader& reader) {
    std::uint16_t language;
    std::uint8_t table;
    std::uint8_t item;
    const char* value;
    if (!reader.readU16(language) || !reader.readU8(table) || !reader.readU8(item) ||
        !reader.readString(value)) {
        return;
    }
    if (!textList(table, language)) return;  // outside the format: left out
    if (table < kPageSlotCount) {
        // Page texts are stored with folder tokens expanded; messages as written.
        HeapString expanded(expandFolderTokens(value));
        if (expanded) setText(table, language, item, expanded.get());
    } else {
        setText(table, language, item, value);
    }
}

void applyLanguages(PayloadReader& reader, const RecordPlatform& platform) {
    std::uint8_t autoSelect;
    if (!reader.readU8(autoSelect)) return;
    // The numbers fill the payload after the flag byte; an odd byte left over is not a number.
    std::uint16_t numbers[kLanguageCount];
    int count = 0;
    std::uint16_t number;
    while (reader.readU16(number)) {
        if (isLanguageNumber(number) && count < kLastLanguage) numbers[count++] = number;
    }
    chooseLanguages(autoSelect != 0, numbers, count, platform.userLanguage());
}

void applyBackground(PayloadReader& reader) {
    std::uint32_t first;
    std::uint32_t second;
    if (!reader.readU32(first) || !reader.readU32(second)) return;
    SetupState& s = setupState;
    s.backgroundColor1 = rgbNumberToColor(first);
    s.backgroundColor2 = rgbNumberToColor(second);
    s.backgroundEnabled = true;
}

void applyAccentColor(PayloadReader& reader) {
    std::uint32_t color;
    if (reader.readU32(color)) setupState.accentColor = color;
}

// Font field "face,colour": an empty face means Tahoma; a face that is not installed,
// or longer than a face name can be, falls back to MS Sans Serif. The colour is an RGB number.
void applyFont(const char* fontField, char (&face)[32], std::uint32_t& color,
               const RecordPlatform& platform) {
    StringList& fields = runEnvironment.scratchFields;
    splitFields(fontField, false, fields);
    const char* wanted = field(fields, 0);
    if (!*wanted) wanted = kEmptyFaceDefault;
    if (std::strlen(wanted) > kFaceLimit || !platform.fontInstalled(wanted)) {
        wanted = kDefaultFontFace;
    }
    std::memset(face, 0, sizeof face);
    std::memcpy(face, wanted, std::strlen(wanted));
    color = rgbNumberToColor(static_cast<std::uint32_t>(parseNumber(field(fields, 1))));
}

// "root,subkey,value name": when the value is found, it becomes %InstallPath%.
void applyPreviousLocation(const char* location, const RecordPlatform& platform) {
    StringList& fields = runEnvironment.scratchFields;
    splitFields(location, false, fields);
    const int named = registryRootNumber(field(fields, 0));
    if (named < 0) return;
    const char* subkey = field(fields, 1);
    if (*subkey == '\\') ++subkey;
    // Where the scope keeps it: HKA, and HKCR in a user's installation, are the scope's roots.
    const auto root = static_cast<int>(scopedRootNumber(static_cast<unsigned>(named)));
    HeapString scopedKey(strConcat5(classesKeyPrefix(static_cast<unsigned>(named)), subkey));
    if (!scopedKey) return;
    HeapString value(platform.readRegistryText(root, scopedKey.get(), field(fields, 2)));
    if (!value) return;
    setVariable(kInstallPathVariable, value.get());
    if (replacedVariables) replacedVariables->append(kInstallPathVariable);
}

void applyFinishItem(const char* path, HeapString& target, bool& enabled) {
    target.reset(expandFolderTokens(path));
    enabled = target && *target.get();
}

void applySettings(PayloadReader& reader, const RecordPlatform& platform) {
    SettingsRecord f;
    if (!f.read(reader)) return;
    SetupState& s = setupState;
    copyText(s.productShortName, f.shortName);
    copyText(s.productName, f.productName);
    s.setupCaption.reset(strConcat5(f.productName, " Setup"));
    applyFont(f.normalFont, s.normalFontFace, s.textColor, platform);
    s.pageColor = f.pageColor;
    s.frameColor = f.frameColor;
    applyFont(f.titleFont, s.titleFontFace, s.titleColor, platform);
    s.headerColor = f.headerColor;
    s.fullColorWelcome = (f.lookFlags & kLookFullColorWelcome) != 0;
    s.captionedBackground = (f.lookFlags & kLookCaptionedBackground) != 0;
    applyPreviousLocation(f.previousLocation, platform);
    applyFinishItem(f.viewFile, s.finishViewFile, s.finishViewEnabled);
    applyFinishItem(f.runProgram, s.finishRunProgram, s.finishRunEnabled);
    s.dialogSetOffset = (f.styleFlags & kStyleCompactLayout) ? kCompactLayout : kStandardLayout;
    s.allowGroupChoice = (f.styleFlags & kStyleAllowGroupChoice) != 0;
    s.allowDesktopChoice = (f.styleFlags & kStyleAllowDesktopChoice) != 0;
    s.allowQuickLaunchChoice = (f.styleFlags & kStyleAllowQuickLaunchChoice) != 0;
    installState.restartNeeded = (f.styleFlags & kStyleRestart) != 0;
    installState.restartChosen = installState.restartNeeded;
    s.createUninstaller = (f.styleFlags & kStyleCreateUninstaller) != 0;
    s.hideMakerLink = f.linkFlag != 0;
}

// Set by a condition record too short for its masks, until the next condition or walk: no
// selection meets it, so a record meant for some selection is never taken for every one.
bool conditionUnreadable = false;

// True while the records being applied are kept by the selection (the last condition record).
bool entryChosen() {
    const Choices& c = setupState.choices;
    return !conditionUnreadable && choiceConditionMet(c, c.entryComponents, c.entryTasks);
}

// Set while reapplyChosenRecords runs: the kinds of shortcut the earlier reading had, which keep
// the person's choice whether to create them.
bool keepShortcutChoices = false;
bool kindHadBefore[std::size(kShortcutKinds)] = {};

// The components the entry just appended to `entries` belongs to, beside it in `parts`.
void notePart(const StringList& entries, StringList& parts) {
    const Choices& c = setupState.choices;
    HeapString part(partOfComponents(c, c.entryComponents));
    if (entries.count() > 0) parts.set(entries.count() - 1, part.get());
}

void applyShortcut(PayloadReader& reader) {
    const char* entry;
    if (!reader.readString(entry)) return;
    SetupState& s = setupState;
    if (s.shortcutEntries.append(entry) >= 0) notePart(s.shortcutEntries, s.shortcutParts);
    for (std::size_t k = 0; k < std::size(kShortcutKinds); ++k) {
        const ShortcutKind& kind = kShortcutKinds[k];
        if (findText(entry, kind.marker, -1, false)) {
            if (!keepShortcutChoices || !kindHadBefore[k]) s.*kind.create = true;
            s.*kind.has = true;
        }
    }
}

// Components, tasks and setup types: beyond the limit of their masks, or with a damaged
// payload, a record is left out. A parent must come before its child.
void applyComponent(PayloadReader& reader) {
    Choices& c = setupState.choices;
    std::uint8_t flags, parent;
    std::uint32_t bytes;
    const char *id, *name, *description;
    if (!reader.readU8(flags) || !reader.readU8(parent) || !reader.readU32(bytes) ||
        !reader.readString(id) || !reader.readString(name) || !reader.readString(description) ||
        c.componentCount >= kChoiceLimit) {
        return;
    }
    const int index = c.componentCount;
    if (!c.componentIds.set(index, id) || !c.componentNames.set(index, name) ||
        !c.componentDescriptions.set(index, description)) {
        return;
    }
    c.componentFlags[index] = flags;
    c.componentParent[index] = parent <= index ? parent : 0;
    c.componentBytes[index] = bytes;
    c.componentCount = index + 1;
    if (flags & (kChoiceDefault | kChoiceFixed)) chooseComponent(c, index, true);
}

void applyTask(PayloadReader& reader) {
    Choices& c = setupState.choices;
    std::uint8_t flags, group;
    const char *id, *name, *description;
    if (!reader.readU8(flags) || !reader.readU8(group) || !reader.readString(id) ||
        !reader.readString(name) || !reader.readString(description) ||
        c.taskCount >= kChoiceLimit) {
        return;
    }
    const int index = c.taskCount;
    if (!c.taskIds.set(index, id) || !c.taskNames.set(index, name) ||
        !c.taskDescriptions.set(index, description)) {
        return;
    }
    c.taskFlags[index] = flags;
    c.taskGroup[index] = group;
    c.taskCount = index + 1;
    if (flags & kChoiceDefault) chooseTask(c, index, true);
}

// The first setup type is where a selection starts: it replaces the components' defaults.
void applySetupType(PayloadReader& reader) {
    Choices& c = setupState.choices;
    std::uint8_t flags;
    std::uint32_t components;
    const char *id, *name;
    if (!reader.readU8(flags) || !reader.readU32(components) || !reader.readString(id) ||
        !reader.readString(name) || c.setupTypeCount >= kSetupTypeLimit) {
        return;
    }
    const int index = c.setupTypeCount;
    if (!c.setupTypeIds.set(index, id) || !c.setupTypeNames.set(index, name)) return;
    c.setupTypeFlags[index] = flags;
    c.setupTypeComponents[index] = components;
    c.setupTypeCount = index + 1;
    if (index == 0) chooseSetupType(c, 0);
}

void applyCondition(PayloadReader& reader) {
    Choices& c = setupState.choices;
    conditionUnreadable = !reader.readU32(c.entryComponents) || !reader.readU32(c.entryTasks);
}

// Every walk of the script starts without a condition.
void startWalk() {
    setupState.choices.entryComponents = 0;
    setupState.choices.entryTasks = 0;
    conditionUnreadable = false;
}

// The list that runs an action of this group, or null when the group runs never.
StringList* actionList(int group, bool program) {
    SetupState& s = setupState;
    if (group == kActionGroupUninstall) {
        return program ? &s.uninstallPrograms : &s.uninstallDllCalls;
    }
    if (group == kActionGroupStart) return program ? &s.groupZeroPrograms : &s.groupZeroDllCalls;
    if (group > kActionGroupStart && group <= kActionGroupLast) {
        PageSlot& slot = s.pageSlots[group - 1];
        return program ? &slot.runPrograms : &slot.dllCalls;
    }
    return nullptr;
}

// The entry's fields rejoined with commas, the group field left out. Null when the heap is
// exhausted; the caller frees it.
char* storedActionForm(const StringList& fields, int fieldCount, int groupField) {
    // A last field that is empty is left out, with its comma: a record without success codes
    // keeps the form older engines wrote, in the install log too.
    if (fieldCount > 0 && !*field(fields, fieldCount - 1)) --fieldCount;
    std::size_t size = 1;
    for (int i = 0; i < fieldCount; ++i) {
        if (i != groupField) size += std::strlen(field(fields, i)) + 1;
    }
    auto* stored = static_cast<char*>(heapAlloc(size));
    if (!stored) return nullptr;
    char* end = stored;
    // A comma before every field but the first kept one, empty fields included: testing whether
    // anything was written yet would drop the commas after empty leading fields and shift the
    // later fields into their places.
    bool firstField = true;
    for (int i = 0; i < fieldCount; ++i) {
        if (i == groupField) continue;
        if (!firstField) *end++ = ',';
        firstField = false;
        std::size_t length = std::strlen(field(fields, i));
        std::memcpy(end, field(fields, i), length);
        end += length;
    }
    return stored;
}

void applyAction(PayloadReader& reader, bool program) {
    const char* entry;
    if (!reader.readString(entry)) return;
    HeapString expanded(expandFolderTokens(entry));
    if (!expanded) return;
    StringList& fields = runEnvironment.scratchFields;
    splitFields(expanded.get(), false, fields);
    const int groupField = program ? int{kRunProgramGroup} : int{kCallDllGroup};
    const char* groupText = field(fields, groupField);
    int group = *groupText ? parseNumber(groupText) : kActionGroupDefault;
    StringList* list = actionList(group, program);
    if (!list) return;  // a group that never runs: dropped
    HeapString stored(
        storedActionForm(fields, program ? kRunProgramFields : kCallDllFields, groupField));
    if (stored) list->append(stored.get());
}

void applyRequirements(PayloadReader& reader) {
    const char* windows;
    const char* directX;
    const char* ie;
    const char* access;
    std::uint8_t admin;
    if (!reader.readString(windows) || !reader.readString(directX) || !reader.readString(ie) ||
        !reader.readString(access) || !reader.readU8(admin)) {
        return;
    }
    SetupState& s = setupState;
    copyText(s.requiredWindows, windows);
    copyText(s.requiredDirectX, directX);
    copyText(s.requiredIe, ie);
    copyText(s.requiredAccess, access);
    s.adminRequired = admin != 0;
}

void applyProductDetails(PayloadReader& reader) {
    const char *version, *publisher, *aboutUrl, *helpUrl;
    if (!(reader.readString(version) && reader.readString(publisher) &&
          reader.readString(aboutUrl) && reader.readString(helpUrl))) {
        return;
    }
    SetupState& s = setupState;
    copyText(s.productVersion, version);
    copyText(s.publisher, publisher);
    copyText(s.aboutUrl, aboutUrl);
    copyText(s.helpUrl, helpUrl);
    std::uint8_t allowDowngrade = 0;  // optional: a record without it refuses a downgrade
    reader.readU8(allowDowngrade);
    s.allowDowngrade = allowDowngrade != 0;
}

// Read as it stands: the requirement check refuses a value it does not know.
void applyArchitecture(PayloadReader& reader) {
    std::uint8_t value = kArchitectureUnreadable;
    reader.readU8(value);
    setupState.architecture = value;
}

// A record without both bytes leaves the product machine-wide, as an engine before it installed.
void applyScope(PayloadReader& reader) {
    std::uint8_t scope = kScopeMachine;
    std::uint8_t choice = kScopeMachine;
    if (!reader.readU8(scope) || !reader.readU8(choice)) return;
    setupState.scope = scope;
    setupState.scopeDefault = choice;
}

// A value this engine does not know asks, as without the record.
void applyCloseApplications(PayloadReader& reader) {
    std::uint8_t mode = kCloseApplicationsAsk;
    reader.readU8(mode);
    setupState.closeApplications = mode <= kCloseApplicationsForce ? mode : kCloseApplicationsAsk;
}

// Records whose payload is one string: replaces a text or appends to a list.
void applyStringRecord(std::int32_t type, PayloadReader& reader) {
    const char* value;
    if (!reader.readString(value)) return;
    SetupState& s = setupState;
    switch (type) {
        case kRecordLicense:
            copyText(s.licenseText, value);
            break;
        case kRecordReadme:
            copyText(s.readmeText, value);
            break;
        case kRecordRegistry:
            appendExpanded(s.registryEntries, value, &s.registryParts);
            break;
        case kRecordIni:
            appendExpanded(s.iniEntries, value, &s.iniParts);
            break;
        case kRecordAssociation:
            appendExpanded(s.associationEntries, value, &s.associationParts);
            break;
        case kRecordBackgroundLine:
            appendExpanded(s.backgroundLines, value);
            break;
        default:
            break;
    }
}

}  // namespace

int registryRootNumber(const char* name) {
    if (!name) return -1;
    for (int i = 0; i < kRecordRootCount; ++i) {
        if (compareTextNoCase(name, rootKeyName(i)) == 0) return i;
    }
    return -1;
}

void applyRecord(std::int32_t type, const unsigned char* payload, std::uint32_t length,
                 const RecordPlatform& platform) {
    PayloadReader reader(payload, length);
    // Entries and actions of parts the selection leaves out are not kept.
    if (type >= kRecordShortcut && type <= kRecordAssociation && !entryChosen()) return;
    switch (type) {
        case kRecordVariable:
            applyVariable(reader);
            break;
        case kRecordPageFlags:
            applyPageFlags(reader);
            break;
        case kRecordText:
            applyTextRecord(reader);
            break;
        case kRecordLanguages:
            applyLanguages(reader, platform);
            break;
        case kRecordBackground:
            applyBackground(reader);
            break;
        case kRecordAccentColor:
            applyAccentColor(reader);
            break;
        case kRecordSettings:
            applySettings(reader, platform);
            break;
        case kRecordShortcut:
            applyShortcut(reader);
            break;
        case kRecordRunProgram:
            applyAction(reader, true);
            break;
        case kRecordCallDll:
            applyAction(reader, false);
            break;
        case kRecordRequirements:
            applyRequirements(reader);
            break;
        case kRecordProductDetails:
            applyProductDetails(reader);
            break;
        case kRecordArchitecture:
            applyArchitecture(reader);
            break;
        case kRecordScope:
            applyScope(reader);
            break;
        case kRecordCloseApplications:
            applyCloseApplications(reader);
            break;
        case kRecordComponent:
            applyComponent(reader);
            break;
        case kRecordTask:
            applyTask(reader);
            break;
        case kRecordSetupType:
            applySetupType(reader);
            break;
        case kRecordCondition:
            applyCondition(reader);
            break;
        case kRecordLicense:
        case kRecordReadme:
        case kRecordRegistry:
        case kRecordIni:
        case kRecordAssociation:
        case kRecordBackgroundLine:
            applyStringRecord(type, reader);
            break;
        default:
            break;  // not a record type of the format: skipped
    }
}

void applyRecord(std::int32_t type, const unsigned char* payload, std::uint32_t length) {
    applyRecord(type, payload, length, systemRecordPlatform());
}

bool applyScript(const unsigned char* script, std::size_t size, const RecordPlatform& platform) {
    startWalk();
    RecordCursor cursor(script, size);
    ScriptRecord record;
    while (cursor.next(record)) applyRecord(record.type, record.payload, record.length, platform);
    return cursor.reachedEndRecord();
}

bool applyScript(const unsigned char* script, std::size_t size) {
    return applyScript(script, size, systemRecordPlatform());
}

bool applyFolderOption(const DeploymentOptions& options) {
    if (!options.folderGiven) return true;
    HeapString folder(strDupExtra(options.folder.get(), 0));
    if (!folder) return false;
    stripTrailingSeparator(folder.get());
    return setVariable(kInstallPathVariable, folder.get());
}

namespace {

// Empties the action lists of every group, before the records that fill them apply again.
void clearActionLists() {
    SetupState& s = setupState;
    for (StringList* list :
         {&s.uninstallPrograms, &s.uninstallDllCalls, &s.groupZeroPrograms, &s.groupZeroDllCalls}) {
        list->clear();
    }
    for (PageSlot& slot : s.pageSlots) {
        slot.runPrograms.clear();
        slot.dllCalls.clear();
    }
}

// Applies again the script's records of these types, in order, from a walk without a condition.
void applyRecordsOf(const unsigned char* script, std::size_t size, const RecordPlatform& platform,
                    const std::int32_t* types, std::size_t count) {
    startWalk();
    RecordCursor cursor(script, size);
    ScriptRecord record;
    while (cursor.next(record)) {
        for (std::size_t i = 0; i < count; ++i) {
            if (record.type == types[i])
                applyRecord(record.type, record.payload, record.length, platform);
        }
    }
}

}  // namespace

void reapplyScopedRecords(const unsigned char* script, std::size_t size,
                          const RecordPlatform& platform) {
    constexpr std::int32_t kScopedTypes[] = {
        kRecordVariable, kRecordText, kRecordSettings,    kRecordRunProgram, kRecordCallDll,
        kRecordRegistry, kRecordIni,  kRecordAssociation, kRecordCondition,
    };
    SetupState& s = setupState;
    for (StringList* list : {&s.registryEntries, &s.iniEntries, &s.associationEntries,
                             &s.registryParts, &s.iniParts, &s.associationParts}) {
        list->clear();
    }
    clearActionLists();
    StringList replaced;
    if (!replaced.create(8)) return;
    replacedVariables = &replaced;
    applyRecordsOf(script, size, platform, kScopedTypes, std::size(kScopedTypes));
    replacedVariables = nullptr;
}

void reapplyChosenRecords(const unsigned char* script, std::size_t size,
                          const RecordPlatform& platform) {
    constexpr std::int32_t kChosenTypes[] = {
        kRecordShortcut, kRecordRegistry,    kRecordIni,       kRecordRunProgram,
        kRecordCallDll,  kRecordAssociation, kRecordCondition,
    };
    SetupState& s = setupState;
    for (StringList* list :
         {&s.shortcutEntries, &s.registryEntries, &s.iniEntries, &s.associationEntries,
          &s.shortcutParts, &s.registryParts, &s.iniParts, &s.associationParts}) {
        list->clear();
    }
    clearActionLists();
    for (std::size_t k = 0; k < std::size(kShortcutKinds); ++k) {
        kindHadBefore[k] = s.*kShortcutKinds[k].has;
        s.*kShortcutKinds[k].has = false;
    }
    keepShortcutChoices = true;
    applyRecordsOf(script, size, platform, kChosenTypes, std::size(kChosenTypes));
    keepShortcutChoices = false;
}

}  // namespace kelvara
