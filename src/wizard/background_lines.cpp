#include "wizard/background_lines.h"

#include "formats/script_format.h"
#include "runtime/string_list.h"
#include "runtime/text_case.h"
#include "runtime/text_utils.h"

namespace kelvara {
namespace {

enum LineField {
    kFieldText,
    kFieldHorizontal,
    kFieldVertical,
    kFieldX,
    kFieldY,
    kFieldFace,
    kFieldPoints,
    kFieldWidth,
    kFieldWeight,
    kFieldItalic,
    kFieldUnderline,
    kFieldColor,
    kFieldShadow,
    kFieldShadowColor,
};

constexpr int kWeightStep = 100;  // the field gives the weight in hundreds

bool equalsIgnoringCase(const char* text, const char* word) {
    return text && compareTextNoCase(text, word) == 0;
}

// A colour field, written 0xRRGGBB in the script.
std::uint32_t color(const StringList& fields, int field) {
    return rgbNumberToColor(static_cast<std::uint32_t>(parseNumber(fields.get(field))));
}

int number(const StringList& fields, int field) {
    return parseNumber(fields.get(field));
}

}  // namespace

BackgroundLine readBackgroundLine(const StringList& fields) {
    BackgroundLine line;
    if (const char* text = fields.get(kFieldText)) line.text = text;
    line.rightAligned = equalsIgnoringCase(fields.get(kFieldHorizontal), "right");
    line.fromBottom = equalsIgnoringCase(fields.get(kFieldVertical), "bottom");
    line.xOffset = number(fields, kFieldX);
    line.yOffset = number(fields, kFieldY);
    const char* face = fields.get(kFieldFace);
    if (face && *face) line.face = face;
    if (const int points = number(fields, kFieldPoints)) line.points = points;
    line.width = number(fields, kFieldWidth);
    if (const int weight = number(fields, kFieldWeight)) line.weight = weight * kWeightStep;
    line.italic = number(fields, kFieldItalic) != 0;
    line.underline = number(fields, kFieldUnderline) != 0;
    line.color = color(fields, kFieldColor);
    line.shadowOffset = number(fields, kFieldShadow);
    line.shadowColor = color(fields, kFieldShadowColor);
    return line;
}

int BackgroundLineStack::place(const BackgroundLine& line, int lineHeight) {
    if (line.fromBottom) {
        const int bottom = height_ - line.yOffset - bottomStack_;
        bottomStack_ = height_ - (bottom - lineHeight);
        return bottom - lineHeight;
    }
    const int top = line.yOffset + topStack_;
    topStack_ = top + lineHeight;
    return top;
}

int BackgroundLineStack::left(const BackgroundLine& line, int lineWidth, int clientWidth) {
    return line.rightAligned ? clientWidth - lineWidth - line.xOffset : line.xOffset;
}

}  // namespace kelvara
