// The text lines of the background window: what one line's text-line field string says, and
// where the lines go. Portable, so that the field rules and the stacking are tested on every
// build; the window draws with them.
#pragma once
#include <cstdint>

namespace kelvara {

class StringList;

constexpr int kBackgroundLinesDrawn = 2;  // later lines of the record are not drawn

struct BackgroundLine {
    const char* text = "";        // points into the field list it was read from
    const char* face = "Tahoma";  // likewise, or the default face
    bool rightAligned = false;
    bool fromBottom = false;
    int xOffset = 0;
    int yOffset = 0;
    int points = 12;
    int width = 0;  // character width passed to the font; 0: the font's own
    int weight = 400;
    bool italic = false;
    bool underline = false;
    std::uint32_t color = 0;  // red in the low byte
    int shadowOffset = 0;     // 0: no shadow
    std::uint32_t shadowColor = 0;
};

// The line whose fields `fields` holds (splitFields of the expanded entry, text quoted first):
// numbers read with parseNumber, colours written 0xRRGGBB turned red-low, empty or zero fields
// given their defaults. The texts point into `fields`, which must outlive the result.
BackgroundLine readBackgroundLine(const StringList& fields);

// Where lines go on a client area of `height` pixels. Top-aligned lines stack downwards and
// bottom-aligned ones upwards, each `yOffset` beyond the previous line of its side.
class BackgroundLineStack {
  public:
    explicit BackgroundLineStack(int height) : height_(height) {}
    // The top of a line `lineHeight` pixels high.
    int place(const BackgroundLine& line, int lineHeight);
    // The left edge of a line `lineWidth` pixels wide on a client area `clientWidth` wide.
    static int left(const BackgroundLine& line, int lineWidth, int clientWidth);

  private:
    int height_;
    int topStack_ = 0;
    int bottomStack_ = 0;
};

}  // namespace kelvara
