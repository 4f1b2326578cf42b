// font.h: bitmap fonts read from a metrics file.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

#include "base/state.h"

// Reads programDir + folder + file into the glyph tables; the image comes later by loadTexture.
void loadFont(BitmapFont &font, const std::string &folder, const std::string &file, int32_t spaceWidth);

// The glyph tables from any stream over those in `font`; what cannot be read keeps its value.
void readFontMetrics(BitmapFont &font, std::istream &in);
