#include "kelvara-build/image/script_builder.h"

#include <algorithm>
#include <map>
#include <string>
#include <tuple>

#include "formats/script_writer.h"
#include "kelvara-build/common/text_conversion.h"
#include "kelvara-build/image/default_texts.h"
#include "kelvara-build/languages/builtin_languages.h"

namespace kelvara::build {
namespace {

class VectorSink final : public ByteSink {
  public:
    explicit VectorSink(std::vector<unsigned char>& bytes) : bytes_(bytes) {}
    bool append(const void* data, std::size_t size) override {
        auto* begin = static_cast<const unsigned char*>(data);
        bytes_.insert(bytes_.end(), begin, begin + size);
        return true;
    }

  private:
    std::vector<unsigned char>& bytes_;
};

std::string fontField(const FontSpec& font) {
    char colour[16];
    std::snprintf(colour, sizeof colour, "0x%06X", font.rgb);
    return font.face + "," + colour;
}

void writeSettings(const Project& p, ScriptWriter& writer) {
    std::string normalFont = fontField(p.normalFont);
    std::string titleFont = fontField(p.titleFont);
    SettingsRecord s;
    s.shortName = p.shortName.c_str();
    s.productName = p.name.c_str();
    s.normalFont = normalFont.c_str();
    s.pageColor = p.pageColor;
    s.frameColor = p.frameColor;
    s.titleFont = titleFont.c_str();
    s.headerColor = p.headerColor;
    s.lookFlags = static_cast<std::uint8_t>(
        (p.fullColorWelcome ? kLookFullColorWelcome : 0) |
        (p.background && p.background->captioned ? kLookCaptionedBackground : 0));
    s.previousLocation = p.previousLocation.c_str();
    s.viewFile = p.finishView.c_str();
    s.runProgram = p.finishRun.c_str();
    s.styleFlags = static_cast<std::uint8_t>(
        (p.compactLayout ? kStyleCompactLayout : 0) |
        (p.allowGroupChoice ? kStyleAllowGroupChoice : 0) |
        (p.allowDesktopChoice ? kStyleAllowDesktopChoice : 0) |
        (p.allowQuickLaunchChoice ? kStyleAllowQuickLaunchChoice : 0) |
        (p.restart ? kStyleRestart : 0) | (p.uninstaller ? kStyleCreateUninstaller : 0));
    s.linkFlag = p.makerLink ? 0 : 1;
    writer.settings(s);
}

// The built-in language's text of (table, item) in the project's encoding; nullopt when the
// language has none or the encoding cannot hold it.
std::optional<std::string> translated(const BuiltinLanguage* language, int table, int item,
                                      TextEncoding encoding) {
    const char* text = language ? builtinText(*language, table, item) : nullptr;
    if (!text) return std::nullopt;
    return toEngineText(text, encoding);
}

using TextKey = std::tuple<std::uint16_t, int, int>;  // language, table, item

// Every text of every offered language: the project's where it gives one, else the English
// default.
void writeTexts(const Project& p, ScriptWriter& writer, Diagnostics& diagnostics) {
    std::map<TextKey, const TextOverride*> given;
    for (const TextOverride& text : p.texts) {
        if (std::find(p.languages.begin(), p.languages.end(), text.language) == p.languages.end()) {
            diagnostics.warning(text.line, "text for language " + std::to_string(text.language) +
                                               ", which [languages] does not offer");
        }
        given[{text.language, text.table, text.item}] = &text;  // the last one given wins
    }
    for (std::uint16_t language : p.languages) {
        std::size_t untranslated = 0;
        const BuiltinLanguage* builtin = builtinLanguage(language);
        // The Language page, shown where there is a choice, lists each language by its own name.
        if (builtin && p.languages.size() > 1 &&
            !given.count({language, kPageLanguage, kLanguageOwnNameItem})) {
            if (std::optional<std::string> name = toEngineText(builtin->ownName, p.encoding)) {
                writer.text(language, kPageLanguage, kLanguageOwnNameItem, name->c_str());
            }
        }
        for (const DefaultText& text : defaultEnglishTexts()) {
            auto found = given.find({language, text.table, text.item});
            if (found != given.end()) continue;
            // Only a product that lets one choose ever shows the scope page, and only one with
            // components or tasks the pages of those.
            if (text.table == kPageScope && p.scope != kScopeChoose) continue;
            if (text.table == kPageComponents && p.components.empty()) continue;
            if (text.table == kPageTasks && p.tasks.empty()) continue;
            // The programs-in-use page is shown only where the person is asked.
            if (text.table == kPageFilesInUse && p.closeApplications != kCloseApplicationsAsk)
                continue;
            std::optional<std::string> converted =
                translated(builtin, text.table, text.item, p.encoding);
            if (!converted && language != kDefaultTextLanguage) ++untranslated;
            writer.text(language, static_cast<std::uint8_t>(text.table),
                        static_cast<std::uint8_t>(text.item),
                        converted ? converted->c_str() : text.text);
        }
        // The uninstaller's texts, which the installation carries for it: English is its own.
        if (builtin && p.uninstaller && language != kDefaultTextLanguage) {
            for (const BuiltinText& text : defaultUninstallerTexts()) {
                std::optional<std::string> converted =
                    translated(builtin, text.table, text.item, p.encoding);
                if (!converted || given.count({language, text.table, text.item})) continue;
                writer.text(language, static_cast<std::uint8_t>(text.table),
                            static_cast<std::uint8_t>(text.item), converted->c_str());
            }
        }
        if (untranslated) {
            diagnostics.warning(0, "language " + std::to_string(language) + ": " +
                                       std::to_string(untranslated) +
                                       " texts are not translated; the English ones are used");
        }
    }
    // The lower left corner's text, in every language, where the project replaces the engine's.
    if (!p.makerText.empty()) {
        for (std::uint16_t language : p.languages) {
            if (!given.count({language, kTableButtonLabels, kMakerTextItem}))
                writer.text(language, kTableButtonLabels, kMakerTextItem, p.makerText.c_str());
        }
    }
    for (const auto& [key, text] : given) {
        writer.text(text->language, text->table, text->item, text->text.c_str());
    }
}

// Components (parents first, as the project keeps them), tasks and setup types: before the
// entries, whose conditions the selection they make decides.
void writeChoices(const Project& p, ScriptWriter& writer,
                  std::span<const std::uint32_t> componentBytes) {
    for (std::size_t i = 0; i < p.components.size(); ++i) {
        const Component& c = p.components[i];
        const auto flags = static_cast<std::uint8_t>((c.isDefault ? kChoiceDefault : 0) |
                                                     (c.fixed ? kChoiceFixed : 0));
        writer.component(flags, static_cast<std::uint8_t>(c.parent + 1),
                         i < componentBytes.size() ? componentBytes[i] : 0, c.id.c_str(),
                         c.name.c_str(), c.description.c_str());
    }
    for (const Task& t : p.tasks) {
        writer.task(t.isDefault ? kChoiceDefault : 0, static_cast<std::uint8_t>(t.group),
                    t.id.c_str(), t.name.c_str(), t.description.c_str());
    }
    for (const SetupType& type : p.setupTypes)
        writer.setupType(type.custom ? kSetupTypeCustom : 0, type.components, type.id.c_str(),
                         type.name.c_str());
}

// The entries, each kept only when the selection meets its condition: a condition record goes
// before every entry whose condition differs from the one before it, and one of nothing after
// the last, so that no record after the entries is ever taken for one of them.
void writeEntries(const Project& p, ScriptWriter& writer) {
    std::uint32_t components = 0;
    std::uint32_t tasks = 0;
    for (const FieldRecord& entry : p.entries) {
        if (entry.condition.components != components || entry.condition.tasks != tasks) {
            components = entry.condition.components;
            tasks = entry.condition.tasks;
            writer.condition(components, tasks);
        }
        writer.stringRecord(entry.type, entry.fields.c_str());
    }
    if (components != 0 || tasks != 0) writer.condition(0, 0);
}

}  // namespace

std::vector<unsigned char> buildScript(const Project& p, Diagnostics& diagnostics,
                                       std::span<const std::uint32_t> componentBytes) {
    std::vector<unsigned char> bytes;
    VectorSink sink(bytes);
    ScriptWriter writer(sink);
    writeSettings(p, writer);
    writer.pageFlags(p.pages);
    if (p.accentColor) writer.accentColor(*p.accentColor);
    if (p.background) {
        writer.background(p.background->topRgb, p.background->bottomRgb);
        for (const BackgroundLine& line : p.background->lines) {
            writer.stringRecord(kRecordBackgroundLine, line.fields.c_str());
        }
    }
    writer.languages(p.autoSelectLanguage, p.languages.data(), p.languages.size());
    for (const Variable& variable : p.variables) {
        writer.variable(variable.name.c_str(), variable.value.c_str());
    }
    if (p.licenseText) writer.stringRecord(kRecordLicense, p.licenseText->c_str());
    if (p.readmeText) writer.stringRecord(kRecordReadme, p.readmeText->c_str());
    writeTexts(p, writer, diagnostics);
    writeChoices(p, writer, componentBytes);
    writeEntries(p, writer);
    if (!p.version.empty() || !p.publisher.empty() || !p.aboutUrl.empty() || !p.helpUrl.empty()) {
        writer.productDetails(p.allowDowngrade, p.version.c_str(), p.publisher.c_str(),
                              p.aboutUrl.c_str(), p.helpUrl.c_str());
    }
    // An x86 product's script stays as it was before 64-bit products: no record.
    if (p.architecture != kArchitectureX86) writer.byteRecord(kRecordArchitecture, p.architecture);
    // A machine-wide product's script stays as it was before scopes: no record.
    if (p.scope != kScopeMachine) writer.scope(p.scope, p.defaultScope);
    // A product whose wizard asks about programs in use needs no record: it is the default.
    if (p.closeApplications != kCloseApplicationsAsk)
        writer.byteRecord(kRecordCloseApplications, p.closeApplications);
    const Requirements& r = p.requirements;
    if (r.any()) {
        writer.requirements(r.windows.c_str(), r.directX.c_str(), r.ie.c_str(), r.access.c_str(),
                            r.administrator);
    }
    writer.end();
    if (!writer.ok()) diagnostics.error(0, "the setup script is too large for its format");
    return bytes;
}

}  // namespace kelvara::build
