// text.h: measuring, drawing and hit-testing texts in a bitmap font, and numbers as text.
#pragma once

#include <cstdint>
#include <string>

#include "base/state.h"

// Width in whole pixels at the font's scale; sets the font's box, leaves the pen where it was.
int32_t measureText(BitmapFont &font, const std::string &text);

// Draws from the pen position, sets the box and leaves the pen at the end of the text.
void drawText(BitmapFont &font, const std::string &text);

// Whether the point lies strictly inside the font's box.
bool spriteContains(const BitmapFont &font, int32_t px, int32_t py);

// The decimal text of n.
std::string intToText(int32_t n);
