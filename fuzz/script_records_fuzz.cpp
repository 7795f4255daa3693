// The setup script from bytes: the record walk, each record decoded, written again with the
// builder's writer and decoded once more (the same fields must come back), every record applied
// to the script's configuration, and the stored entries read as the install phases read them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "environment/product_architecture.h"
#include "environment/requirements.h"
#include "environment/run_environment.h"
#include "formats/choices.h"
#include "formats/languages.h"
#include "formats/script_format.h"
#include "formats/script_writer.h"
#include "formats/variables.h"
#include "fuzz_support.h"
#include "install/config_records.h"
#include "install/registry_data.h"
#include "install/shortcut_record.h"
#include "runtime/byte_order.h"
#include "runtime/heap_string.h"
#include "runtime/path_helpers.h"
#include "runtime/text_utils.h"
#include "setup/script_records.h"
#include "worker/action_records.h"

using namespace kelvara;

namespace {

// One record's fields in payload order: its strings and its numbers, flags as 0 or 1 (the way
// the writer stores them).
struct DecodedRecord {
    std::int32_t type = 0;
    std::vector<std::string> texts;
    std::vector<std::uint32_t> numbers;
    bool operator==(const DecodedRecord&) const = default;
};

class FieldReader {
  public:
    explicit FieldReader(const ScriptRecord& record) : reader_(record.payload, record.length) {}
    bool text(DecodedRecord& out) {
        const char* value;
        if (!reader_.readString(value)) return false;
        out.texts.emplace_back(value);
        return true;
    }
    bool u8(DecodedRecord& out, bool flag = false) {
        std::uint8_t value;
        if (!reader_.readU8(value)) return false;
        out.numbers.push_back(flag ? value != 0 : value);
        return true;
    }
    bool u16(DecodedRecord& out) {
        std::uint16_t value;
        if (!reader_.readU16(value)) return false;
        out.numbers.push_back(value);
        return true;
    }
    bool u32(DecodedRecord& out) {
        std::uint32_t value;
        if (!reader_.readU32(value)) return false;
        out.numbers.push_back(value);
        return true;
    }
    std::size_t remaining() const { return reader_.remaining(); }

  private:
    PayloadReader reader_;
};

bool isStringRecord(std::int32_t type) {
    switch (type) {
        case kRecordLicense:
        case kRecordReadme:
        case kRecordShortcut:
        case kRecordRegistry:
        case kRecordIni:
        case kRecordRunProgram:
        case kRecordCallDll:
        case kRecordAssociation:
        case kRecordBackgroundLine:
            return true;
        default:
            return false;
    }
}

// The fields of a record of the format; nothing for a damaged payload or another type.
std::optional<DecodedRecord> decode(const ScriptRecord& record) {
    DecodedRecord d;
    d.type = record.type;
    FieldReader r(record);
    bool ok = false;
    switch (record.type) {
        case kRecordVariable:
            ok = r.text(d) && r.text(d);
            break;
        case kRecordPageFlags:
            ok = r.remaining() >= kPageFlagsSize;
            for (std::size_t i = 0; ok && i < kPageFlagsSize; ++i) r.u8(d, true);
            break;
        case kRecordText:
            ok = r.u16(d) && r.u8(d) && r.u8(d) && r.text(d);
            break;
        case kRecordLanguages:
            ok = r.u8(d, true);
            while (ok && r.u16(d)) {
            }
            break;
        case kRecordBackground:
            ok = r.u32(d) && r.u32(d);
            break;
        case kRecordAccentColor:
            ok = r.u32(d);
            break;
        case kRecordSettings:
            ok = r.text(d) && r.text(d) && r.text(d) && r.u32(d) && r.u32(d) && r.text(d) &&
                 r.u32(d) && r.u8(d) && r.text(d) && r.text(d) && r.text(d) && r.u8(d) && r.u8(d);
            break;
        case kRecordRequirements:
            ok = r.text(d) && r.text(d) && r.text(d) && r.text(d) && r.u8(d, true);
            break;
        case kRecordProductDetails:
            ok = r.text(d) && r.text(d) && r.text(d) && r.text(d);
            // The downgrade byte: written, as 1, only when a downgrade is allowed.
            if (ok && r.remaining() > 0) {
                ok = r.u8(d) && d.numbers.back() == 1;
            } else {
                d.numbers.push_back(0);
            }
            break;
        case kRecordArchitecture:
            ok = r.u8(d);
            break;
        case kRecordComponent:
            ok = r.u8(d) && r.u8(d) && r.u32(d) && r.text(d) && r.text(d) && r.text(d);
            break;
        case kRecordTask:
            ok = r.u8(d) && r.u8(d) && r.text(d) && r.text(d) && r.text(d);
            break;
        case kRecordSetupType:
            ok = r.u8(d) && r.u32(d) && r.text(d) && r.text(d);
            break;
        case kRecordCondition:
            ok = r.u32(d) && r.u32(d);
            break;
        default:
            ok = isStringRecord(record.type) && r.text(d);
            break;
    }
    if (!ok) return std::nullopt;
    return d;
}

class VectorSink : public ByteSink {
  public:
    bool append(const void* bytes, std::size_t size) override {
        const auto* b = static_cast<const unsigned char*>(bytes);
        data.insert(data.end(), b, b + size);
        return true;
    }
    std::vector<unsigned char> data;
};

void encode(const DecodedRecord& d, ScriptWriter& w) {
    const auto& t = d.texts;
    const auto& n = d.numbers;
    switch (d.type) {
        case kRecordVariable:
            w.variable(t[0].c_str(), t[1].c_str());
            break;
        case kRecordPageFlags: {
            std::uint8_t flags[kPageFlagsSize];
            for (std::size_t i = 0; i < kPageFlagsSize; ++i) flags[i] = n[i] ? 1 : 0;
            w.pageFlags(flags);
            break;
        }
        case kRecordText:
            w.text(n[0], n[1], n[2], t[0].c_str());
            break;
        case kRecordLanguages: {
            std::vector<std::uint16_t> numbers(n.begin() + 1, n.end());
            w.languages(n[0] != 0, numbers.data(), numbers.size());
            break;
        }
        case kRecordBackground:
            w.background(n[0], n[1]);
            break;
        case kRecordAccentColor:
            w.accentColor(n[0]);
            break;
        case kRecordSettings: {
            SettingsRecord s;
            s.shortName = t[0].c_str();
            s.productName = t[1].c_str();
            s.normalFont = t[2].c_str();
            s.pageColor = n[0];
            s.frameColor = n[1];
            s.titleFont = t[3].c_str();
            s.headerColor = n[2];
            s.lookFlags = static_cast<std::uint8_t>(n[3]);
            s.previousLocation = t[4].c_str();
            s.viewFile = t[5].c_str();
            s.runProgram = t[6].c_str();
            s.styleFlags = static_cast<std::uint8_t>(n[4]);
            s.linkFlag = static_cast<std::uint8_t>(n[5]);
            w.settings(s);
            break;
        }
        case kRecordRequirements:
            w.requirements(t[0].c_str(), t[1].c_str(), t[2].c_str(), t[3].c_str(), n[0] != 0);
            break;
        case kRecordProductDetails:
            w.productDetails(n[0] != 0, t[0].c_str(), t[1].c_str(), t[2].c_str(), t[3].c_str());
            break;
        case kRecordArchitecture:
            w.byteRecord(d.type, static_cast<std::uint8_t>(n[0]));
            break;
        case kRecordComponent:
            w.component(static_cast<std::uint8_t>(n[0]), static_cast<std::uint8_t>(n[1]), n[2],
                        t[0].c_str(), t[1].c_str(), t[2].c_str());
            break;
        case kRecordTask:
            w.task(static_cast<std::uint8_t>(n[0]), static_cast<std::uint8_t>(n[1]), t[0].c_str(),
                   t[1].c_str(), t[2].c_str());
            break;
        case kRecordSetupType:
            w.setupType(static_cast<std::uint8_t>(n[0]), n[1], t[0].c_str(), t[1].c_str());
            break;
        case kRecordCondition:
            w.condition(n[0], n[1]);
            break;
        default:
            w.stringRecord(d.type, t[0].c_str());
            break;
    }
}

// Walks a script; every record lies inside the block, one after the other.
std::vector<ScriptRecord> walk(const unsigned char* data, std::size_t size, bool* endRecord) {
    std::vector<ScriptRecord> records;
    RecordCursor cursor(data, size);
    ScriptRecord record;
    const unsigned char* next = data;
    while (cursor.next(record)) {
        FUZZ_CHECK(record.type != kRecordEnd);
        FUZZ_CHECK(record.payload == next + kRecordHeaderSize);
        FUZZ_CHECK(record.length <= size - (record.payload - data));
        FUZZ_CHECK(readLe32(next) == static_cast<std::uint32_t>(record.type));
        next = record.payload + record.length;
        records.push_back(record);
    }
    FUZZ_CHECK(!cursor.next(record));  // the walk stops for good
    *endRecord = cursor.reachedEndRecord();
    // The end record is where the walk stopped; the end of the block otherwise (or a record
    // that did not fit).
    if (*endRecord) {
        FUZZ_CHECK(next + kEndRecordSize <= data + size && readLe32(next) == 0xFFFFFFFFu);
    }
    return records;
}

// --- the platform the records see ---

bool fontInstalled(const char* face) {
    FUZZ_CHECK(face && std::strlen(face) < sizeof setupState.normalFontFace);
    return (std::strlen(face) & 1) == 0;  // half the faces are installed
}

char* readRegistryText(int root, const char* subkey, const char* valueName) {
    FUZZ_CHECK(root >= 0 && root <= 6 && subkey && valueName);
    if (*valueName == '\0') return nullptr;
    return strConcat5("C:\\Previous\\", subkey);
}

int userLanguage() {
    return 7;
}

const RecordPlatform kPlatform = {fontInstalled, readRegistryText, userLanguage};

// --- the configuration after the records ---

int countOf(const std::vector<DecodedRecord>& records, std::int32_t type) {
    int n = 0;
    for (const DecodedRecord& d : records) n += d.type == type;
    return n;
}

const DecodedRecord* lastOf(const std::vector<DecodedRecord>& records, std::int32_t type) {
    const DecodedRecord* last = nullptr;
    for (const DecodedRecord& d : records) {
        if (d.type == type) last = &d;
    }
    return last;
}

// The entries of `type` the final selection keeps: each whole one after a condition it meets
// (none at the start of the walk; a condition too short for its masks meets no selection).
int keptCount(const std::vector<ScriptRecord>& records, std::int32_t type) {
    std::uint32_t components = 0, tasks = 0;
    bool unreadable = false;
    int n = 0;
    for (const ScriptRecord& record : records) {
        if (record.type == kRecordCondition) {
            PayloadReader reader(record.payload, record.length);
            unreadable = !reader.readU32(components) || !reader.readU32(tasks);
        } else if (record.type == type) {
            PayloadReader reader(record.payload, record.length);
            const char* text;
            n += reader.readString(text) && !unreadable &&
                 choiceConditionMet(setupState.choices, components, tasks);
        }
    }
    return n;
}

// The selection keeps its rules whatever the records said, and reads back from what it saves.
void checkChoices() {
    Choices& c = setupState.choices;
    FUZZ_CHECK(c.componentCount >= 0 && c.componentCount <= kChoiceLimit);
    FUZZ_CHECK(c.taskCount >= 0 && c.taskCount <= kChoiceLimit);
    FUZZ_CHECK(c.setupTypeCount >= 0 && c.setupTypeCount <= kSetupTypeLimit);
    const std::uint32_t all = c.componentCount == 32 ? ~0u : choiceBit(c.componentCount) - 1;
    for (int i = 0; i < c.componentCount; ++i) {
        FUZZ_CHECK(c.componentParent[i] <= i);
        if (!(c.components & choiceBit(i)) || c.componentParent[i] == 0) continue;
        FUZZ_CHECK(c.components & choiceBit(c.componentParent[i] - 1));
    }
    FUZZ_CHECK((c.components & ~all) == 0);
    const std::uint32_t components = c.components, tasks = c.tasks;
    HeapString savedComponents(formatChoiceList(c, false));
    HeapString savedTasks(formatChoiceList(c, true));
    FUZZ_CHECK(savedComponents && savedTasks);
    // Read back over the opposite selection, what a run saved gives that run's selection (where
    // two ids are the same ignoring case, the first stands for both: no such round trip).
    const std::uint32_t allTasks = c.taskCount == 32 ? ~0u : choiceBit(c.taskCount) - 1;
    c.components = ~components & all;
    c.tasks = ~tasks & allTasks;
    FUZZ_CHECK(applyChoiceList(c, savedComponents.get(), false, nullptr, 0));
    FUZZ_CHECK(applyChoiceList(c, savedTasks.get(), true, nullptr, 0));
    bool uniqueIds = true;
    for (const StringList* ids : {&c.componentIds, &c.taskIds}) {
        for (int i = 0; i < ids->count(); ++i) {
            const char* id = ids->get(i);
            uniqueIds = uniqueIds && id && *id && std::strlen(id) < 255 &&
                        !std::strpbrk(id, ", \t!") && ids->find(id, 0, 0) == i;
        }
    }
    if (uniqueIds) FUZZ_CHECK(c.components == components && c.tasks == tasks);
    c.components = components;
    c.tasks = tasks;
}

void checkAppliedState(const std::vector<DecodedRecord>& records,
                       const std::vector<ScriptRecord>& raw) {
    const SetupState& s = setupState;
    FUZZ_CHECK(s.variableNames.count() == s.variableValues.count());
    const int variables = countOf(records, kRecordVariable);
    FUZZ_CHECK(s.variableNames.count() >= variables &&
               s.variableNames.count() <= variables + countOf(records, kRecordSettings));
    FUZZ_CHECK(std::memchr(s.normalFontFace, 0, sizeof s.normalFontFace));
    FUZZ_CHECK(std::memchr(s.titleFontFace, 0, sizeof s.titleFontFace));
    FUZZ_CHECK(s.dialogSetOffset == kStandardLayout || s.dialogSetOffset == kCompactLayout);
    FUZZ_CHECK(s.languageCount >= 0 && s.languageCount <= kLastLanguage);
    for (int i = 0; i < s.languageCount; ++i) FUZZ_CHECK(isLanguageNumber(s.languageList[i]));
    FUZZ_CHECK(isLanguageNumber(s.currentLanguage));
    // Records whose string is stored as it is, or with its folder tokens expanded, one entry each.
    // The entry records keep those their conditions let through.
    FUZZ_CHECK(s.shortcutEntries.count() == keptCount(raw, kRecordShortcut));
    FUZZ_CHECK(s.registryEntries.count() == keptCount(raw, kRecordRegistry));
    FUZZ_CHECK(s.iniEntries.count() == keptCount(raw, kRecordIni));
    FUZZ_CHECK(s.associationEntries.count() == keptCount(raw, kRecordAssociation));
    FUZZ_CHECK(s.backgroundLines.count() == countOf(records, kRecordBackgroundLine));
    if (const DecodedRecord* licence = lastOf(records, kRecordLicense)) {
        FUZZ_CHECK(s.licenseText.get() && licence->texts[0] == s.licenseText.get());
    }
    if (const DecodedRecord* settings = lastOf(records, kRecordSettings)) {
        FUZZ_CHECK(s.productName.get() && settings->texts[1] == s.productName.get());
        FUZZ_CHECK(s.setupCaption.get() && settings->texts[1] + " Setup" == s.setupCaption.get());
        FUZZ_CHECK(s.finishViewEnabled == (s.finishViewFile.get() && *s.finishViewFile.get()));
    }
    FUZZ_CHECK(s.backgroundEnabled == (countOf(records, kRecordBackground) > 0));
}

// The parts of the configuration that the records with folder tokens make, one text per item.
std::vector<std::string> scopedConfiguration() {
    const SetupState& s = setupState;
    std::vector<std::string> items;
    int lists = 0;
    auto add = [&items, &lists](const StringList& list) {
        ++lists;
        if (list.count() == 0) return;  // an empty list says nothing: its number suffices
        items.push_back("list " + std::to_string(lists) + ": " + std::to_string(list.count()));
        for (int i = 0; i < list.count(); ++i) items.push_back(list.get(i) ? list.get(i) : "-");
    };
    for (const StringList* list :
         {&s.variableNames, &s.variableValues, &s.registryEntries, &s.iniEntries,
          &s.associationEntries, &s.uninstallPrograms, &s.uninstallDllCalls, &s.groupZeroPrograms,
          &s.groupZeroDllCalls}) {
        add(*list);
    }
    for (const PageSlot& slot : s.pageSlots) {
        add(slot.runPrograms);
        add(slot.dllCalls);
        for (const StringList& texts : slot.texts) add(texts);
    }
    items.push_back(s.finishRunProgram.get() ? s.finishRunProgram.get() : "-");
    items.push_back(s.finishViewFile.get() ? s.finishViewFile.get() : "-");
    return items;
}

// An action list's stored form has the record's fields without the group field, one comma
// between each: so it splits back into exactly that many fields, or one fewer when the last one
// was empty (left out, with its comma).
void checkStoredActions(const StringList& list, int fields) {
    for (int i = 0; i < list.count(); ++i) {
        const char* item = list.get(i);
        FUZZ_CHECK(item);
        int commas = 0;
        for (const char* c = item; *c; ++c) commas += *c == ',';
        FUZZ_CHECK(commas == fields - 2 || commas == fields - 3);
    }
}

// --- the install phases' reading of the stored entries ---

std::vector<unsigned char> expectedBinary(const char* text) {
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    std::vector<unsigned char> bytes;
    for (std::size_t i = 0; digit(text[i]) >= 0; i += 2) {
        int low = digit(text[i + 1]);
        bytes.push_back(static_cast<unsigned char>(digit(text[i]) << 4 | (low < 0 ? 0 : low)));
        if (low < 0) break;
    }
    return bytes;
}

void readRegistryEntry(const char* entry) {
    RecordFields fields;
    if (!fields.read(entry)) return;
    FUZZ_CHECK(recordRootNumber(fields.get(kRegistryRootField)) < 0x80000000u);
    char* key = fields.edit(kRegistryKeyField);
    char* normalized = normalizeKeyPath(key);
    FUZZ_CHECK(normalized == key || normalized == key + 1);
    const std::uint32_t type = registryValueType(fields.get(kRegistryTypeField));
    FUZZ_CHECK(type != 0);
    const char* text = fields.get(kRegistryDataField);
    const std::size_t length = std::strlen(text);
    RegistryData data;
    DataResult result = data.convert(type, text);
    if (result != DataResult::converted) {
        FUZZ_CHECK(result == DataResult::unknownType && type != kRegString &&
                   type != kRegExpandString && type != kRegBinary && type != kRegDword &&
                   type != kRegMultiString);
        return;
    }
    FUZZ_CHECK(data.bytes());
    switch (type) {
        case kRegString:
        case kRegExpandString:
            FUZZ_CHECK(data.size() == length + 1 &&
                       std::memcmp(data.bytes(), text, length + 1) == 0);
            break;
        case kRegMultiString:
            FUZZ_CHECK(data.size() == length + 2 && data.bytes()[length] == 0 &&
                       data.bytes()[length + 1] == 0);
            for (std::size_t i = 0; i < length; ++i) {
                FUZZ_CHECK(data.bytes()[i] ==
                           (text[i] == '|' ? 0 : static_cast<unsigned char>(text[i])));
            }
            break;
        case kRegDword:
            FUZZ_CHECK(data.size() == 4 &&
                       readLe32(data.bytes()) == static_cast<std::uint32_t>(parseNumber(text)));
            break;
        default: {
            std::vector<unsigned char> expected = expectedBinary(text);
            FUZZ_CHECK(data.size() == expected.size() &&
                       std::equal(expected.begin(), expected.end(), data.bytes()));
            break;
        }
    }
}

void readIniEntry(const char* entry) {
    RecordFields fields;
    if (!fields.read(entry)) return;
    const char* file = fields.get(kIniFileField);
    iniAppendFlag(fields.get(kIniAppendField));
    HeapString location(iniFileLocation(file, "C:\\WINDOWS"));
    FUZZ_CHECK(location);
    if (iniPlace(file) == IniPlace::windowsFolder) {
        HeapString expected(joinFolderName("C:\\WINDOWS", file));
        FUZZ_CHECK(std::strcmp(location.get(), expected.get()) == 0);
        FUZZ_CHECK(!iniFileLocation(file, ""));
    } else {
        FUZZ_CHECK(std::strcmp(location.get(), file) == 0);
    }
}

void readAssociation(const char* entry) {
    RecordFields fields;
    if (!fields.read(entry)) return;
    const char* icon = fields.get(kAssociationIcon);
    HeapString location(iconLocation(icon, fields.get(kAssociationIconIndex)));
    char index[16];
    std::snprintf(index, sizeof index, ",%d", parseNumber(fields.get(kAssociationIconIndex)));
    FUZZ_CHECK(location && std::string(icon) + index == location.get());
}

void readShortcut(const char* entry) {
    // Turning a choice off never makes a record wanted.
    for (int mask = 0; mask < 8; ++mask) {
        ShortcutChoices choices{(mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0};
        if (shortcutWanted(entry, choices)) FUZZ_CHECK(shortcutWanted(entry, ShortcutChoices{}));
        if (!shortcutWanted(entry, choices))
            FUZZ_CHECK(!shortcutWanted(entry, {false, false, false}));
    }
    HeapString expanded(expandShortcutRecord(entry));
    FUZZ_CHECK(expanded);
    ShortcutRecord record;
    if (!readShortcutRecord(expanded.get(), "C:\\App", record)) return;
    FUZZ_CHECK(record.fields.count() == kFieldCount && record.workingFolder);
    const char* link = record.linkPath();
    HeapString folder(linkFolder(link));
    FUZZ_CHECK(!folder == !std::strchr(link, '\\'));
    if (folder) FUZZ_CHECK(std::strncmp(link, folder.get(), std::strlen(folder.get())) == 0);
    if (isFullLinkPath(link)) FUZZ_CHECK(folder && *fileNamePart(link));
}

void readActions(const StringList& list, bool program) {
    for (int i = 0; i < list.count(); ++i) {
        HeapString expanded(expandVariables(list.get(i)));
        FUZZ_CHECK(expanded);
        StringList fields;
        splitFields(expanded.get(), false, fields);
        FUZZ_CHECK(fields.count() == kFieldCount);
        if (program) {
            ProgramRecord record = readProgramRecord(fields);
            HeapString line(programCommandLine(record.program, record.arguments));
            FUZZ_CHECK(line &&
                       "\"" + std::string(record.program) + "\" " + record.arguments == line.get());
            HeapString folder(trimmedWorkingFolder(record.workingFolder));
            const std::size_t length = std::strlen(record.workingFolder);
            FUZZ_CHECK(!folder == (length == 0));
            if (folder) {
                const std::size_t kept = std::strlen(folder.get());
                FUZZ_CHECK((kept == length || kept + 1 == length) &&
                           std::strncmp(folder.get(), record.workingFolder, kept) == 0);
            }
        } else {
            DllCallRecord record = readDllCallRecord(fields);
            FUZZ_CHECK(record.argumentCount == (!*record.first ? 0 : !*record.second ? 1 : 2));
            isRegistrationEntryPoint(record.function);
        }
    }
}

void readStoredEntries() {
    const SetupState& s = setupState;
    for (int i = 0; i < s.registryEntries.count(); ++i) readRegistryEntry(s.registryEntries.get(i));
    for (int i = 0; i < s.iniEntries.count(); ++i) readIniEntry(s.iniEntries.get(i));
    for (int i = 0; i < s.associationEntries.count(); ++i) {
        readAssociation(s.associationEntries.get(i));
    }
    for (int i = 0; i < s.shortcutEntries.count(); ++i) readShortcut(s.shortcutEntries.get(i));
    const StringList* programLists[] = {&s.groupZeroPrograms, &s.uninstallPrograms};
    const StringList* dllLists[] = {&s.groupZeroDllCalls, &s.uninstallDllCalls};
    for (const StringList* list : programLists) readActions(*list, true);
    for (const StringList* list : dllLists) readActions(*list, false);
    for (const PageSlot& slot : s.pageSlots) {
        readActions(slot.runPrograms, true);
        readActions(slot.dllCalls, false);
    }
    HeapString key(uninstallKeyPath(s.productShortName.get()));
    const char* name = s.productShortName.get() ? s.productShortName.get() : "";
    FUZZ_CHECK(!key == (!*name || std::strchr(name, '\\')));
    for (bool nt : {false, true}) {
        int result = checkRequirements(setupState, runEnvironment, nt);
        FUZZ_CHECK(result >= kRequirementsMet && result <= kArm64SystemMissing);
        const char* missing = nullptr;
        int message = requirementMessage(runEnvironment, result, &missing);
        FUZZ_CHECK((message < 0) == (result == kRequirementsMet));
        FUZZ_CHECK((missing != nullptr) == (result >= kWindowsTooOld && result <= kAccessTooOld));
        // A product the system cannot run is refused before any other requirement is asked.
        const bool runs =
            architectureRuns(setupState.architecture, runEnvironment.systemArchitecture,
                             runEnvironment.windowsVersion);
        FUZZ_CHECK(runs == (result != kX64SystemMissing && result != kArm64SystemMissing));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FreshSetupState run;
    bool endRecord = false;
    std::vector<ScriptRecord> records = walk(data, size, &endRecord);

    // Decode, write with the builder's writer, walk and decode again: the same fields.
    std::vector<DecodedRecord> decoded;
    for (const ScriptRecord& record : records) {
        if (std::optional<DecodedRecord> d = decode(record)) decoded.push_back(*d);
    }
    VectorSink sink;
    ScriptWriter writer(sink);
    for (const DecodedRecord& d : decoded) encode(d, writer);
    writer.end();
    FUZZ_CHECK(writer.ok());
    bool rewrittenEnd = false;
    std::vector<ScriptRecord> rewritten = walk(sink.data.data(), sink.data.size(), &rewrittenEnd);
    FUZZ_CHECK(rewrittenEnd && rewritten.size() == decoded.size());
    for (std::size_t i = 0; i < rewritten.size(); ++i) {
        std::optional<DecodedRecord> again = decode(rewritten[i]);
        FUZZ_CHECK(again && *again == decoded[i]);
    }

    FUZZ_CHECK(applyScript(data, size, kPlatform) == endRecord);
    // The architecture the engine reads ahead of the records is the one they leave applied.
    FUZZ_CHECK(setupState.architecture == scriptArchitecture(data, size));
    // As a run does once it has chosen: the entries of the final selection.
    checkChoices();
    reapplyChosenRecords(data, size, kPlatform);
    checkAppliedState(decoded, records);
    checkStoredActions(setupState.groupZeroPrograms, 8);
    checkStoredActions(setupState.uninstallPrograms, 8);
    checkStoredActions(setupState.groupZeroDllCalls, 6);
    checkStoredActions(setupState.uninstallDllCalls, 6);
    for (const PageSlot& slot : setupState.pageSlots) {
        checkStoredActions(slot.runPrograms, 8);
        checkStoredActions(slot.dllCalls, 6);
    }
    readStoredEntries();

    // Applied again for the same scope, the records that expand folder tokens give the same
    // configuration: their lists are not doubled, each variable keeps its first definition.
    const std::vector<std::string> before = scopedConfiguration();
    reapplyScopedRecords(data, size, kPlatform);
    FUZZ_CHECK(scopedConfiguration() == before);
    return 0;
}
