#include "kelvara-build/cli/dump.h"

#include <iterator>
#include <cstdio>
#include <ostream>
#include <sstream>

#include "formats/color_values.h"
#include "formats/package_format.h"
#include "kelvara-build/common/file_bytes.h"
#include "kelvara-build/common/text_conversion.h"
#include "kelvara-build/image/image_decoder.h"
#include "kelvara-build/image/stub_edition.h"
#include "kelvara-build/project/project_names.h"

namespace kelvara::build {
namespace {

std::string hex(std::uint64_t value, int digits = 8) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%0*llX", digits, static_cast<unsigned long long>(value));
    return text;
}

std::string byteEscape(unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof text, "\\x%02X", byte);
    return text;
}

// A text of the image as the terminal shows it, which reads UTF-8: the classic edition's
// Windows-1252 converted, the Unicode edition's as it is. Control characters are escaped, so
// that what is printed is all text. `quote`: in double quotes, quotes and backslashes escaped.
std::string shown(const char* text, TextEncoding texts, bool quote) {
    std::string out = quote ? "\"" : "";
    const std::string bytes(text);
    for (std::size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= 0x80) {
            std::size_t length = 1;
            const long code = texts == TextEncoding::Utf8 ? decodeUtf8(bytes, i, length)
                                                          : windows1252CodePoint(byte);
            if (code < 0) {
                // A byte Windows-1252 leaves unused is escaped; one that is not UTF-8 stays as
                // it is (a script built for the Unicode edition has none).
                if (texts == TextEncoding::Utf8) {
                    out += static_cast<char>(byte);
                } else {
                    out += byteEscape(byte);
                }
                ++i;
            } else if (code < 0xA0) {  // a control character of the range above ASCII
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04lX", code);
                out += escape;
                i += length;
            } else {
                appendUtf8(out, static_cast<char32_t>(code));
                i += length;
            }
            continue;
        }
        ++i;
        switch (byte) {
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '"':
            case '\\':
                if (quote) out += '\\';
                out += static_cast<char>(byte);
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    out += byteEscape(byte);
                } else {
                    out += static_cast<char>(byte);
                }
        }
    }
    return quote ? out + "\"" : out;
}

std::string quoted(const char* text, TextEncoding texts) {
    return shown(text, texts, true);
}

std::string tableName(unsigned table) {
    if (const char* name = messageTableName(static_cast<int>(table))) return name;
    return "page " + std::to_string(table);
}

std::string colorValue(std::uint32_t value) {
    if (value & kColorSystemWindow) return "window";
    if (value & kColorSystemButtonFace) return "button-face";
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", value & 0xFF, (value >> 8) & 0xFF,
                  (value >> 16) & 0xFF);
    return text;
}

std::string rgbNumber(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "#%06X", value & 0xFFFFFF);
    return text;
}

const char* stringRecordName(std::int32_t type) {
    switch (type) {
        case kRecordLicense:
            return "licence";
        case kRecordReadme:
            return "readme";
        case kRecordShortcut:
            return "shortcut";
        case kRecordRegistry:
            return "registry";
        case kRecordIni:
            return "ini";
        case kRecordRunProgram:
            return "run";
        case kRecordCallDll:
            return "dll-call";
        case kRecordAssociation:
            return "association";
        case kRecordBackgroundLine:
            return "background-line";
        default:
            return nullptr;
    }
}

// The ids of the script's components and tasks by index, as the dump shows them.
struct ChoiceNames {
    std::vector<std::string> components, tasks;
    bool any() const { return !components.empty() || !tasks.empty(); }
};

// The parts of a mask by id, joined ("a or b"), a bit without a part as "#i".
std::string maskText(std::uint32_t mask, const std::vector<std::string>& ids,
                     const char* joint = " or ") {
    std::string text;
    for (int i = 0; i < 32; ++i) {
        if (!(mask & (std::uint32_t{1} << i))) continue;
        if (!text.empty()) text += joint;
        text += static_cast<std::size_t>(i) < ids.size() ? ids[i] : "#" + std::to_string(i);
    }
    return text;
}

// What a condition needs: "always", or "component a or b", "task t", joined with "and".
std::string conditionText(std::uint32_t components, std::uint32_t tasks, const ChoiceNames& names) {
    if (components == 0 && tasks == 0) return "always";
    std::string text;
    if (components != 0) text = "component " + maskText(components, names.components);
    if (components != 0 && tasks != 0) text += " and ";
    if (tasks != 0) text += "task " + maskText(tasks, names.tasks);
    return text;
}

std::string choiceFlags(std::uint8_t flags) {
    std::string text;
    if (flags & kChoiceDefault) text += " default";
    if (flags & kChoiceFixed) text += " fixed";
    if (flags & ~(kChoiceDefault | kChoiceFixed)) text += " flags=" + hex(flags, 2);
    return text;
}

// Records 21 to 24. Component and task records add their ids to `names`, which the condition
// records after them name their parts by.
bool describeChoice(const ScriptRecord& record, PayloadReader& r, ChoiceNames& names,
                    TextEncoding texts, std::ostringstream& out) {
    std::uint8_t flags, parent;
    std::uint32_t bytes, components, tasks;
    const char *id, *name, *description;
    switch (record.type) {
        case kRecordComponent:
            if (!r.readU8(flags) || !r.readU8(parent) || !r.readU32(bytes) || !r.readString(id) ||
                !r.readString(name) || !r.readString(description)) {
                return false;
            }
            out << "component " << names.components.size() << ' ' << shown(id, texts, false)
                << " name=" << quoted(name, texts) << " description=" << quoted(description, texts)
                << choiceFlags(flags) << " parent=";
            if (parent == 0) {
                out << "none";
            } else {
                out << (parent <= names.components.size() ? names.components[parent - 1]
                                                          : "#" + std::to_string(parent - 1));
            }
            out << " bytes=" << bytes;
            names.components.push_back(shown(id, texts, false));
            return true;
        case kRecordTask:
            if (!r.readU8(flags) || !r.readU8(parent) || !r.readString(id) || !r.readString(name) ||
                !r.readString(description)) {
                return false;
            }
            out << "task " << names.tasks.size() << ' ' << shown(id, texts, false)
                << " name=" << quoted(name, texts) << " description=" << quoted(description, texts)
                << choiceFlags(flags) << " group=" << int(parent);
            names.tasks.push_back(shown(id, texts, false));
            return true;
        case kRecordSetupType:
            if (!r.readU8(flags) || !r.readU32(components) || !r.readString(id) ||
                !r.readString(name)) {
                return false;
            }
            out << "setup-type " << shown(id, texts, false) << " name=" << quoted(name, texts)
                << " components="
                << (components ? maskText(components, names.components, ",") : "none");
            if (flags) out << " flags=" << hex(flags, 2);
            return true;
        case kRecordCondition:
            if (!r.readU32(components) || !r.readU32(tasks)) return false;
            out << "condition " << conditionText(components, tasks, names);
            return true;
        default:
            return false;
    }
}

bool describeSettings(PayloadReader& r, TextEncoding texts, std::ostringstream& out) {
    const char *shortName, *name, *normalFont, *titleFont, *previous, *view, *run;
    std::uint32_t pageColor, frameColor, headerColor;
    std::uint8_t look, style, link;
    if (!(r.readString(shortName) && r.readString(name) && r.readString(normalFont) &&
          r.readU32(pageColor) && r.readU32(frameColor) && r.readString(titleFont) &&
          r.readU32(headerColor) && r.readU8(look) && r.readString(previous) &&
          r.readString(view) && r.readString(run) && r.readU8(style) && r.readU8(link))) {
        return false;
    }
    out << "settings short-name=" << quoted(shortName, texts) << " name=" << quoted(name, texts)
        << " font=" << quoted(normalFont, texts) << " page=" << colorValue(pageColor)
        << " frame=" << colorValue(frameColor) << " title-font=" << quoted(titleFont, texts)
        << " header=" << colorValue(headerColor) << " look=" << hex(look, 2)
        << " previous-location=" << quoted(previous, texts) << " view=" << quoted(view, texts)
        << " run=" << quoted(run, texts) << " style=" << hex(style, 2) << " link=" << int(link);
    return true;
}

bool describePayload(const ScriptRecord& record, ChoiceNames& names, TextEncoding texts,
                     std::ostringstream& out) {
    PayloadReader r(record.payload, record.length);
    const char* a;
    const char* b;
    switch (record.type) {
        case kRecordComponent:
        case kRecordTask:
        case kRecordSetupType:
        case kRecordCondition:
            return describeChoice(record, r, names, texts, out);
        case kRecordVariable:
            if (!r.readString(a) || !r.readString(b)) return false;
            out << "variable " << shown(a, texts, false) << " = " << quoted(b, texts);
            return true;
        case kRecordPageFlags: {
            if (record.length < kPageFlagsSize) return false;
            out << "pages";
            for (std::size_t i = 0; i < kPageFlagsSize; ++i) {
                if (record.payload[i]) out << ' ' << i;
            }
            return true;
        }
        case kRecordText: {
            std::uint16_t language;
            std::uint8_t table, item;
            if (!r.readU16(language) || !r.readU8(table) || !r.readU8(item) || !r.readString(a)) {
                return false;
            }
            out << "text language " << language << ' ' << tableName(table) << " item " << int(item)
                << ": " << quoted(a, texts);
            return true;
        }
        case kRecordLanguages: {
            std::uint8_t autoSelect;
            if (!r.readU8(autoSelect)) return false;
            out << "languages auto-select=" << int(autoSelect);
            std::uint16_t number;
            while (r.readU16(number)) out << ' ' << number;
            return true;
        }
        case kRecordBackground: {
            std::uint32_t first, second;
            if (!r.readU32(first) || !r.readU32(second)) return false;
            out << "background " << rgbNumber(first) << " to " << rgbNumber(second);
            return true;
        }
        case kRecordAccentColor: {
            std::uint32_t color;
            if (!r.readU32(color)) return false;
            out << "accent-colour " << colorValue(color);
            return true;
        }
        case kRecordSettings:
            return describeSettings(r, texts, out);
        case kRecordProductDetails: {
            const char *version, *publisher, *aboutUrl, *helpUrl;
            if (!(r.readString(version) && r.readString(publisher) && r.readString(aboutUrl) &&
                  r.readString(helpUrl))) {
                return false;
            }
            out << "product version=" << quoted(version, texts)
                << " publisher=" << quoted(publisher, texts) << " url=" << quoted(aboutUrl, texts)
                << " help-url=" << quoted(helpUrl, texts);
            std::uint8_t allowDowngrade = 0;
            if (r.readU8(allowDowngrade) && allowDowngrade) out << " allow-downgrade";
            return true;
        }
        case kRecordArchitecture: {
            std::uint8_t value;
            if (!r.readU8(value)) return false;
            const char* shown = nullptr;
            for (const Named& name : kArchitectureNames) {
                if (name.value == value) shown = name.name;
            }
            out << "architecture ";
            if (shown) {
                out << shown;
            } else {
                out << int(value) << " (unknown)";
            }
            return true;
        }
        case kRecordScope: {
            std::uint8_t scope, choice;
            if (!r.readU8(scope) || !r.readU8(choice)) return false;
            auto nameOf = [](std::uint8_t value) -> std::string {
                for (const Named& name : kScopeNames) {
                    if (name.value == value) return name.name;
                }
                return std::to_string(value) + " (unknown)";
            };
            out << "scope " << nameOf(scope) << " default " << nameOf(choice);
            return true;
        }
        case kRecordCloseApplications: {
            std::uint8_t value;
            if (!r.readU8(value)) return false;
            std::string shown = std::to_string(value) + " (unknown)";
            for (const Named& name : kCloseApplicationsNames) {
                if (name.value == value) shown = name.name;
            }
            out << "close-applications " << shown;
            return true;
        }
        case kRecordRequirements: {
            const char *windows, *directX, *ie, *access;
            std::uint8_t admin;
            if (!(r.readString(windows) && r.readString(directX) && r.readString(ie) &&
                  r.readString(access) && r.readU8(admin))) {
                return false;
            }
            out << "requirements windows=" << quoted(windows, texts)
                << " directx=" << quoted(directX, texts) << " ie=" << quoted(ie, texts)
                << " access=" << quoted(access, texts) << " administrator=" << int(admin);
            return true;
        }
        default:
            break;
    }
    if (const char* name = stringRecordName(record.type)) {
        if (!r.readString(a)) return false;
        out << name << ' ';
        if (record.type == kRecordLicense || record.type == kRecordReadme) {
            out << std::char_traits<char>::length(a) << " characters";
        } else {
            out << quoted(a, texts);
        }
        return true;
    }
    out << "type " << record.type << " (not a record of the format, skipped), " << record.length
        << " bytes";
    return true;
}

// One record's line, written with `out`, which a caller describing many records reuses (a new
// stream per record costs more than the line).
std::string describeRecordWith(const ScriptRecord& record, ChoiceNames& names, TextEncoding texts,
                               std::ostringstream& out) {
    out.str(std::string());
    out.clear();
    if (!describePayload(record, names, texts, out)) {
        return "type " + std::to_string(record.type) + ": damaged payload of " +
               std::to_string(record.length) + " bytes (the engine leaves it out)";
    }
    return out.str();
}

}  // namespace

std::string describeRecord(const ScriptRecord& record, TextEncoding texts) {
    std::ostringstream out;
    ChoiceNames names;
    return describeRecordWith(record, names, texts, out);
}

std::vector<std::string> describeScript(const unsigned char* script, std::size_t size,
                                        TextEncoding texts) {
    std::vector<std::string> lines;
    RecordCursor cursor(script, size);
    ScriptRecord record;
    std::ostringstream out;
    ChoiceNames names;
    while (cursor.next(record)) lines.push_back(describeRecordWith(record, names, texts, out));
    lines.push_back(cursor.reachedEndRecord() ? "end" : "script stops without its end record");
    return lines;
}

namespace {

// The ids of the components and tasks the script declares, by index.
ChoiceNames choiceNamesOf(const std::vector<unsigned char>& script, TextEncoding texts) {
    ChoiceNames names;
    RecordCursor cursor(script.data(), script.size());
    ScriptRecord record;
    std::ostringstream ignored;
    while (cursor.next(record)) {
        PayloadReader r(record.payload, record.length);
        if (record.type == kRecordComponent || record.type == kRecordTask)
            describeChoice(record, r, names, texts, ignored);
    }
    return names;
}

void listEntries(const std::vector<unsigned char>& image, const DecodedImage& d, TextEncoding texts,
                 std::ostream& out, bool& damaged) {
    // An image with choices has a condition entry in every group: each group says what it needs.
    const ChoiceNames names = choiceNamesOf(d.script, texts);
    const std::size_t p = d.header.packageOffset;
    PackageInMemory package(image.data() + p, image.size() - p);
    PackageWalker walker(package, d.package.firstEntryOffset, d.package.scriptOffset);
    walker.includeBlocks();
    FileGroupHeader group;
    int groupNumber = 0;
    int blockNumber = 0;
    while (walker.nextGroup(group)) {
        auto name = [](const auto& names, std::uint32_t value) {
            return value < std::size(names) ? std::string(names[value]) : std::to_string(value);
        };
        out << "group " << groupNumber++ << ": target " << quoted(group.targetFolder, texts)
            << " overwrite " << name(kOverwriteModeNames, group.overwriteMode) << " decide "
            << name(kDecisionRuleNames, group.decisionRule) << (group.shared ? " shared" : "");
        if (names.any()) {
            out << ", installed "
                << conditionText(group.conditionComponents, group.conditionTasks, names);
        }
        out << '\n';
        PackageEntry entry;
        while (walker.nextEntry(entry)) {
            if (entry.isBlock()) {
                const BlockInfo& b = entry.block;
                out << "  block " << blockNumber++ << ": " << name(kBlockMethodNames, b.method)
                    << ", filter " << name(kBlockFilterNames, b.filter) << ", " << b.contentLength
                    << " bytes of content packed to " << b.packedLength << " bytes, dictionary "
                    << lzma2DictionarySize(b.property) << '\n';
                continue;
            }
            out << "  " << std::string(2 * entry.depth, ' ');
            if (!entry.isFile()) {
                out << shown(entry.name, texts, false) << "\\\n";
                continue;
            }
            const FileEntryInfo& f = entry.file;
            out << shown(entry.name, texts, false) << "  " << f.sizeLow << " bytes, ";
            if (entry.isInBlock()) {
                out << "in the blocks at " << entry.contentOffset;
            } else if (entry.isCompressed()) {
                out << "compressed to " << f.storedLength << " bytes";
            } else {
                out << "stored";
            }
            out << ", attributes " << hex(f.attributes, 2) << ", written "
                << hex(f.lastWriteTime, 16);
            if (f.versionMs || f.versionLs) {
                out << ", version " << (f.versionMs >> 16) << '.' << (f.versionMs & 0xFFFF) << '.'
                    << (f.versionLs >> 16) << '.' << (f.versionLs & 0xFFFF);
            }
            out << '\n';
        }
    }
    if (walker.damaged()) {
        out << "file groups damaged at package offset " << walker.offset() << '\n';
        damaged = true;
    }
}

}  // namespace

int dumpImage(const std::filesystem::path& path, std::ostream& out, std::ostream& err) {
    std::optional<std::vector<unsigned char>> image = readFileBytes(path);
    if (!image) {
        err << path.string() << ": cannot read the file\n";
        return 2;
    }
    DecodedImage d;
    std::string problem;
    bool decoded = decodeImage(*image, d, problem);
    // The stub is what comes before the package; a file without one is a stub itself.
    const std::size_t stubSize =
        d.header.packageOffset > 0 && d.header.packageOffset <= image->size()
            ? d.header.packageOffset
            : image->size();
    const TextEncoding texts = stubEncoding(image->data(), stubSize);
    out << "file: " << path.string() << ", " << image->size() << " bytes\n"
        << "edition: " << editionName(texts) << " (texts in " << encodingName(texts) << ")\n"
        << "package offset: " << d.header.packageOffset << " (" << hex(d.header.packageOffset)
        << ")\n"
        << "script bytes (C): " << d.header.scriptBytes << '\n'
        << "checksum: " << hex(d.header.checksum) << ", computed " << hex(d.computedChecksum)
        << (d.header.checksum == d.computedChecksum ? " (matches)" : " (DIFFERS)") << '\n';
    out << "signature: ";
    if (!isSigned(d.signature)) {
        out << "none\n";
    } else {
        out << "certificate table at " << d.signature.tableOffset << ", " << d.signature.tableSize
            << " bytes"
            << (d.dataEnd != 0 ? ", ends the file: the checksum covers what comes before it\n"
                               : ", DAMAGED: it does not end the file or is not a table\n");
    }
    if (d.stubSignature) {
        out << "uninstaller signature: the stub's table at " << d.stubSignature->tableOffset << ", "
            << d.stubSignature->tableSize << " bytes\n";
    }
    if (!decoded) {
        err << path.string() << ": " << problem << '\n';
        return 2;
    }
    bool damaged = d.header.checksum != d.computedChecksum || d.dataEnd == 0;
    out << "package header: first entry " << d.package.firstEntryOffset << ", script block "
        << d.package.scriptOffset << ", required space " << d.package.requiredSpace << " bytes\n"
        << "script: " << d.scriptSize << " bytes inflated from " << d.header.scriptBytes
        << ", inflater produced " << d.inflated << '\n';
    listEntries(*image, d, texts, out, damaged);
    std::vector<std::string> records = describeScript(d.script.data(), d.script.size(), texts);
    out << "records:\n";
    for (const std::string& line : records) out << "  " << line << '\n';
    if (records.back() != "end") damaged = true;
    if (damaged) err << path.string() << ": the image is damaged\n";
    return damaged ? 2 : 0;
}

}  // namespace kelvara::build
