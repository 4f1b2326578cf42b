// font.cpp: reads a bitmap font's metrics file (characters, advances, glyph rectangles).
#include "text/font.h"

#include <filesystem>
#include <fstream>

#include "base/state.h"

// Reads one integer; the field keeps its value when nothing could be read.
static bool readInt(std::istream &in, int32_t &field)
{
    int32_t value = 0;
    if (!(in >> value))
        return false;
    field = value;
    return true;
}

// Two label words, which the reader skips.
static bool skipLabels(std::istream &in, std::string &labelWord)
{
    return static_cast<bool>(in >> labelWord >> labelWord);
}

void loadFont(BitmapFont &font, const std::string &folder, const std::string &file, int32_t spaceWidth)
{
    font.spaceWidth = spaceWidth;
    // A path of the game's is UTF-8 on every system (Windows opens it by its UTF-16 name).
    std::ifstream in(std::filesystem::u8path(game.programDir + folder + file));
    readFontMetrics(font, in);
}

void readFontMetrics(BitmapFont &font, std::istream &in)
{
    int32_t announced = 0;
    if (!skipLabels(in, font.labelWord) || !readInt(in, announced))
        return;
    // A glyph index is one byte: a longer list is cut to its first MaxGlyphs entries, whose
    // values are kept; the entries past them are read and dropped so the sections stay aligned.
    // A negative count lists nothing.
    int32_t count = announced < 0 ? 0 : announced;
    font.glyphCount = count < MaxGlyphs ? count : MaxGlyphs;

    if (!skipLabels(in, font.labelWord))
        return;
    for (int32_t k = 0; k < count; k++) {
        char ch;
        if (!(in >> ch))
            return;
        if (k < MaxGlyphs)
            font.glyphOfChar[static_cast<unsigned char>(ch)] = static_cast<uint8_t>(k);
    }

    if (!skipLabels(in, font.labelWord))
        return;
    for (int32_t k = 0; k < count; k++) {
        int32_t dropped;
        if (!readInt(in, k < MaxGlyphs ? font.advance[k] : dropped))
            return;
    }

    if (!skipLabels(in, font.labelWord))
        return;
    for (int32_t k = 0; k < count && k < MaxGlyphs; k++) {
        GlyphRect &rect = font.glyphRect[k];
        if (!readInt(in, rect.left) || !readInt(in, rect.top) || !readInt(in, rect.width) ||
            !readInt(in, rect.bottom))
            return;
    }
}
