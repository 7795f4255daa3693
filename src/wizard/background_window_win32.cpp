#include "wizard/background_window_win32.h"

#include "environment/run_environment.h"
#include "formats/setup_state.h"
#include "formats/variables.h"
#include "resources/resource_ids.h"
#include "runtime/handles_win32.h"
#include "runtime/heap_string.h"
#include "runtime/string_list.h"
#include "runtime/text_utils.h"
#include "wizard/background_lines.h"
#include "wizard/wizard_state.h"

namespace kelvara {
namespace {

constexpr const char* kClassName = "KelvaraBGWindow";
constexpr int kFirstGradientEntry = 20;  // palette entries before the gradient stay black
constexpr UINT kTextFormat = DT_SINGLELINE | DT_NOPREFIX;

COLORREF gdiColor(std::uint32_t color) {
    return color & 0x00FFFFFF;
}

BOOL paintGradient(HWND window, HDC dc) {
    RECT client = {};
    ::GetClientRect(window, &client);
    HPALETTE oldPalette = nullptr;
    if (wizardState.palette) {
        oldPalette = ::SelectPalette(dc, static_cast<HPALETTE>(wizardState.palette.get()), FALSE);
        ::RealizePalette(dc);
    }
    for (int i = 0; i < kGradientSteps; ++i) {
        UniqueGdiObject band(::CreateSolidBrush(PALETTEINDEX(kFirstGradientEntry + i)));
        if (!band) continue;
        RECT r = {0, i * client.bottom / kGradientSteps, client.right,
                  (i + 1) * client.bottom / kGradientSteps};
        ::FillRect(dc, &r, static_cast<HBRUSH>(band.get()));
    }
    if (oldPalette) ::SelectPalette(dc, oldPalette, FALSE);
    if (wizardState.palette) ::UnrealizeObject(static_cast<HGDIOBJ>(wizardState.palette.get()));
    return TRUE;
}

void drawLine(HDC dc, const BackgroundLine& line, BackgroundLineStack& stack, int dpi,
              int clientWidth) {
    UniqueGdiObject font(::CreateFontA(-::MulDiv(line.points, dpi, 72), line.width, 0, 0,
                                       line.weight, line.italic, line.underline, FALSE,
                                       ANSI_CHARSET, 0, 0, PROOF_QUALITY, 0, line.face));
    HGDIOBJ oldFont = font ? ::SelectObject(dc, font.get()) : nullptr;
    RECT r = {0, 0, 0, 0};
    ::DrawTextA(dc, line.text, -1, &r, DT_CALCRECT | kTextFormat);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    ::OffsetRect(&r, BackgroundLineStack::left(line, width, clientWidth),
                 stack.place(line, height));
    if (line.shadowOffset) {
        ::SetTextColor(dc, gdiColor(line.shadowColor));
        RECT shadow = r;
        ::OffsetRect(&shadow, line.shadowOffset, line.shadowOffset);
        ::DrawTextA(dc, line.text, -1, &shadow, kTextFormat);
    }
    ::SetTextColor(dc, gdiColor(line.color));
    ::DrawTextA(dc, line.text, -1, &r, kTextFormat);
    if (oldFont) ::SelectObject(dc, oldFont);  // before the font goes
}

void paintLines(HWND window) {
    SetupState& s = setupState;
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window, &paint);
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
    RECT client = {};
    ::GetClientRect(window, &client);
    ::SetBkMode(dc, TRANSPARENT);
    BackgroundLineStack stack(client.bottom);
    // A field list of its own: the main thread's scratch list may be in use by whoever painted.
    StringList fields;
    const int count = s.backgroundLines.count();
    for (int i = 0; i < count && i < kBackgroundLinesDrawn; ++i) {
        HeapString expanded(expandVariables(s.backgroundLines.get(i)));
        if (!expanded) continue;
        splitFields(expanded.get(), true, fields);
        drawLine(dc, readBackgroundLine(fields), stack, dpi, client.right);
    }
    ::EndPaint(window, &paint);
}

void cancelWizard() {
    if (HWND frame = static_cast<HWND>(runEnvironment.wizardDialog)) {
        ::SendMessageA(frame, WM_COMMAND, IDCANCEL, 0);
    }
}

LRESULT CALLBACK backgroundProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return paintGradient(window, reinterpret_cast<HDC>(wParam));
        case WM_PAINT:
            paintLines(window);
            return 0;
        case WM_NCLBUTTONDOWN:
            // The window cannot be dragged by its caption.
            if (wParam == HTCAPTION) return 0;
            break;
        case WM_NCLBUTTONDBLCLK:
            return 0;  // nor maximized or restored by a double click
        case WM_SYSCOMMAND:
            if (wParam == SC_MOVE) return 0;
            if (wParam == SC_CLOSE) {
                cancelWizard();
                return 0;
            }
            break;
        default:
            break;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HWND createBackgroundWindow() {
    SetupState& s = setupState;
    HINSTANCE module = static_cast<HINSTANCE>(runEnvironment.moduleHandle);
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW;
    windowClass.lpfnWndProc = backgroundProcedure;
    windowClass.hInstance = module;
    windowClass.hIcon = ::LoadIconA(module, MAKEINTRESOURCEA(IDI_APP));
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassExA(&windowClass);
    const DWORD style =
        (s.captionedBackground ? WS_CAPTION : WS_POPUP) | WS_SYSMENU | WS_MINIMIZEBOX;
    HWND window = ::CreateWindowExA(0, kClassName, "", style, 0, 0, ::GetSystemMetrics(SM_CXSCREEN),
                                    ::GetSystemMetrics(SM_CYSCREEN), ::GetDesktopWindow(), nullptr,
                                    module, nullptr);
    if (window) ::ShowWindow(window, SW_SHOWMAXIMIZED);
    return window;
}

}  // namespace kelvara
