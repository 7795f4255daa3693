// The setup script's byte layout: the one definition the engine reads with and the builder
// writes with. A script is a flat sequence of records, all integers little-endian:
//   type (32-bit signed), length (32-bit unsigned), payload (length bytes)
// and ends with the end record, which is its 4-byte type alone.
#pragma once
#include <cstddef>
#include <cstdint>

namespace kelvara {

// Record types.
constexpr std::int32_t kRecordEnd = -1;
constexpr std::int32_t kRecordVariable = 1;         // name, value
constexpr std::int32_t kRecordPageFlags = 2;        // 12 bytes: one per wizard page
constexpr std::int32_t kRecordLicense = 3;          // text
constexpr std::int32_t kRecordReadme = 4;           // text
constexpr std::int32_t kRecordText = 5;             // language, table, item, text
constexpr std::int32_t kRecordLanguages = 6;        // auto-select flag, language numbers
constexpr std::int32_t kRecordBackground = 7;       // two RGB numbers
constexpr std::int32_t kRecordAccentColor = 8;      // colour value
constexpr std::int32_t kRecordSettings = 9;         // see the settings layout below
constexpr std::int32_t kRecordShortcut = 10;        // field string
constexpr std::int32_t kRecordRegistry = 11;        // field string
constexpr std::int32_t kRecordIni = 12;             // field string
constexpr std::int32_t kRecordRunProgram = 13;      // field string with an action group
constexpr std::int32_t kRecordCallDll = 14;         // field string with an action group
constexpr std::int32_t kRecordAssociation = 15;     // field string
constexpr std::int32_t kRecordRequirements = 16;    // four keywords, administrator byte
constexpr std::int32_t kRecordBackgroundLine = 17;  // one background text line
// Four strings for the list of installed programs: version, publisher, the product's web
// address and its help address; then, when an older version may replace a newer installed one,
// one byte 1. Engines that predate it skip it, as every unknown type.
constexpr std::int32_t kRecordProductDetails = 18;
// One byte: the processor the product is built for (kArchitecture*). An engine that predates it
// skips it and installs as for x86, the only kind of program it knew.
constexpr std::int32_t kRecordArchitecture = 19;
// Two bytes: for whom the product is installed (kScope*), and the choice a "choose" product
// starts from (kScopeMachine or kScopeUser). An engine that predates it skips it and installs
// for the whole machine, as it always did.
constexpr std::int32_t kRecordScope = 20;
// Components, tasks and setup types: the parts a person or the command line may choose. An image
// that has them also carries a condition entry in its file groups, which every older engine
// refuses as damage, so none of them installs everything such an image holds.
// Component: flags (kChoice*), parent (0: none, else its index + 1; parents come first), the
// bytes its files need (u32), then id, name and description (strings).
constexpr std::int32_t kRecordComponent = 21;
// Task: flags (kChoiceDefault), group (0: none; the tasks of one group are a choice of one),
// then id, name and description.
constexpr std::int32_t kRecordTask = 22;
// Setup type: flags (kSetupTypeCustom), the components it selects (u32 mask, bit i: component
// i), then id and name.
constexpr std::int32_t kRecordSetupType = 23;
// Condition: two u32 masks, components and tasks. The shortcut, registry, INI, association,
// program and DLL-call records after it are kept only when the selection meets it (see
// choiceConditionMet); a condition of two zero masks holds always. Every walk of the script
// starts without a condition.
constexpr std::int32_t kRecordCondition = 24;
// One byte: what the run does with programs that hold files it replaces or removes
// (kCloseApplications*). Without it, and in engines that predate it, the wizard asks.
constexpr std::int32_t kRecordCloseApplications = 25;
constexpr std::int32_t kFirstRecordType = kRecordVariable;
constexpr std::int32_t kLastRecordType = kRecordCloseApplications;

// The close-applications record's values.
constexpr std::uint8_t kCloseApplicationsAsk = 0;    // the wizard asks; a quiet run leaves them
constexpr std::uint8_t kCloseApplicationsNever = 1;  // left running: their files wait
constexpr std::uint8_t kCloseApplicationsForce = 2;  // closed without a question, ended if need be

// Components and tasks: at most this many of each (their masks are 32 bits), and of setup types.
constexpr int kChoiceLimit = 32;
constexpr int kSetupTypeLimit = 16;
constexpr std::uint8_t kChoiceDefault = 0x01;  // selected unless something chooses otherwise
constexpr std::uint8_t kChoiceFixed = 0x02;    // a component always installed
// A setup type that stands for the person's own choice: the components page shows it whenever
// the ticked boxes are no other type's, and choosing it keeps them as they are.
constexpr std::uint8_t kSetupTypeCustom = 0x01;

// The scope record's values.
constexpr std::uint8_t kScopeMachine = 0;  // for every user: the machine's folders and keys
constexpr std::uint8_t kScopeUser = 1;     // for the current user alone, without administrators
constexpr std::uint8_t kScopeChoose = 2;   // the person or the command line chooses

// The architecture record's values. A value this engine does not know is refused as a product it
// cannot install, never taken for x86.
constexpr std::uint8_t kArchitectureX86 = 0;
constexpr std::uint8_t kArchitectureX64 = 1;
constexpr std::uint8_t kArchitectureArm64 = 2;
constexpr std::uint8_t kArchitectureUnreadable = 0xFF;  // a record without its byte

constexpr std::size_t kRecordHeaderSize = 8;  // type and length
constexpr std::size_t kEndRecordSize = 4;     // the end record has no length field

// Record type 2: exactly this many bytes are read, one per wizard page.
constexpr std::size_t kPageFlagsSize = 12;

// The wizard pages by their slots: the byte of the page flags and the text table of the page.
// Slot 12 holds the uninstaller's texts.
// The button labels' item that holds the text of the wizard's lower left corner where the
// script hides the engine's name and link (the settings' link flag); empty: nothing is shown.
constexpr int kMakerTextItem = 11;

constexpr int kPageLanguage = 0;
constexpr int kPageWelcome = 1;
constexpr int kPageLicense = 2;
constexpr int kPageReadme = 3;
constexpr int kPageComponents = 4;  // the parts to install
constexpr int kPageScope = 5;       // for whom to install: a product that lets one choose
constexpr int kPageDestination = 6;
constexpr int kPageTasks = 7;  // what setup does besides copying files
constexpr int kPageStartMenu = 8;
constexpr int kPageReady = 9;
constexpr int kPageInstalling = 10;
constexpr int kPageFinish = 11;
// The programs in use: a page outside the sequence, before the Installing page; its template is
// kFilesInUseDialogId (plus the layout's offset).
constexpr int kPageFilesInUse = 13;
constexpr int kFilesInUseDialogId = 143;

// Record type 5: 16-bit language, 8-bit table code, 8-bit item, then the text. Table codes
// 0 to 13 are the page slots; these three are the message tables.
constexpr std::uint8_t kTableSetupMessages = 0x60;
constexpr std::uint8_t kTableErrorMessages = 0x70;
constexpr std::uint8_t kTableButtonLabels = 0x80;
constexpr std::size_t kTextRecordHeaderSize = 4;

// Settings record (type 9), in payload order: short product name, product name, normal-font
// field (strings); page colour, frame colour (32-bit colour values); title-font
// field (string); header colour (32-bit); look flags (8 bits); previous install
// location, open-after-setup file, run-after-setup program (strings); style flags, link flag
// (8 bits each).
constexpr std::uint8_t kLookFullColorWelcome = 0x01;
constexpr std::uint8_t kLookCaptionedBackground = 0x02;
constexpr std::uint8_t kStyleCompactLayout = 0x01;
constexpr std::uint8_t kStyleAllowGroupChoice = 0x02;
constexpr std::uint8_t kStyleAllowDesktopChoice = 0x04;
constexpr std::uint8_t kStyleAllowQuickLaunchChoice = 0x08;
constexpr std::uint8_t kStyleRestart = 0x10;
constexpr std::uint8_t kStyleCreateUninstaller = 0x20;

// Action groups of records 13 and 14.
constexpr int kActionGroupUninstall = -1;
constexpr int kActionGroupStart = 0;      // before the wizard
constexpr int kActionGroupFirstPage = 1;  // after wizard page 0; group 1 + n after page n
constexpr int kActionGroupLastPage = 10;  // after wizard page 9
constexpr int kActionGroupAfterInstall = 11;
constexpr int kActionGroupAfterFinish = 12;
constexpr int kActionGroupLast = 12;
constexpr int kActionGroupDefault = kActionGroupAfterInstall;  // an empty group field

// The group that runs when the wizard leaves its page `page` (0..9) forwards.
constexpr int actionGroupAfterPage(int page) {
    return kActionGroupFirstPage + page;
}

// An RGB number (0xRRGGBB) as a colour value (red in the low byte): the lowest and the third
// byte change places, the others stay.
constexpr std::uint32_t rgbNumberToColor(std::uint32_t rgb) {
    return (rgb & 0xFF00FF00u) | ((rgb & 0xFFu) << 16) | ((rgb >> 16) & 0xFFu);
}

// One record of the script. The payload points into the script block.
struct ScriptRecord {
    std::int32_t type = 0;
    std::uint32_t length = 0;
    const unsigned char* payload = nullptr;
};

// Walks the records of a script block without ever reading outside it.
class RecordCursor {
  public:
    RecordCursor(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    // The next record. False at the end record, at the end of the block, and at a record whose
    // header or payload would run past the block (the walk stops there for good).
    bool next(ScriptRecord& record);
    // True once the walk has met the end record (not merely the end of the block).
    bool reachedEndRecord() const { return endRecord_; }

  private:
    const unsigned char* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
    bool stopped_ = false;
    bool endRecord_ = false;
};

// True when the records of the block, walked as RecordCursor does, end with the end record: a
// script cut short or damaged in its framing is refused before any record is applied.
bool scriptIsWhole(const unsigned char* data, std::size_t size);

// The architecture record's value (the last one's, as the records apply in order), or
// kArchitectureX86 when the script has none, kArchitectureUnreadable when it has no byte. Read
// before the other records: the product's architecture decides where their paths lead.
std::uint8_t scriptArchitecture(const unsigned char* data, std::size_t size);

// The last record of the type in the script, as RecordCursor walks it; false when it has none.
bool lastRecordOfType(const unsigned char* data, std::size_t size, std::int32_t type,
                      ScriptRecord& found);

// Deflate codes a match of at most 258 bytes in no fewer than two bits, so no stream inflates to
// more than 1032 times its size. A script size beyond that for the compressed bytes the file
// holds is a damaged field: it is refused before memory is taken for it, on 32-bit and 64-bit
// builds alike.
constexpr std::uint64_t kMostInflatedPerCompressedByte = 1032;
constexpr bool scriptSizeIsPossible(std::uint32_t inflatedSize, std::uint64_t compressedBytes) {
    return inflatedSize <= compressedBytes * kMostInflatedPerCompressedByte;
}

// Reads the fields of one payload in order; every read checks the remaining length first. A
// failed read consumes nothing and leaves the output untouched.
class PayloadReader {
  public:
    PayloadReader(const unsigned char* payload, std::size_t length)
        : data_(payload), length_(payload ? length : 0) {}

    bool readU8(std::uint8_t& value);
    bool readU16(std::uint16_t& value);
    bool readU32(std::uint32_t& value);
    // A NUL-terminated string; `text` points into the payload. A string whose terminator is
    // not inside the payload is damaged: the read fails, so no consumer ever reads past it.
    bool readString(const char*& text);
    std::size_t remaining() const { return length_ - offset_; }

  private:
    const unsigned char* data_;
    std::size_t length_;
    std::size_t offset_ = 0;
};

// The settings record's payload (kRecordSettings), its fields in their order: what the builder
// writes (ScriptWriter::settings, which writes a null text as an empty one) and the engine
// reads. The texts point into the payload when read, and are the writer's when written.
struct SettingsRecord {
    const char* shortName = nullptr;
    const char* productName = nullptr;
    const char* normalFont = nullptr;  // "face,colour"
    std::uint32_t pageColor = 0;
    std::uint32_t frameColor = 0;
    const char* titleFont = nullptr;  // "face,colour"
    std::uint32_t headerColor = 0;
    std::uint8_t lookFlags = 0;
    const char* previousLocation = nullptr;  // "root,subkey,value name"
    const char* viewFile = nullptr;
    const char* runProgram = nullptr;
    std::uint8_t styleFlags = 0;
    std::uint8_t linkFlag = 0;

    // Reads every field from a settings payload. False when the payload ends early or a text
    // is not terminated inside it; the fields read so far are then set.
    bool read(PayloadReader& reader);
};

}  // namespace kelvara
