// Where each field stands in the field strings of the setup script's records (shortcut,
// registry value, INI entry, file association, program, DLL call): the builder writes them at
// these places and the install engine reads them from there.
#pragma once
#include <cstdint>

namespace kelvara {

// Fields of an expanded shortcut record.
enum ShortcutField : int {
    kShortcutLinkPath,
    kShortcutTarget,
    kShortcutArguments,
    kShortcutWorkingFolder,
    kShortcutIconFile,
    kShortcutIconIndex,
    kShortcutShowCommand,
    kShortcutHotKey,
    kShortcutShared,
};

// Show commands of a shortcut's window (the system's SW_* numbers).
constexpr int kShowNormal = 1;     // SW_SHOWNORMAL
constexpr int kShowMinimized = 7;  // SW_SHOWMINNOACTIVE
constexpr int kShowMaximized = 3;  // SW_SHOWMAXIMIZED

// Fields of a registry value record.
enum RegistryField : int {
    kRegistryRootField,  // root number 0..6 as text
    kRegistryKeyField,   // key path below the root
    kRegistryNameField,  // value name; empty: the key's default value
    kRegistryTypeField,  // value type number; 0 or empty: 1
    kRegistryDataField,  // data text, converted by type
    // The registry view: "64" or "32" (the system's 64-bit or 32-bit keys), empty for the
    // product's own (64-bit for x64 and arm64 products, 32-bit for x86 ones). An engine that
    // predates it writes in the 32-bit view.
    kRegistryViewField,
};

// Value types a registry record may name (the system's REG_* numbers).
constexpr std::uint32_t kRegString = 1;        // REG_SZ
constexpr std::uint32_t kRegExpandString = 2;  // REG_EXPAND_SZ
constexpr std::uint32_t kRegBinary = 3;        // REG_BINARY
constexpr std::uint32_t kRegDword = 4;         // REG_DWORD
constexpr std::uint32_t kRegMultiString = 7;   // REG_MULTI_SZ

// Fields of an INI entry record.
enum IniField : int {
    kIniFileField,     // file path; a bare name lives in the Windows folder
    kIniSectionField,  // section name
    kIniKeyField,      // key name; empty: the whole section
    kIniValueField,    // value; empty: none (the key or section is deleted)
    kIniAppendField,   // append flag
};

// Fields of a file association record.
enum AssociationField : int {
    kAssociationExtension,    // with its dot
    kAssociationType,         // document type name: the class key the extension points to
    kAssociationContentType,  // MIME type
    kAssociationDescription,
    kAssociationInfoTip,
    kAssociationCommand,    // open command line
    kAssociationIcon,       // icon file
    kAssociationIconIndex,  // a number
};

// Fields of a program record (the action group is left out of the form the engine keeps).
enum RunProgramField : int {
    kRunProgramFile,
    kRunProgramArguments,
    kRunProgramWorkingFolder,
    kRunProgramGroup,  // action group; see the action groups of script_format.h
    kRunProgramWait,
    kRunProgramOnce,    // run once: the record goes after its first run
    kRunProgramWindow,  // window mode
    // The exit codes that mean success, separated by "|" ("0|3010"); empty: the code is logged
    // and not judged. A code outside them fails the step; 3010 and 1641 among them ask for a
    // restart.
    kRunProgramSuccessCodes,
};

// Window modes of a program record.
constexpr int kWindowModeNormal = 0;
constexpr int kWindowModeMinimized = 1;
constexpr int kWindowModeMaximized = 2;

// Fields of a DLL call record (the action group is left out of the form the engine keeps).
enum CallDllField : int {
    kCallDllFile,
    kCallDllFunction,
    kCallDllFirstArgument,
    kCallDllSecondArgument,
    kCallDllGroup,  // action group
    kCallDllOnce,
};

}  // namespace kelvara
