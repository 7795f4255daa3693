#include <gtest/gtest.h>

#include <new>
#include <string>

#include "environment/run_environment.h"
#include "formats/folder_token_names.h"
#include "formats/languages.h"
#include "formats/script_bytes.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "formats/variables.h"
#include "fresh_records.h"
#include "install/install_state.h"
#include "runtime/heap.h"
#include "setup/script_records.h"

using namespace kelvara;

namespace {

// The system as the fake platform shows it.
struct FakeSystem {
    std::vector<std::string> fonts{"Tahoma", "Arial"};
    int userLanguage = 9;
    std::string registryValue;  // empty: not found
    int lookups = 0;
    int root = -1;
    std::string subkey, valueName;
} fake;

bool fakeFontInstalled(const char* face) {
    for (const std::string& f : fake.fonts) {
        if (f == face) return true;
    }
    return false;
}

char* fakeReadRegistry(int root, const char* subkey, const char* valueName) {
    ++fake.lookups;
    fake.root = root;
    fake.subkey = subkey;
    fake.valueName = valueName;
    if (fake.registryValue.empty()) return nullptr;
    auto* value = static_cast<char*>(heapAlloc(fake.registryValue.size() + 1));
    fake.registryValue.copy(value, fake.registryValue.size());
    return value;
}

int fakeUserLanguage() {
    return fake.userLanguage;
}

const RecordPlatform kFake = {fakeFontInstalled, fakeReadRegistry, fakeUserLanguage};

// Fresh records for the parts the records touch, as start-up stage 0 leaves it.
void resetRecordState() {
    freshScriptRecords();
    installState.restartNeeded = false;
    installState.restartChosen = false;
    runEnvironment.folderPaths.set(kTokenProgramFiles, "C:\\Program Files");
    runEnvironment.folderPaths.set(kTokenDesktop, "C:\\Desk");
    fake = FakeSystem{};
}

class ScriptRecords : public ::testing::Test {
  protected:
    void SetUp() override { resetRecordState(); }
    void TearDown() override { resetRecordState(); }

    static void apply(std::int32_t type, const Bytes& payload) {
        applyRecord(type, payload.data(), static_cast<std::uint32_t>(payload.size()), kFake);
    }
    static void applyText(std::int32_t type, const char* text) {
        apply(type, PayloadBytes().str(text).bytes);
    }
    static std::string item(const StringList& list, int i) {
        const char* t = list.get(i);
        return t ? t : "<null>";
    }
};

Bytes settings(const char* normalFont, const char* titleFont, std::uint8_t styleFlags,
               const char* previousLocation = "") {
    return PayloadBytes()
        .str("Prod")
        .str("Product Deluxe")
        .str(normalFont)
        .raw({0x00, 0x00, 0x00, 0x01})  // page colour: button face
        .raw({0x00, 0x00, 0x00, 0x02})  // frame colour: window
        .str(titleFont)
        .raw({0x00, 0x8C, 0xC8, 0x00})  // header colour: red 0, green 140, blue 200
        .u8(0xFE)                       // look flags: bit 1 only among the two read
        .str(previousLocation)
        .str("<ProgramFiles>\\readme.txt")
        .str("")
        .u8(styleFlags)
        .u8(7)
        .bytes;
}

TEST_F(ScriptRecords, WalkAppliesRecordsUntilTheEndAndSkipsUnknownTypes) {
    ScriptBytes script;
    script.record(0, PayloadBytes().str("zero").bytes)
        .record(3, PayloadBytes().str("first licence").bytes)
        .record(18, PayloadBytes().str("eighteen").bytes)
        .record(-7, Bytes{1, 2, 3})
        .record(4, PayloadBytes().str("readme").bytes)
        .end()
        .record(3, PayloadBytes().str("after the end").bytes);
    EXPECT_TRUE(applyScript(script.bytes.data(), script.bytes.size(), kFake));
    EXPECT_STREQ(setupState.licenseText.get(), "first licence");
    EXPECT_STREQ(setupState.readmeText.get(), "readme");

    // A record that runs past the block ends the walk; what came before stays applied.
    ScriptBytes truncated;
    truncated.record(4, PayloadBytes().str("kept").bytes)
        .record(3, PayloadBytes().str("cut").bytes);
    truncated.bytes.resize(truncated.bytes.size() - 1);
    EXPECT_FALSE(applyScript(truncated.bytes.data(), truncated.bytes.size(), kFake));
    EXPECT_STREQ(setupState.readmeText.get(), "kept");
    EXPECT_STREQ(setupState.licenseText.get(), "first licence");

    // A corrupt length: nothing from that record on.
    ScriptBytes corrupt;
    corrupt.bytes = {3, 0, 0, 0, 0xF0, 0xFF, 0xFF, 0x7F, 'x', 0};
    corrupt.record(4, PayloadBytes().str("hidden").bytes).end();
    EXPECT_FALSE(applyScript(corrupt.bytes.data(), corrupt.bytes.size(), kFake));
    EXPECT_STREQ(setupState.readmeText.get(), "kept");
}

TEST_F(ScriptRecords, StringsWithoutTerminatorLeaveTheRecordOut) {
    applyText(kRecordLicense, "old");
    apply(kRecordLicense, Bytes{'n', 'e', 'w'});
    EXPECT_STREQ(setupState.licenseText.get(), "old");
    apply(kRecordRequirements, PayloadBytes().str("WinXP").str("").str("IE5").str("").bytes);
    EXPECT_EQ(setupState.requiredWindows.get(), nullptr) << "administrator byte missing";
    apply(kRecordVariable, PayloadBytes().str("%A%").bytes);
    EXPECT_EQ(setupState.variableNames.count(), 0) << "value missing";
}

TEST_F(ScriptRecords, VariablesExpandFolderTokensInValuesOnly) {
    apply(kRecordVariable, PayloadBytes().str("%INSTALLPATH%").str("<programfiles>\\App").bytes);
    apply(kRecordVariable, PayloadBytes().str("%installpath%").str("%Other%").bytes);
    SetupState& s = setupState;
    ASSERT_EQ(s.variableNames.count(), 2) << "no duplicate check";
    EXPECT_EQ(item(s.variableNames, 0), "%INSTALLPATH%");
    EXPECT_EQ(item(s.variableValues, 0), "C:\\Program Files\\App");
    EXPECT_EQ(item(s.variableNames, 1), "%installpath%");
    EXPECT_EQ(item(s.variableValues, 1), "%Other%") << "variables are not expanded";
    EXPECT_STREQ(lookupVariable("%InstallPath%"), "C:\\Program Files\\App");
}

TEST_F(ScriptRecords, PageFlagsTakeTheLayoutInForceWhenApplied) {
    const Bytes flags{1, 1, 1, 0, 0, 0, 1, 0, 1, 1, 1, 0};
    apply(kRecordPageFlags, flags);
    SetupState& s = setupState;
    const int enabled[] = {0, 1, 2, 6, 8, 9, 10};
    for (int page = 0; page < 12; ++page) {
        bool expected =
            std::find(std::begin(enabled), std::end(enabled), page) != std::end(enabled);
        EXPECT_EQ(s.pageSlots[page].enabled, expected) << "page " << page;
        EXPECT_EQ(s.pageSlots[page].dialogId, 129 + page) << "page " << page;
    }
    // A later compact settings record does not renumber pages already set.
    apply(kRecordSettings, settings("", "", kStyleCompactLayout));
    EXPECT_EQ(s.dialogSetOffset, 20);
    EXPECT_EQ(s.pageSlots[6].dialogId, 135);
    apply(kRecordPageFlags, Bytes(12, 1));
    EXPECT_EQ(s.pageSlots[0].dialogId, 149);
    EXPECT_EQ(s.pageSlots[11].dialogId, 160);
    EXPECT_TRUE(s.pageSlots[3].enabled);
    // Eleven bytes are not a page-flags record.
    apply(kRecordPageFlags, Bytes(11, 0));
    EXPECT_TRUE(s.pageSlots[3].enabled);
    EXPECT_FALSE(s.pageSlots[12].enabled) << "the uninstaller's slot is no page";
}

TEST_F(ScriptRecords, TextRecordsFillTheTableTheirCodeNames) {
    SetupState& s = setupState;
    apply(kRecordText, PayloadBytes().raw({0x09, 0x00, 0x80, 0x01}).str("&Next >").bytes);
    apply(kRecordText, PayloadBytes().raw({0x09, 0x00, 0x0A, 0x04}).str("<ProgramFiles>").bytes);
    apply(kRecordText, PayloadBytes().raw({0x09, 0x00, 0x60, 0x02}).str("<ProgramFiles>").bytes);
    apply(kRecordText, PayloadBytes().raw({0x07, 0x00, 0x70, 39}).str("Kein Platz").bytes);
    apply(kRecordText, PayloadBytes().raw({0x09, 0x00, 0x0C, 0x00}).str("Uninstall").bytes);
    EXPECT_EQ(item(s.buttonLabels[9], 1), "&Next >");
    EXPECT_EQ(item(s.pageSlots[10].texts[9], 4), "C:\\Program Files") << "page texts expanded";
    EXPECT_EQ(item(s.setupMessages[9], 2), "<ProgramFiles>") << "messages as written";
    EXPECT_EQ(s.errorMessages[7].count(), 40);
    EXPECT_EQ(item(s.errorMessages[7], 39), "Kein Platz");
    EXPECT_EQ(item(s.pageSlots[kUninstallTextsSlot].texts[9], 0), "Uninstall");
    // Read in the current language; missing texts are empty, with no other language's text.
    EXPECT_STREQ(text(kTableButtonLabels, 1), "&Next >");
    EXPECT_STREQ(text(kTableErrorMessages, 39), "");
    EXPECT_STREQ(text(kTableErrorMessages, 38), "");
    selectLanguage(7);
    EXPECT_STREQ(text(kTableErrorMessages, 39), "Kein Platz");
    EXPECT_STREQ(text(kTableErrorMessages, 38), "");
    EXPECT_STREQ(text(kTableButtonLabels, 1), "");
    // A later text replaces the item.
    selectLanguage(9);
    apply(kRecordText, PayloadBytes().raw({0x09, 0x00, 0x80, 0x01}).str("Weiter").bytes);
    EXPECT_STREQ(text(kTableButtonLabels, 1), "Weiter");

    // Table codes and language numbers outside the format are left out.
    apply(kRecordText, PayloadBytes().raw({0x09, 0x00, 0x0E, 0x00}).str("slot 14").bytes);
    apply(kRecordText, PayloadBytes().raw({0x09, 0x00, 0x90, 0x00}).str("table 0x90").bytes);
    apply(kRecordText, PayloadBytes().raw({0x62, 0x00, 0x80, 0x00}).str("language 98").bytes);
    apply(kRecordText, PayloadBytes().raw({0x00, 0x00, 0x80, 0x00}).str("language 0").bytes);
    EXPECT_EQ(s.buttonLabels[0].count(), 0);
    EXPECT_FALSE(isTextTable(14));
    EXPECT_TRUE(isTextTable(kPageFilesInUse));
    EXPECT_FALSE(isTextTable(0x90));
    EXPECT_EQ(textList(0x80, 98), nullptr);
    EXPECT_STREQ(text(0x90, 0), "");
}

TEST_F(ScriptRecords, LanguagesRecordChoosesTheUserLanguageOnlyWithAutoSelect) {
    SetupState& s = setupState;
    EXPECT_EQ(s.currentLanguage, 9) << "English before any languages record";
    const Bytes offered{0x01, 0x09, 0x00, 0x07, 0x00, 0x0A, 0x00};
    fake.userLanguage = 7;
    apply(kRecordLanguages, offered);
    EXPECT_EQ(s.currentLanguage, 7);
    ASSERT_EQ(s.languageCount, 3);
    EXPECT_EQ(s.languageList[0], 9);
    EXPECT_EQ(s.languageList[1], 7);
    EXPECT_EQ(s.languageList[2], 10);

    fake.userLanguage = 12;
    apply(kRecordLanguages, offered);
    EXPECT_EQ(s.currentLanguage, 9) << "user language not listed";
    EXPECT_EQ(s.languageCount, 3) << "a later record replaces the list";

    Bytes noAuto = offered;
    noAuto[0] = 0;
    fake.userLanguage = 7;
    apply(kRecordLanguages, noAuto);
    EXPECT_EQ(s.currentLanguage, 9);

    // Only English offered: English whatever the user speaks.
    apply(kRecordLanguages, Bytes{0x01, 0x09, 0x00});
    EXPECT_EQ(s.currentLanguage, 9);
    EXPECT_EQ(s.languageCount, 1);
}

TEST_F(ScriptRecords, LanguagesRecordReadsWholeNumbersInsideItsPayloadOnly) {
    SetupState& s = setupState;
    // An even length: the byte after the last whole number is no half language.
    Bytes even{0x00, 0x07, 0x00, 0x09};
    apply(kRecordLanguages, even);
    ASSERT_EQ(s.languageCount, 1);
    EXPECT_EQ(s.currentLanguage, 7);
    // Numbers outside 1 to 97 are not offered.
    apply(kRecordLanguages, Bytes{0x01, 0x62, 0x00, 0x00, 0x00, 0x0A, 0x00, 0xFF, 0xFF});
    ASSERT_EQ(s.languageCount, 1);
    EXPECT_EQ(s.languageList[0], 10);
    EXPECT_EQ(s.currentLanguage, 10);
    // No language at all: the record is left out.
    apply(kRecordLanguages, Bytes{0x01});
    apply(kRecordLanguages, Bytes{0x01, 0x62, 0x00});
    EXPECT_EQ(s.languageCount, 1);
    EXPECT_EQ(s.currentLanguage, 10);
    // More numbers than slots: the list holds 97 and no more.
    PayloadBytes many;
    many.u8(0);
    for (int i = 0; i < 300; ++i) many.u16(static_cast<std::uint16_t>(1 + i % 97));
    apply(kRecordLanguages, many.bytes);
    EXPECT_EQ(s.languageCount, 97);
    EXPECT_EQ(s.languageList[96], 97);
}

TEST_F(ScriptRecords, BackgroundAndAccentColours) {
    SetupState& s = setupState;
    EXPECT_EQ(s.accentColor, 0x00C88C00u) << "default red 0, green 140, blue 200";
    EXPECT_FALSE(s.backgroundEnabled);
    apply(kRecordBackground, PayloadBytes().u32(0xFF8000).u32(0x0000FF).bytes);
    EXPECT_TRUE(s.backgroundEnabled);
    EXPECT_EQ(s.backgroundColor1, 0x0080FFu);
    EXPECT_EQ(s.backgroundColor2, 0xFF0000u);
    apply(kRecordAccentColor, Bytes{0x10, 0x20, 0x30, 0x00});
    EXPECT_EQ(s.accentColor, 0x302010u) << "stored without exchange";
    apply(kRecordAccentColor, Bytes{0x10, 0x20});
    EXPECT_EQ(s.accentColor, 0x302010u);
}

TEST_F(ScriptRecords, SettingsRecordFillsNamesFontsColoursAndFlags) {
    SetupState& s = setupState;
    apply(kRecordSettings,
          settings("Verdana,0xFF8000", ",0x00008C", kStyleAllowDesktopChoice | kStyleRestart));
    EXPECT_STREQ(s.productShortName.get(), "Prod");
    EXPECT_STREQ(s.productName.get(), "Product Deluxe");
    EXPECT_STREQ(s.setupCaption.get(), "Product Deluxe Setup");
    EXPECT_STREQ(s.normalFontFace, "MS Sans Serif") << "Verdana is not installed";
    EXPECT_EQ(s.textColor, 0x0080FFu);
    EXPECT_STREQ(s.titleFontFace, "Tahoma") << "an empty face";
    EXPECT_EQ(s.titleColor, 0x8C0000u);
    EXPECT_EQ(s.pageColor, kColorSystemButtonFace);
    EXPECT_EQ(s.frameColor, kColorSystemWindow);
    EXPECT_EQ(s.headerColor, 0x00C88C00u);
    EXPECT_FALSE(s.fullColorWelcome);
    EXPECT_TRUE(s.captionedBackground);
    EXPECT_STREQ(s.finishViewFile.get(), "C:\\Program Files\\readme.txt");
    EXPECT_TRUE(s.finishViewEnabled);
    EXPECT_STREQ(s.finishRunProgram.get(), "");
    EXPECT_FALSE(s.finishRunEnabled);
    EXPECT_EQ(s.dialogSetOffset, 0);
    EXPECT_FALSE(s.allowGroupChoice);
    EXPECT_TRUE(s.allowDesktopChoice);
    EXPECT_FALSE(s.allowQuickLaunchChoice);
    EXPECT_TRUE(installState.restartNeeded);
    EXPECT_TRUE(installState.restartChosen);
    EXPECT_FALSE(s.createUninstaller);
    EXPECT_TRUE(s.hideMakerLink);
    EXPECT_EQ(fake.lookups, 0) << "no location given";

    // A second settings record replaces the first.
    fake.fonts = {"Arial"};
    apply(kRecordSettings, settings("Arial", "",
                                    kStyleCreateUninstaller | kStyleAllowGroupChoice |
                                        kStyleAllowQuickLaunchChoice | 0xC0));
    EXPECT_STREQ(s.normalFontFace, "Arial");
    EXPECT_EQ(s.textColor, 0u) << "no colour field: black";
    EXPECT_STREQ(s.titleFontFace, "MS Sans Serif") << "Tahoma missing";
    EXPECT_TRUE(s.createUninstaller && s.allowGroupChoice && s.allowQuickLaunchChoice);
    EXPECT_FALSE(installState.restartNeeded || installState.restartChosen || s.allowDesktopChoice);
}

TEST_F(ScriptRecords, SettingsRecordRefusesOverlongFacesAndTruncatedPayloads) {
    SetupState& s = setupState;
    std::string longFace(40, 'A');
    fake.fonts.push_back(longFace);
    fake.fonts.push_back(longFace.substr(0, 31));
    apply(kRecordSettings, settings((longFace + ",1").c_str(), longFace.substr(0, 31).c_str(), 0));
    EXPECT_STREQ(s.normalFontFace, "MS Sans Serif");
    EXPECT_EQ(std::string(s.titleFontFace), longFace.substr(0, 31)) << "31 characters fit";

    Bytes cut = settings("Arial", "Arial", kStyleCompactLayout);
    cut.pop_back();  // the link flag is missing
    s.productName.reset();
    apply(kRecordSettings, cut);
    EXPECT_EQ(s.productName.get(), nullptr) << "a truncated settings record is left out whole";
    EXPECT_EQ(s.dialogSetOffset, 0);
}

TEST_F(ScriptRecords, SettingsRecordTakesThePreviousInstallLocationFromTheRegistry) {
    SetupState& s = setupState;
    defineVariable("%INSTALLPATH%", "C:\\Default");
    fake.registryValue = "D:\\Old";
    apply(kRecordSettings, settings("", "", 0, "hklm,\\Software\\Prod,Path"));
    EXPECT_EQ(fake.lookups, 1);
    EXPECT_EQ(fake.root, 2);
    EXPECT_EQ(fake.subkey, "Software\\Prod") << "one leading backslash skipped";
    EXPECT_EQ(fake.valueName, "Path");
    EXPECT_EQ(s.variableNames.count(), 1) << "the existing variable is replaced";
    EXPECT_STREQ(lookupVariable("%InstallPath%"), "D:\\Old");

    fake.registryValue.clear();
    apply(kRecordSettings, settings("", "", 0, "HKCU,Software\\Prod,Path"));
    EXPECT_EQ(fake.root, 1);
    EXPECT_STREQ(lookupVariable("%InstallPath%"), "D:\\Old") << "not found: unchanged";

    apply(kRecordSettings, settings("", "", 0, "HKXX,Software\\Prod,Path"));
    EXPECT_EQ(fake.lookups, 2) << "an unknown root is not looked up";

    const char* roots[] = {"HKCR", "hkcu", "HKLM", "HKU", "HKPD", "HKCC", "HKDD"};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(registryRootNumber(roots[i]), i) << roots[i];
    EXPECT_EQ(registryRootNumber("HKEY_LOCAL_MACHINE"), -1);
    EXPECT_EQ(registryRootNumber(""), -1);
}

TEST_F(ScriptRecords, ShortcutsAreStoredAsWrittenAndSetTheirKindFlags) {
    SetupState& s = setupState;
    applyText(kRecordShortcut, "<ProgramFiles>\\App\\app.exe,<Programs>\\Other,App");
    EXPECT_FALSE(s.hasGroupShortcuts || s.hasDesktopShortcuts || s.hasQuickLaunchShortcuts);
    applyText(kRecordShortcut, "<ProgramFiles>\\App\\app.exe,<commondesktop>,App");
    EXPECT_TRUE(s.hasDesktopShortcuts && s.createDesktopShortcuts);
    EXPECT_FALSE(s.hasGroupShortcuts || s.hasQuickLaunchShortcuts);
    applyText(kRecordShortcut, "x,<Programs>\\%SHORTCUTSGROUP%,App");
    EXPECT_TRUE(s.hasGroupShortcuts && s.createGroupShortcuts);
    applyText(kRecordShortcut, "x,<QUICKLAUNCH>,App");
    EXPECT_TRUE(s.hasQuickLaunchShortcuts && s.createQuickLaunchShortcuts);
    ASSERT_EQ(s.shortcutEntries.count(), 4);
    EXPECT_EQ(item(s.shortcutEntries, 1), "<ProgramFiles>\\App\\app.exe,<commondesktop>,App");

    resetRecordState();
    applyText(kRecordShortcut, "x,<Desktop>,App");
    EXPECT_TRUE(s.hasDesktopShortcuts && s.createDesktopShortcuts);
}

TEST_F(ScriptRecords, EntryListsExpandFolderTokens) {
    SetupState& s = setupState;
    applyText(kRecordRegistry, "HKLM,Software\\App,Path,<ProgramFiles>\\App");
    applyText(kRecordIni, "<desktop>\\a.ini,Section,Key,%InstallPath%");
    applyText(kRecordAssociation, ".abc,App file,<ProgramFiles>\\app.exe");
    applyText(kRecordBackgroundLine, "Arial,24,<ProgramFiles>");
    applyText(kRecordBackgroundLine, "Arial,12,second");
    EXPECT_EQ(item(s.registryEntries, 0), "HKLM,Software\\App,Path,C:\\Program Files\\App");
    EXPECT_EQ(item(s.iniEntries, 0), "C:\\Desk\\a.ini,Section,Key,%InstallPath%");
    EXPECT_EQ(item(s.associationEntries, 0), ".abc,App file,C:\\Program Files\\app.exe");
    ASSERT_EQ(s.backgroundLines.count(), 2);
    EXPECT_EQ(item(s.backgroundLines, 0), "Arial,24,C:\\Program Files");
    applyText(kRecordReadme, "one");
    applyText(kRecordReadme, "two");
    EXPECT_STREQ(s.readmeText.get(), "two");
}

TEST_F(ScriptRecords, ActionEntriesGoToTheirGroupWithoutTheGroupField) {
    SetupState& s = setupState;
    applyText(kRecordRunProgram, "<ProgramFiles>\\a.exe,/x,dir,,1,0,2");
    applyText(kRecordRunProgram, "b.exe,,,-1,1,1,0");
    applyText(kRecordRunProgram, "c.exe,,,0,0,0,1");
    applyText(kRecordRunProgram, "d.exe,,,5");
    applyText(kRecordRunProgram, "e.exe,,,13,1,1,1");
    applyText(kRecordRunProgram, "f.exe,,,-2,1,1,1");
    applyText(kRecordRunProgram, "g.exe,,,12,1,1,1");
    EXPECT_EQ(item(s.pageSlots[10].runPrograms, 0), "C:\\Program Files\\a.exe,/x,dir,1,0,2")
        << "empty group: 11";
    EXPECT_EQ(item(s.uninstallPrograms, 0), "b.exe,,,1,1,0");
    EXPECT_EQ(item(s.groupZeroPrograms, 0), "c.exe,,,0,0,1");
    EXPECT_EQ(item(s.pageSlots[4].runPrograms, 0), "d.exe,,,,,");
    EXPECT_EQ(item(s.pageSlots[11].runPrograms, 0), "g.exe,,,1,1,1");
    int stored = s.uninstallPrograms.count() + s.groupZeroPrograms.count();
    for (const PageSlot& slot : s.pageSlots) stored += slot.runPrograms.count();
    EXPECT_EQ(stored, 5) << "groups 13 and -2 are dropped";
    applyText(kRecordRunProgram, ",doc.txt,,0");
    EXPECT_EQ(item(s.groupZeroPrograms, 1), ",doc.txt,,,,")
        << "empty leading fields keep their commas, so the later ones keep their places";

    applyText(kRecordCallDll, "<ProgramFiles>\\x.dll,DllRegisterServer,a,b,0x0,1");
    applyText(kRecordCallDll, "y.dll,DllUnregisterServer,,,-1,0");
    applyText(kRecordCallDll, "z.dll,Fn,1,2,,1");
    applyText(kRecordCallDll, "w.dll,Fn,1,2,99,1");
    EXPECT_EQ(item(s.groupZeroDllCalls, 0), "C:\\Program Files\\x.dll,DllRegisterServer,a,b,1");
    EXPECT_EQ(item(s.uninstallDllCalls, 0), "y.dll,DllUnregisterServer,,,0");
    EXPECT_EQ(item(s.pageSlots[10].dllCalls, 0), "z.dll,Fn,1,2,1");
    stored = s.uninstallDllCalls.count() + s.groupZeroDllCalls.count();
    for (const PageSlot& slot : s.pageSlots) stored += slot.dllCalls.count();
    EXPECT_EQ(stored, 3);
    EXPECT_EQ(s.uninstallPrograms.count(), 1) << "DLL calls stay out of the program lists";
}

TEST_F(ScriptRecords, RequirementsReplaceEarlierOnes) {
    SetupState& s = setupState;
    apply(kRecordRequirements,
          PayloadBytes().str("Win98").str("DX8").str("IE5").str("").u8(2).bytes);
    EXPECT_STREQ(s.requiredWindows.get(), "Win98");
    EXPECT_STREQ(s.requiredDirectX.get(), "DX8");
    EXPECT_STREQ(s.requiredIe.get(), "IE5");
    EXPECT_STREQ(s.requiredAccess.get(), "");
    EXPECT_TRUE(s.adminRequired);
    apply(kRecordRequirements,
          PayloadBytes().str("WinXP").str("").str("").str("Access2000").u8(0).bytes);
    EXPECT_STREQ(s.requiredWindows.get(), "WinXP");
    EXPECT_STREQ(s.requiredDirectX.get(), "");
    EXPECT_STREQ(s.requiredAccess.get(), "Access2000");
    EXPECT_FALSE(s.adminRequired);
}

}  // namespace

// A product with a tree of components, a setup type, a task group and entries that name them:
// the entries the selection keeps, the same records applied again for another selection, and the
// person's shortcut choices kept across it.
TEST_F(ScriptRecords, ChoicesKeepTheEntriesOfWhatIsSelected) {
    auto component = [](std::uint8_t flags, std::uint8_t parent, std::uint32_t bytes,
                        const char* id) {
        return PayloadBytes().u8(flags).u8(parent).u32(bytes).str(id).str(id).str("").bytes;
    };
    auto task = [](std::uint8_t flags, std::uint8_t group, const char* id) {
        return PayloadBytes().u8(flags).u8(group).str(id).str(id).str("").bytes;
    };
    auto condition = [](std::uint32_t components, std::uint32_t tasks) {
        return PayloadBytes().u32(components).u32(tasks).bytes;
    };
    ScriptBytes script;
    script.record(kRecordComponent, component(kChoiceFixed, 0, 100, "core"))
        .record(kRecordComponent, component(kChoiceDefault, 0, 20, "docs"))
        .record(kRecordComponent, component(0, 2, 3, "samples"))              // under docs
        .record(kRecordComponent, component(kChoiceDefault, 9, 4, "orphan"))  // parent after it
        .record(kRecordSetupType, PayloadBytes().u8(0).u32(0x6).str("full").str("Full").bytes)
        .record(kRecordTask, task(kChoiceDefault, 1, "desktop"))
        .record(kRecordTask, task(kChoiceDefault, 1, "quicklaunch"))  // the same group
        .record(kRecordTask, task(0, 0, "path"))
        .record(kRecordRegistry, PayloadBytes().str("always").bytes)
        .record(kRecordCondition, condition(0x4, 0))
        .record(kRecordRegistry, PayloadBytes().str("samples").bytes)
        .record(kRecordCondition, condition(0x2, 0x4))
        .record(kRecordRegistry, PayloadBytes().str("docs and path").bytes)
        .record(kRecordCondition, condition(0, 0x1))
        .record(kRecordShortcut, PayloadBytes().str("<Desktop>\\Tool.lnk,x").bytes)
        .record(kRecordRunProgram, PayloadBytes().str("tool.exe,,,11").bytes)
        .record(kRecordCondition, Bytes{1, 2, 3})  // unreadable: nothing after it is kept
        .record(kRecordIni, PayloadBytes().str("damaged").bytes)
        .end();
    ASSERT_TRUE(applyScript(script.bytes.data(), script.bytes.size(), kFake));
    const Choices& c = setupState.choices;
    ASSERT_EQ(c.componentCount, 4);
    EXPECT_EQ(c.componentParent[3], 0) << "a parent that comes later is none";
    EXPECT_EQ(c.taskCount, 3);
    // The first setup type replaces the defaults (docs and samples, core fixed); of a group's
    // two defaults the later one stands.
    EXPECT_EQ(c.components, 0x7u);
    EXPECT_EQ(c.tasks, 0x2u);
    EXPECT_EQ(selectedComponentBytes(c), 123u);
    EXPECT_EQ(setupState.registryEntries.count(), 2);
    EXPECT_EQ(item(setupState.registryEntries, 1), "samples");
    EXPECT_EQ(item(setupState.registryParts, 0), "<null>") << "an entry of every installation";
    EXPECT_EQ(item(setupState.registryParts, 1), "samples") << "the install log's part name";
    EXPECT_EQ(setupState.shortcutEntries.count(), 0) << "the desktop task is not chosen";
    EXPECT_EQ(setupState.iniEntries.count(), 0);

    char unknown[8];
    EXPECT_FALSE(applyChoiceList(setupState.choices, " desktop , !Samples,path", false, unknown,
                                 sizeof unknown));
    EXPECT_STREQ(unknown, "desktop") << "a task is no component";
    ASSERT_TRUE(applyChoiceList(setupState.choices, "desktop,path", true, unknown, sizeof unknown));
    ASSERT_TRUE(applyChoiceList(setupState.choices, "!DOCS", false, unknown, sizeof unknown));
    EXPECT_EQ(c.components, 0x1u) << "docs cleared with samples under it, core fixed";
    EXPECT_EQ(c.tasks, 0x5u) << "desktop ticked clears quicklaunch";
    reapplyChosenRecords(script.bytes.data(), script.bytes.size(), kFake);
    ASSERT_EQ(setupState.registryEntries.count(), 1);
    EXPECT_EQ(item(setupState.registryEntries, 0), "always");
    ASSERT_EQ(setupState.shortcutEntries.count(), 1);
    EXPECT_TRUE(setupState.hasDesktopShortcuts && setupState.createDesktopShortcuts)
        << "a kind that appears is created";
    EXPECT_EQ(setupState.pageSlots[kActionGroupAfterInstall - 1].runPrograms.count(), 1);

    setupState.createDesktopShortcuts = false;  // the start menu page's box cleared
    ASSERT_TRUE(applyChoiceList(setupState.choices, "samples", false, unknown, sizeof unknown));
    EXPECT_EQ(c.components, 0x7u) << "a child ticks its parent";
    reapplyChosenRecords(script.bytes.data(), script.bytes.size(), kFake);
    EXPECT_EQ(setupState.registryEntries.count(), 3);
    EXPECT_FALSE(setupState.createDesktopShortcuts) << "the person's choice stands";
    EXPECT_EQ(setupState.pageSlots[kActionGroupAfterInstall - 1].runPrograms.count(), 1)
        << "no action twice";
    HeapString saved(formatChoiceList(c, false));
    EXPECT_STREQ(saved.get(), "core,docs,samples,!orphan");
}
