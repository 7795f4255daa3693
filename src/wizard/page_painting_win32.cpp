// Painting of the wizard pages and the removal dialog.
#include "wizard/page_look_win32.h"

#include "formats/setup_state.h"
#include "resources/resource_ids.h"
#include "wizard/dialog_helpers_win32.h"
#include "wizard/page_procedure_win32.h"
#include "wizard/wizard_state.h"

namespace kelvara {
namespace {

// Wizard pages leave this many pixels at the right of their client area unpainted.
constexpr int kPageRightMargin = 3;

// Controls painted on the page colour, so that the background does not show through them:
// check boxes and a group box of some wizard pages, and texts that change while the page shows.
struct OpaqueControl {
    int pageType;
    int control;
};
constexpr OpaqueControl kOpaqueControls[] = {
    {kPageTypeStartMenu, IDC_PAGE_TEXT_3},   {kPageTypeStartMenu, IDC_PAGE_TEXT_4},
    {kPageTypeStartMenu, IDC_PAGE_TEXT_5},   {kPageTypeFinish, IDC_PAGE_TEXT_4},
    {kPageTypeFinish, IDC_PAGE_TEXT_5},      {kPageTypeFinish, IDC_PAGE_TEXT_6},
    {kPageTypeDestination, IDC_PAGE_TEXT_3}, {kPageTypeComponents, IDC_PAGE_TEXT_7},
    {kPageTypeComponents, IDC_PAGE_TEXT_8},  {kPageTypeComponents, IDC_PAGE_TEXT_9},
    {kPageTypeComponents, IDC_PAGE_TEXT_14}, {kPageTypeTasks, IDC_PAGE_TEXT_9},
};

void fill(HDC dc, int left, int top, int right, int bottom, void* brush) {
    if (!brush || right <= left || bottom <= top) return;
    RECT r = {left, top, right, bottom};
    ::FillRect(dc, &r, static_cast<HBRUSH>(brush));
}

// One piece of the slanted accent stripe, in the accent colour of the realized palette.
void drawAccentPolygon(HDC dc, const POINT (&points)[4]) {
    if (!wizardState.accentPen || !wizardState.accentBrush) return;
    HPALETTE oldPalette = nullptr;
    if (wizardState.palette) {
        oldPalette = ::SelectPalette(dc, static_cast<HPALETTE>(wizardState.palette.get()), FALSE);
        ::RealizePalette(dc);
    }
    HGDIOBJ oldPen = ::SelectObject(dc, wizardState.accentPen.get());
    HGDIOBJ oldBrush = ::SelectObject(dc, wizardState.accentBrush.get());
    ::Polygon(dc, points, 4);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    if (oldPalette) ::SelectPalette(dc, oldPalette, FALSE);
}

// The stripe at a page's right edge. Its left edge runs from wT at the top to wB at a height of
// `divisor` (the page and the frame below it together draw one straight edge).
void drawStripe(HDC dc, int width, int height, int band, int divisor) {
    if (divisor <= 0) return;
    const int top = wizardState.accentStripeTop;
    const int bottom = wizardState.accentStripeBottom;
    const POINT points[] = {{width - top, -1},
                            {width, -1},
                            {width, height},
                            {width - bottom + (bottom - top) * band / divisor + 1, height}};
    drawAccentPolygon(dc, points);
}

bool isOpaqueControl(int pageType, int control) {
    for (const OpaqueControl& item : kOpaqueControls) {
        if (item.pageType == pageType && item.control == control) return true;
    }
    return false;
}

void remakeBrush(OwnedGdiObject& brush, std::uint32_t value) {
    brush.reset(::CreateSolidBrush(colorOf(value)));
}

}  // namespace

COLORREF colorOf(std::uint32_t value) {
    if (value & kColorSystemWindow) return ::GetSysColor(COLOR_WINDOW);
    if (value & kColorSystemButtonFace) return ::GetSysColor(COLOR_BTNFACE);
    return value & 0x00FFFFFF;
}

COLORREF productLabelColor() {
    const COLORREF frame = colorOf(setupState.frameColor);
    return RGB(GetRValue(frame) / 4 * 3, GetGValue(frame) / 4 * 3, GetBValue(frame) / 4 * 3);
}

int removalBandHeight(HWND dialog) {
    if (wizardState.bandHeight > 0) return wizardState.bandHeight;
    HWND line = ::GetDlgItem(dialog, IDC_PRODUCT_LABEL_LINE);
    if (!line) return 0;
    RECT client = {};
    ::GetClientRect(dialog, &client);
    const int band = client.bottom - rectangleInParent(line).top;
    return band > 0 ? band : 0;
}

BOOL paintFrameBand(HWND frame, HDC dc) {
    SetupState& s = setupState;
    RECT client = {};
    ::GetClientRect(frame, &client);
    const int width = client.right;
    const int height = client.bottom;
    const int band = wizardState.bandHeight;
    fill(dc, 0, height - band, width, height, wizardState.frameBrush.get());
    if (s.dialogSetOffset != kStandardLayout || height <= 0) return TRUE;
    const int top = wizardState.accentStripeTop;
    const int bottom = wizardState.accentStripeBottom;
    // The stripe's edge goes on straight from where the page above ends it.
    const POINT points[] = {{width - bottom + (bottom - top) * band / height + 1, height - band},
                            {width - 1, height - band},
                            {width - 1, height - 1},
                            {width - bottom, height - 1}};
    drawAccentPolygon(dc, points);
    return TRUE;
}

INT_PTR frameStaticColors(HDC dc, HWND control) {
    const COLORREF band = colorOf(setupState.frameColor);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetBkColor(dc, band);
    if (::GetDlgCtrlID(control) == IDC_FRAME_PRODUCT_LABEL) {
        ::SetTextColor(
            dc, RGB(GetRValue(band) * 5 / 6, GetGValue(band) * 5 / 6, GetBValue(band) * 5 / 6));
    }
    return reinterpret_cast<INT_PTR>(::GetStockObject(NULL_BRUSH));
}

BOOL paintPageBackground(HWND page, HDC dc) {
    SetupState& s = setupState;
    const bool removal = wizardState.pageType == kPageTypeRemoval;
    RECT client = {};
    ::GetClientRect(page, &client);
    const int width = client.right - (removal ? 0 : kPageRightMargin);
    const int height = client.bottom;
    const int header = wizardState.headerBottom;
    const int band = removal ? removalBandHeight(page) : wizardState.bandHeight;

    fill(dc, 0, 0, width, header, wizardState.headerBrush.get());
    const bool welcomeInHeaderColour =
        wizardState.pageType == kPageTypeWelcome && s.fullColorWelcome;
    void* body =
        welcomeInHeaderColour ? wizardState.headerBrush.get() : wizardState.pageBrush.get();
    if (removal) {
        fill(dc, 0, header, width, height - band, body);
        fill(dc, 0, height - band, width, height, wizardState.frameBrush.get());
    } else {
        fill(dc, 0, header, width, height, body);
    }
    if (s.dialogSetOffset == kStandardLayout) {
        drawStripe(dc, width, height, band, removal ? height : height + band);
    }
    if (!removal && wizardState.pageParent) {
        // The frame's product label is drawn over the page that was just painted.
        HWND label =
            ::GetDlgItem(static_cast<HWND>(wizardState.pageParent), IDC_FRAME_PRODUCT_LABEL);
        if (label) ::InvalidateRect(label, nullptr, FALSE);
    }
    return TRUE;
}

INT_PTR pageStaticColors(HDC dc, HWND control) {
    SetupState& s = setupState;
    const int id = ::GetDlgCtrlID(control);
    if (id == kControlDestination || id == kControlLanguageCombo) return FALSE;
    COLORREF colour;
    if (wizardState.pageType == kPageTypeRemoval &&
        (id == IDC_PRODUCT_LABEL || id == IDC_PRODUCT_LABEL_LINE)) {
        colour = productLabelColor();
    } else {
        colour = colorOf(id == kControlTitle ? s.titleColor : s.textColor);
    }
    ::SetTextColor(dc, colour);
    ::SetBkMode(dc, TRANSPARENT);
    if (isOpaqueControl(wizardState.pageType, id) && wizardState.pageBrush.get()) {
        return reinterpret_cast<INT_PTR>(wizardState.pageBrush.get());
    }
    return reinterpret_cast<INT_PTR>(::GetStockObject(NULL_BRUSH));
}

void rebuildPageBrushes() {
    SetupState& s = setupState;
    remakeBrush(wizardState.pageBrush, s.pageColor);
    remakeBrush(wizardState.headerBrush, s.headerColor);
    remakeBrush(wizardState.frameBrush, s.frameColor);
}

}  // namespace kelvara
