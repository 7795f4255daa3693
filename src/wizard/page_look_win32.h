// How pages look: background, stripe, text colours and the brushes behind them (Windows only).
// The drawing objects are the run's (the start-up's drawing stage); these functions only use and
// rebuild them.
#pragma once
#include <windows.h>

#include <cstdint>

namespace kelvara {

// The RGB colour of a colour value: the system window colour when bit 25 is set, else the
// button-face colour when bit 24 is set, else the value's own red, green and blue.
COLORREF colorOf(std::uint32_t value);

// The colour of the removal dialog's product label and the line beside it: the frame colour
// with each of red, green and blue at three quarters.
COLORREF productLabelColor();

// WM_ERASEBKGND of the current page: header, body (and the removal dialog's band), the accent
// stripe in the standard layout. Returns TRUE.
BOOL paintPageBackground(HWND page, HDC dc);

// WM_CTLCOLORSTATIC of the current page: sets the text colour and a transparent background and
// returns the brush to paint behind the control, or 0 (FALSE) for controls that keep the
// system's colours.
INT_PTR pageStaticColors(HDC dc, HWND control);

// Deletes and makes again the page, header and frame brushes from their colour values, so that
// system colours are read anew. Brushes that cannot be made stay null (nothing is painted).
void rebuildPageBrushes();

// WM_ERASEBKGND of the wizard frame: the band below the page in the frame colour and, in the
// standard layout, the band's part of the accent stripe. Returns TRUE.
BOOL paintFrameBand(HWND frame, HDC dc);

// WM_CTLCOLORSTATIC of the wizard frame: the product label and the lines drawn transparently on
// the band, the label in a darker shade of the band. Returns the null brush.
INT_PTR frameStaticColors(HDC dc, HWND control);

// The band height of the removal dialog: the wizard frame's when one was made in this process,
// else the dialog's own (from the top of its product label line to the bottom).
int removalBandHeight(HWND dialog);

}  // namespace kelvara
