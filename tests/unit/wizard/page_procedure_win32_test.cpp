// The page procedure's common part on real windows: texts and button labels in the current
// language, the background with its band and stripe, and the text colours.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "formats/languages.h"
#include "formats/script_format.h"
#include "formats/setup_state.h"
#include "formats/variables.h"
#include "wizard/page_look_win32.h"
#include "wizard/page_procedure_win32.h"
#include "wizard/wizard_state.h"

using namespace kelvara;

namespace {

constexpr int kEnglish = 9;
constexpr int kDestinationPage = 6;  // button map row: Back 0, Next 1, Cancel 2, Browse 7

std::string textOf(HWND window) {
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

HWND child(HWND parent, const char* className, int id, const char* text, int y = 0,
           int height = 10) {
    return ::CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE, 0, y, 50, height, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

class PageTexts : public ::testing::Test {
  protected:
    void SetUp() override {
        SetupState& s = setupState;
        s.currentLanguage = kEnglish;
        s.dialogSetOffset = kStandardLayout;
        ASSERT_TRUE(s.buttonLabels[kEnglish].create(5));
        ASSERT_TRUE(s.variableNames.create(5) && s.variableValues.create(5));
        for (int slot : {kDestinationPage, kRemovalPageIndex}) {
            ASSERT_TRUE(s.pageSlots[slot].texts[kEnglish].create(5));
        }
        frame_ = ::CreateWindowExA(0, "STATIC", "frame", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                   nullptr, nullptr);
        for (int id : {1010, 1011, 1012}) child(frame_, "BUTTON", id, "template");
        page_ = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 400, 250, frame_, nullptr,
                                  nullptr, nullptr);
        for (int id : {1001, 1002, 1003}) child(page_, "STATIC", id, "template");
        child(page_, "BUTTON", 1013, "template");
    }
    void TearDown() override {
        SetupState& s = setupState;
        ::DestroyWindow(frame_);
        s.buttonLabels[kEnglish].destroy();
        s.variableNames.destroy();
        s.variableValues.destroy();
        for (PageSlot& slot : s.pageSlots) {
            slot.texts[kEnglish].destroy();
            slot.dialogId = 0;
        }
    }
    std::string frameText(int id) const { return textOf(::GetDlgItem(frame_, id)); }
    std::string pageText(int id) const { return textOf(::GetDlgItem(page_, id)); }

    HWND frame_ = nullptr;
    HWND page_ = nullptr;
};

TEST_F(PageTexts, AWizardPageSetsTheFrameTitleButtonsAndItsTextsWhereTheyExist) {
    SetupState& s = setupState;
    s.pageSlots[kDestinationPage].dialogId = 135;
    ASSERT_TRUE(defineVariable("%Product%", "Gizmo"));
    setText(kDestinationPage, kEnglish, 0, "Setup of %Product%");
    setText(kDestinationPage, kEnglish, 1, "Where should %PRODUCT% go?");
    setText(kDestinationPage, kEnglish, 3, "");  // exists, though empty
    setText(kTableButtonLabels, kEnglish, 0, "Back!");
    setText(kTableButtonLabels, kEnglish, 1, "Next!");
    setText(kTableButtonLabels, kEnglish, 7, "Browse!");  // label 2 (Cancel) is missing

    applyPageTexts(page_, kDestinationPage);
    EXPECT_EQ(textOf(frame_), "Setup of Gizmo") << "text 0 is the frame title, expanded";
    EXPECT_EQ(pageText(1001), "Where should Gizmo go?");
    EXPECT_EQ(pageText(1002), "template") << "a missing text keeps the template's";
    EXPECT_EQ(pageText(1003), "");
    EXPECT_EQ(frameText(1010), "Back!");
    EXPECT_EQ(frameText(1011), "Next!");
    EXPECT_EQ(frameText(1012), "template") << "a missing label keeps the template's";
    EXPECT_EQ(pageText(1013), "Browse!") << "looked up on the page when the frame has none";
    EXPECT_EQ(wizardState.pageIndex, kDestinationPage);
    EXPECT_EQ(wizardState.pageType, kPageTypeDestination);
    EXPECT_EQ(wizardState.pageParent, frame_);

    selectLanguage(10);  // a language without texts changes nothing
    applyPageTexts(page_, kDestinationPage);
    EXPECT_EQ(pageText(1001), "Where should Gizmo go?");
    selectLanguage(kEnglish);
}

TEST_F(PageTexts, TheRemovalDialogLeavesItsParentAndButtonsAlone) {
    SetupState& s = setupState;
    s.dialogSetOffset = kCompactLayout;
    s.pageSlots[kRemovalPageIndex].dialogId = 141 + kCompactLayout;
    setText(kRemovalPageIndex, kEnglish, 0, "Gizmo Uninstall");
    setText(kRemovalPageIndex, kEnglish, 2, "Please wait");
    setText(kTableButtonLabels, kEnglish, 8, "Finish!");

    applyPageTexts(page_, kRemovalPageIndex);
    EXPECT_EQ(wizardState.pageType, kPageTypeRemoval) << "dialog id less the layout offset";
    EXPECT_EQ(textOf(frame_), "frame");
    EXPECT_EQ(frameText(1012), "template");
    EXPECT_EQ(pageText(1002), "Please wait");

    applyButtonLabels(page_, nullptr, kRemovalPageIndex);
    EXPECT_EQ(pageText(1013), "template") << "row 12 labels only the third button";
    applyButtonLabels(frame_, nullptr, kRemovalPageIndex);
    EXPECT_EQ(frameText(1012), "Finish!");

    const int before = wizardState.pageType;
    applyPageTexts(page_, 14);
    applyPageTexts(page_, -1);
    EXPECT_EQ(wizardState.pageType, before) << "a page index outside 0..13 changes nothing";
}

// Paints a window of W x H client pixels into a bitmap and reads its pixels back.
class Painting : public ::testing::Test {
  protected:
    static constexpr int W = 400, H = 300, kHeader = 40, kBandTop = 250;
    static constexpr COLORREF kHeaderRgb = RGB(200, 0, 0), kPageRgb = RGB(0, 200, 0),
                              kFrameRgb = RGB(0, 0, 200), kAccentRgb = RGB(250, 250, 0),
                              kUnpainted = RGB(1, 2, 3);

    void SetUp() override {
        SetupState& s = setupState;
        OwnedGdiObject* drawing[] = {&wizardState.headerBrush, &wizardState.pageBrush,
                                     &wizardState.frameBrush, &wizardState.accentBrush,
                                     &wizardState.accentPen};
        for (int i = 0; i < 5; ++i) saved_[i] = std::move(*drawing[i]);
        wizardState.headerBrush.reset(::CreateSolidBrush(kHeaderRgb));
        wizardState.pageBrush.reset(::CreateSolidBrush(kPageRgb));
        wizardState.frameBrush.reset(::CreateSolidBrush(kFrameRgb));
        wizardState.accentBrush.reset(::CreateSolidBrush(kAccentRgb));
        wizardState.accentPen.reset(::CreatePen(PS_SOLID, 0, kAccentRgb));
        wizardState.accentStripeTop = 90;
        wizardState.accentStripeBottom = 140;
        wizardState.headerBottom = kHeader;
        wizardState.bandHeight = 0;
        wizardState.pageParent = nullptr;
        s.dialogSetOffset = kStandardLayout;
        window_ = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, W, H, nullptr, nullptr,
                                    nullptr, nullptr);
        child(window_, "STATIC", 1006, "", kBandTop, 1);  // the product label's line
        HDC screen = ::GetDC(nullptr);
        dc_ = ::CreateCompatibleDC(screen);
        bitmap_ = ::CreateCompatibleBitmap(screen, W, H);
        ::ReleaseDC(nullptr, screen);
        old_ = ::SelectObject(dc_, bitmap_);
    }
    void TearDown() override {
        SetupState& s = setupState;
        ::SelectObject(dc_, old_);
        ::DeleteObject(bitmap_);
        ::DeleteDC(dc_);
        ::DestroyWindow(window_);
        wizardState.headerBrush = std::move(saved_[0]);
        wizardState.pageBrush = std::move(saved_[1]);
        wizardState.frameBrush = std::move(saved_[2]);
        wizardState.accentBrush = std::move(saved_[3]);
        wizardState.accentPen = std::move(saved_[4]);
        wizardState.pageType = 0;
        s.fullColorWelcome = false;
    }
    void paint(int pageType) {
        wizardState.pageType = pageType;
        RECT all = {0, 0, W, H};
        HBRUSH blank = ::CreateSolidBrush(kUnpainted);
        ::FillRect(dc_, &all, blank);
        ::DeleteObject(blank);
        EXPECT_TRUE(paintPageBackground(window_, dc_));
    }
    COLORREF at(int x, int y) const { return ::GetPixel(dc_, x, y); }

    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    OwnedGdiObject saved_[5];
};

TEST_F(Painting, TheRemovalDialogHasHeaderBodyItsOwnBandAndTheStripe) {
    paint(kPageTypeRemoval);
    EXPECT_EQ(at(10, 10), kHeaderRgb);
    EXPECT_EQ(at(10, kHeader + 5), kPageRgb);
    EXPECT_EQ(at(10, kBandTop - 2), kPageRgb);
    EXPECT_EQ(at(10, kBandTop + 2), kFrameRgb) << "the band starts at the product label's line";
    EXPECT_EQ(at(W - 5, 5), kAccentRgb) << "the stripe's top is 90 pixels wide";
    EXPECT_EQ(at(W - 95, 5), kHeaderRgb);
    // Its left edge at the bottom: W - 140 + 50 * 50 / 300 + 1 = 269.
    EXPECT_EQ(at(273, H - 1), kAccentRgb);
    EXPECT_EQ(at(265, H - 1), kFrameRgb);
    EXPECT_EQ(at(W - 1, H / 2), kAccentRgb) << "the full width is painted";

    wizardState.bandHeight = 20;  // measured by a wizard frame of this process
    paint(kPageTypeRemoval);
    EXPECT_EQ(at(10, H - 25), kPageRgb);
    EXPECT_EQ(at(10, H - 15), kFrameRgb);

    setupState.dialogSetOffset = kCompactLayout;
    paint(kPageTypeRemoval);
    EXPECT_EQ(at(W - 5, 5), kHeaderRgb) << "the compact layout has no stripe";
    EXPECT_EQ(at(W - 5, H / 2), kPageRgb);
}

TEST_F(Painting, WizardPagesLeaveTheBandToTheFrame) {
    paint(kPageTypeWelcome);
    EXPECT_EQ(at(10, H - 2), kPageRgb) << "the page's body reaches its bottom";
    EXPECT_EQ(at(W - 1, H / 2), kUnpainted) << "three pixels at the right stay unpainted";
    EXPECT_EQ(at(W - 4, H / 2), kAccentRgb);

    setupState.fullColorWelcome = true;
    paint(kPageTypeWelcome);
    EXPECT_EQ(at(10, H - 2), kHeaderRgb) << "a full-colour welcome page";
    paint(kPageTypeDestination);
    EXPECT_EQ(at(10, H - 2), kPageRgb) << "only the welcome page";
}

TEST_F(Painting, StaticTextsAreTransparentInTheirColours) {
    SetupState& s = setupState;
    s.titleColor = RGB(1, 2, 3);
    s.textColor = RGB(4, 5, 6);
    s.frameColor = RGB(100, 160, 203);
    HWND title = child(window_, "STATIC", 1001, "");
    HWND text = child(window_, "STATIC", 1002, "");
    HWND label = child(window_, "STATIC", 1005, "");
    HWND destination = child(window_, "EDIT", 1018, "");
    HWND option = child(window_, "BUTTON", 1003, "");
    const auto nullBrush = reinterpret_cast<INT_PTR>(::GetStockObject(NULL_BRUSH));

    wizardState.pageType = kPageTypeRemoval;
    EXPECT_EQ(pageStaticColors(dc_, title), nullBrush);
    EXPECT_EQ(::GetTextColor(dc_), RGB(1, 2, 3));
    EXPECT_EQ(::GetBkMode(dc_), TRANSPARENT);
    EXPECT_EQ(pageStaticColors(dc_, text), nullBrush);
    EXPECT_EQ(::GetTextColor(dc_), RGB(4, 5, 6));
    pageStaticColors(dc_, label);
    EXPECT_EQ(::GetTextColor(dc_), RGB(75, 120, 150)) << "three quarters of the frame colour";
    EXPECT_EQ(pageStaticColors(dc_, destination), FALSE) << "the system's colours";

    EXPECT_EQ(pageStaticColors(dc_, option), nullBrush);
    wizardState.pageType = kPageTypeDestination;
    EXPECT_EQ(pageStaticColors(dc_, option), reinterpret_cast<INT_PTR>(wizardState.pageBrush.get()))
        << "a check box that must not show the background";
    pageStaticColors(dc_, label);
    EXPECT_EQ(::GetTextColor(dc_), RGB(4, 5, 6)) << "the band colour is the removal dialog's";
}

TEST(PageColors, ColourValuesNameSystemColoursByTheirFlagBits) {
    EXPECT_EQ(colorOf(0x00123456), static_cast<COLORREF>(0x00123456));
    EXPECT_EQ(colorOf(0x02123456), ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(colorOf(0x01123456), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(colorOf(0x03000000), ::GetSysColor(COLOR_WINDOW)) << "the window colour first";
    EXPECT_EQ(colorOf(0xFC123456), static_cast<COLORREF>(0x00123456)) << "other bits mean nothing";

    SetupState& s = setupState;
    const std::uint32_t savedFrame = s.frameColor;
    s.frameColor = 0x01000000;
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(productLabelColor(),
              RGB(GetRValue(face) / 4 * 3, GetGValue(face) / 4 * 3, GetBValue(face) / 4 * 3));
    s.frameColor = savedFrame;
}

TEST(PageColors, SystemColourChangesMakeTheBrushesAnew) {
    SetupState& s = setupState;
    OwnedGdiObject saved[] = {std::move(wizardState.pageBrush), std::move(wizardState.headerBrush),
                              std::move(wizardState.frameBrush)};
    const std::uint32_t savedColors[] = {s.pageColor, s.headerColor, s.frameColor};
    s.pageColor = 0x001E140A;
    s.headerColor = 0x02000000;
    s.frameColor = 0x01000000;
    rebuildPageBrushes();
    auto colourOf = [](void* object) {
        LOGBRUSH brush = {};
        EXPECT_EQ(::GetObjectA(static_cast<HGDIOBJ>(object), sizeof brush, &brush),
                  static_cast<int>(sizeof brush));
        return brush.lbColor;
    };
    EXPECT_EQ(colourOf(wizardState.pageBrush.get()), RGB(10, 20, 30));
    EXPECT_EQ(colourOf(wizardState.headerBrush.get()), ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(colourOf(wizardState.frameBrush.get()), ::GetSysColor(COLOR_BTNFACE));
    s.pageColor = 0x00030201;
    rebuildPageBrushes();
    EXPECT_EQ(colourOf(wizardState.pageBrush.get()), RGB(1, 2, 3))
        << "made anew from the colour value";
    s.pageColor = savedColors[0];
    s.headerColor = savedColors[1];
    s.frameColor = savedColors[2];
    wizardState.pageBrush = std::move(saved[0]);
    wizardState.headerBrush = std::move(saved[1]);
    wizardState.frameBrush = std::move(saved[2]);
}

}  // namespace
