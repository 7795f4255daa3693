// The wizard's rules that need no window: the destination page's space texts and its rule for a
// browsed folder, the background window's text lines, and which languages the language page
// offers.
#include <gtest/gtest.h>

#include <string>

#include "formats/languages.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/string_list.h"
#include "runtime/text_utils.h"
#include "wizard/background_lines.h"
#include "wizard/destination_rules.h"
#include "wizard/space_text.h"

using namespace kelvara;

namespace {

std::string freeSpaceText(std::uint64_t bytes) {
    char text[kSpaceTextSize];
    formatFreeSpace(bytes, text);
    return text;
}

std::string browsed(const char* picked, const char* installPath) {
    HeapString result(browsedDestination(picked, installPath));
    return result ? result.get() : "<null>";
}

TEST(SpaceTexts, KilobytesBelowAMillionThenMegabytesWithoutOverflow) {
    EXPECT_EQ(freeSpaceText(0), "0 Kb");
    EXPECT_EQ(freeSpaceText(1023), "0 Kb") << "whole kilobytes, cut";
    EXPECT_EQ(freeSpaceText(999999ull << 10), "999999 Kb");
    EXPECT_EQ(freeSpaceText((999999ull << 10) + 1023), "999999 Kb");
    EXPECT_EQ(freeSpaceText(1000000ull << 10), "976 Mb") << "a million kilobytes is shown in Mb";
    EXPECT_EQ(freeSpaceText(5ull << 40), "5242880 Mb") << "5 TB: the megabytes fit 32 bits";
    EXPECT_EQ(freeSpaceText(~0ull), "4294967295 Mb") << "the largest text fits its buffer";

    char required[kSpaceTextSize];
    formatRequiredSpace(0xFFFFFFFFu, required);
    EXPECT_STREQ(required, "4194303 Kb") << "the space needed is always in Kb";
    formatRequiredSpace(2047, required);
    EXPECT_STREQ(required, "1 Kb");
}

TEST(BrowsedDestination, ThePickedFolderGetsTheProductsFolderUnlessItEndsWithIt) {
    ASSERT_TRUE(heapCreate());
    const char* installPath = "C:\\Program Files\\Product";
    EXPECT_EQ(browsed("E:\\Apps", installPath), "E:\\Apps\\Product");
    EXPECT_EQ(browsed("E:\\Apps\\Product", installPath), "E:\\Apps\\Product") << "kept";
    EXPECT_EQ(browsed("e:\\apps\\PRODUCT", installPath), "e:\\apps\\PRODUCT") << "any case";
    EXPECT_EQ(browsed("E:\\", installPath), "E:\\Product") << "no doubled backslash";
    EXPECT_EQ(browsed("Product", installPath), "Product\\Product")
        << "only a longer folder can already end with the name";
    EXPECT_EQ(browsed("E:\\Apps", "Product"), "E:\\Apps\\Product")
        << "an install path without a folder is the name itself";
}

BackgroundLine lineOf(const char* entry, StringList& fields) {
    splitFields(entry, true, fields);
    return readBackgroundLine(fields);
}

TEST(BackgroundLines, FieldsAndTheirDefaults) {
    ASSERT_TRUE(heapCreate());
    StringList fields;
    BackgroundLine plain = lineOf("\"Gizmo, the studio\"", fields);
    EXPECT_STREQ(plain.text, "Gizmo, the studio") << "the quoted text keeps its comma";
    EXPECT_STREQ(plain.face, "Tahoma");
    EXPECT_EQ(plain.points, 12);
    EXPECT_EQ(plain.weight, 400);
    EXPECT_FALSE(plain.rightAligned || plain.fromBottom || plain.italic || plain.underline);
    EXPECT_EQ(plain.color, 0u);
    EXPECT_EQ(plain.shadowOffset, 0);

    BackgroundLine full =
        lineOf("\"Setup\",RIGHT,Bottom,20,0x10,Arial,24,9,7,1,1,0xFF8000,3,0x000080", fields);
    EXPECT_STREQ(full.text, "Setup");
    EXPECT_TRUE(full.rightAligned) << "alignment words in any case";
    EXPECT_TRUE(full.fromBottom);
    EXPECT_EQ(full.xOffset, 20);
    EXPECT_EQ(full.yOffset, 16) << "numbers as parseNumber reads them";
    EXPECT_STREQ(full.face, "Arial");
    EXPECT_EQ(full.points, 24);
    EXPECT_EQ(full.width, 9);
    EXPECT_EQ(full.weight, 700) << "the weight field counts hundreds";
    EXPECT_TRUE(full.italic && full.underline);
    EXPECT_EQ(full.color, 0x0080FFu) << "0xRRGGBB turns red-low";
    EXPECT_EQ(full.shadowOffset, 3);
    EXPECT_EQ(full.shadowColor, 0x800000u);

    BackgroundLine unquoted = lineOf("Setup,right,bottom", fields);
    EXPECT_STREQ(unquoted.text, "") << "a line without its quoted text has no fields";
    EXPECT_FALSE(unquoted.rightAligned);
}

TEST(BackgroundLines, LinesOfOneSideStackByTheirOffsets) {
    BackgroundLine top1, top2, bottom1, bottom2, right;
    top1.yOffset = 10;
    top2.yOffset = 5;
    bottom1.fromBottom = bottom2.fromBottom = true;
    bottom1.yOffset = 20;
    bottom2.yOffset = 4;
    right.rightAligned = true;
    right.xOffset = 20;

    BackgroundLineStack stack(600);
    EXPECT_EQ(stack.place(top1, 30), 10);
    EXPECT_EQ(stack.place(bottom1, 40), 600 - 20 - 40);
    EXPECT_EQ(stack.place(top2, 25), 10 + 30 + 5) << "5 below the first top line";
    EXPECT_EQ(stack.place(bottom2, 10), 600 - 20 - 40 - 4 - 10) << "4 above the first bottom one";
    EXPECT_EQ(BackgroundLineStack::left(right, 100, 800), 800 - 100 - 20)
        << "ends its offset from the right edge";
    EXPECT_EQ(BackgroundLineStack::left(top1, 100, 800), 0);
}

TEST(LanguagePage, OnlyLanguagesWithWizardTextsAreOffered) {
    ASSERT_TRUE(heapCreate());
    SetupState& s = setupState;
    constexpr int kGerman = 7, kFrench = 12, kDutch = 19, kEnglish = 9;
    for (int language : {kGerman, kFrench, kDutch, kEnglish}) {
        ASSERT_TRUE(s.buttonLabels[language].create(5));
        ASSERT_TRUE(s.setupMessages[language].create(5));
        for (PageSlot& slot : s.pageSlots) ASSERT_TRUE(slot.texts[language].create(5));
    }
    setText(kTableButtonLabels, kGerman, 1, "&Weiter >");
    setText(11, kFrench, 3, "Terminé");                      // the finish page
    setText(kTableSetupMessages, kDutch, 0, "Stoppen?");     // a message, no page text
    setText(kUninstallTextsSlot, kDutch, 0, "Verwijderen");  // the uninstaller's texts
    s.pageSlots[2].texts[kEnglish].set(4, nullptr);          // a hole is no text

    EXPECT_TRUE(languageHasWizardTexts(kGerman)) << "a button label";
    EXPECT_TRUE(languageHasWizardTexts(kFrench)) << "a page text";
    EXPECT_FALSE(languageHasWizardTexts(kDutch))
        << "messages and the uninstaller's texts show no wizard page";
    EXPECT_FALSE(languageHasWizardTexts(kEnglish)) << "holes only";
    EXPECT_FALSE(languageHasWizardTexts(0));
    EXPECT_FALSE(languageHasWizardTexts(98));

    for (int language : {kGerman, kFrench, kDutch, kEnglish}) {
        s.buttonLabels[language].destroy();
        s.setupMessages[language].destroy();
        for (PageSlot& slot : s.pageSlots) slot.texts[language].destroy();
    }
}

}  // namespace
