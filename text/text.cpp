// text.cpp: measures, draws and hit-tests texts in a bitmap font; numbers as text.
#include "text/text.h"

#include "base/state.h"
#include "gfx/sprite.h"

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
    const int64_t screenHeight = 600;
    return static_cast<float>(tallest < screenHeight ? tallest : screenHeight);
}

int32_t measureText(BitmapFont &font, const std::string &text)
{
    font.boxX = font.sprite.x;
    font.boxY = font.sprite.y;
    float sum = 0.0f;
    for (char byte : text) {
        if (byte == ' ')
            sum += font.spaceWidth * font.scaleX;
        else
            sum += font.advance[glyphOf(font, byte)] * font.scaleX;
    }
    font.boxWidth = sum;
    font.boxHeight = lineHeight(font) * font.scaleY;
    return truncateToInt32(sum);
}

void drawText(BitmapFont &font, const std::string &text)
{
    Sprite &sprite = font.sprite;
    float startX = sprite.x;
    font.boxX = sprite.x;
    font.boxY = sprite.y;
    float boxHeight = lineHeight(font) * font.scaleY;
    float imageHeight = sprite.height;
    sprite.height = imageHeight * font.scaleY;

    for (char byte : text) {
        if (byte == ' ') {
            sprite.x += font.spaceWidth * font.scaleX;
            continue;
        }
        int glyph = glyphOf(font, byte);
        const GlyphRect &rect = font.glyphRect[glyph];
        sprite.srcX0 = rect.left;
        sprite.srcY0 = rect.top;
        sprite.srcX1 = rectRight(rect);
        sprite.srcY1 = rect.bottom;
        sprite.width = font.advance[glyph] * font.scaleX;
        updateTexCoords(sprite);
        drawSprite(sprite);
        sprite.x += sprite.width;
    }

    font.boxWidth = sprite.x - startX;
    font.boxHeight = boxHeight;
    sprite.height = imageHeight;
}

bool spriteContains(const BitmapFont &font, int32_t px, int32_t py)
{
    float x = static_cast<float>(px);
    float y = static_cast<float>(py);
    return font.boxX < x && x < font.boxX + font.boxWidth && font.boxY < y && y < font.boxY + font.boxHeight;
}

std::string intToText(int32_t n)
{
    return std::to_string(n);
}
