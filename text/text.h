// text.h: measuring, drawing and hit-testing texts in a bitmap font, and numbers as text.
#pragma once

#include <cstdint>
#include <string>

#include "base/state.h"
#include "gfx/sprite.h"

// Where a text lies on the screen: from its pen position, as wide as its glyphs' advances.
struct TextBox {
    float x;
    float y;
    float width;
    float height;
};

// The width of a text at `scale`: exact, and in whole pixels (truncated).
float textWidth(const BitmapFont &font, const std::string &text, float scale);
int32_t measureText(const BitmapFont &font, const std::string &text, float scale);

// The box of a text drawn from (x, y) at `scale`.
TextBox textBox(const BitmapFont &font, const std::string &text, float x, float y, float scale);

// The box of a text centred on x = `centre`: its left edge at centre - w / 2, w being its
// whole-pixel width and the halving truncating.
TextBox centredBox(const BitmapFont &font, const std::string &text, int32_t centre, float y, float scale);

// Whether the point lies strictly inside the box.
bool boxContains(const TextBox &box, int32_t px, int32_t py);

// Draws a text from (x, y) at `scale` in `colour`; returns the x at which it ends.
float drawText(const BitmapFont &font, const std::string &text, float x, float y, float scale, Colour colour);

// Draws a text in its box (textBox or centredBox) at `scale` in `colour`.
void drawTextIn(const BitmapFont &font, const std::string &text, const TextBox &box, float scale, Colour colour);

// Draws a text centred on x = `centre` as centredBox places it.
void drawCentred(const BitmapFont &font, const std::string &text, int32_t centre, float y, float scale, Colour colour);

// Draws a text in the large font centred on the screen's middle.
void drawScreenCentred(const std::string &text, float y, float scale, Colour colour);

// The decimal text of n.
std::string intToText(int32_t n);
