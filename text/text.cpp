// text.cpp: measures, draws and hit-tests texts in a bitmap font; numbers as text.
#include "text/text.h"

#include "base/config.h"

// The glyph drawn for a byte; every byte maps to one of the MaxGlyphs glyphs.
static int glyphOf(const BitmapFont &font, char byte)
{
    int glyph = font.glyphOfChar[static_cast<unsigned char>(byte)];
    return glyph < MaxGlyphs ? glyph : 0;
}

// Truncation toward zero, held inside 32 bits for absurd widths from a damaged metrics file.
static int32_t truncateToInt32(float value)
{
    if (!(value > -2147483648.0f))
        return value != value ? 0 : INT32_MIN;
    if (value >= 2147483648.0f)
        return INT32_MAX;
    return static_cast<int32_t>(value);
}

// left + width of a glyph rectangle without overflowing.
static int32_t rectRight(const GlyphRect &rect)
{
    int64_t right = static_cast<int64_t>(rect.left) + rect.width;
    if (right > INT32_MAX)
        return INT32_MAX;
    if (right < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(right);
}

// The height of a line at scale 1: the font picture's. A font whose picture did not load keeps
// the height of its tallest glyph from the metrics, so that its texts, though unseen, still have
// a box, and a menu item written in it can still be clicked.
static float lineHeight(const BitmapFont &font)
{
    if (font.sprite.height > 0.0f)
        return font.sprite.height;
    int64_t tallest = 0;
    for (int32_t glyph = 0; glyph < font.glyphCount && glyph < MaxGlyphs; glyph++) {
        int64_t height = static_cast<int64_t>(font.glyphRect[glyph].bottom) - font.glyphRect[glyph].top;
        if (height > tallest)
            tallest = height;
    }
    return static_cast<float>(tallest < ScreenHeight ? tallest : ScreenHeight);
}

float textWidth(const BitmapFont &font, const std::string &text, float scale)
{
    float sum = 0.0f;
    for (char byte : text) {
        if (byte == ' ')
            sum += font.spaceWidth * scale;
        else
            sum += font.advance[glyphOf(font, byte)] * scale;
    }
    return sum;
}

int32_t measureText(const BitmapFont &font, const std::string &text, float scale)
{
    return truncateToInt32(textWidth(font, text, scale));
}

TextBox textBox(const BitmapFont &font, const std::string &text, float x, float y, float scale)
{
    return {x, y, textWidth(font, text, scale), lineHeight(font) * scale};
}

TextBox centredBox(const BitmapFont &font, const std::string &text, int32_t centre, float y, float scale)
{
    float x = static_cast<float>(centre - measureText(font, text, scale) / 2);
    return textBox(font, text, x, y, scale);
}

bool boxContains(const TextBox &box, int32_t px, int32_t py)
{
    float x = static_cast<float>(px);
    float y = static_cast<float>(py);
    return box.x < x && x < box.x + box.width && box.y < y && y < box.y + box.height;
}

float drawText(const BitmapFont &font, const std::string &text, float x, float y, float scale, Colour colour)
{
    // Each glyph is a piece of the font picture as tall as the picture, as wide as its advance.
    Sprite glyph = font.sprite;
    glyph.x = x;
    glyph.y = y;
    glyph.height = font.sprite.height * scale;
    for (char byte : text) {
        if (byte == ' ') {
            glyph.x += font.spaceWidth * scale;
            continue;
        }
        int index = glyphOf(font, byte);
        const GlyphRect &rect = font.glyphRect[index];
        glyph.srcX0 = rect.left;
        glyph.srcY0 = rect.top;
        glyph.srcX1 = rectRight(rect);
        glyph.srcY1 = rect.bottom;
        glyph.width = font.advance[index] * scale;
        updateTexCoords(glyph);
        drawSprite(glyph, colour);
        glyph.x += glyph.width;
    }
    return glyph.x;
}

void drawTextIn(const BitmapFont &font, const std::string &text, const TextBox &box, float scale, Colour colour)
{
    drawText(font, text, box.x, box.y, scale, colour);
}

void drawCentred(const BitmapFont &font, const std::string &text, int32_t centre, float y, float scale, Colour colour)
{
    drawTextIn(font, text, centredBox(font, text, centre, y, scale), scale, colour);
}

void drawScreenCentred(const std::string &text, float y, float scale, Colour colour)
{
    drawCentred(game.largeFont, text, ScreenWidth / 2, y, scale, colour);
}

std::string intToText(int32_t n)
{
    return std::to_string(n);
}
