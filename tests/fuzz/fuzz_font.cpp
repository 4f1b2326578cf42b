// fuzz_font.cpp: libFuzzer target for the font metrics reader and the measuring that uses its tables.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "base/state.h"
#include "text/font.h"
#include "text/text.h"

static void fail(const char *what, int value)
{
    std::fprintf(stderr, "%s (%d)\n", what, value);
    std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A font as at its first load: zero-filled, on the heap so that the tables have no
    // neighbours in the game record to hide a read past their end.
    BitmapFont *font = new BitmapFont{};
    font->spaceWidth = 16;
    std::istringstream file(std::string(reinterpret_cast<const char *>(data), size));
    readFontMetrics(*font, file);

    if (font->glyphCount < 0 || font->glyphCount > MaxGlyphs)
        fail("glyph count outside the tables", font->glyphCount);
    // Every byte draws a glyph that the file described, or glyph 0 where it listed none.
    for (int byte = 0; byte < 256; byte++) {
        int glyph = font->glyphOfChar[byte];
        if (glyph != 0 && glyph >= font->glyphCount)
            fail("a character maps past the glyphs read", byte);
    }
    // Measuring every byte at an odd scale goes through every table entry a text can reach.
    std::string everyByte;
    for (int byte = 0; byte < 256; byte++)
        everyByte += static_cast<char>(byte);
    measureText(*font, everyByte, 1.37f);
    measureText(*font, std::string(reinterpret_cast<const char *>(data), size < 64 ? size : 64), 1.37f);
    delete font;
    return 0;
}
