// screen_helpers.cpp: where the menus place their texts, for the tests that point at them.
#include "screen_helpers.h"

#include "base/state.h"
#include "text/font.h"
#include "text/text.h"

// The large font; a test without a window reads its metrics alone.
static BitmapFont &largeFont()
{
    BitmapFont &font = game.largeFont;
    if (font.glyphCount == 0) {
        game.programDir = std::string(TAVIREL_SOURCE_DIR) + "/";
        loadFont(font, "media/", "bobcat36.txt", 16);
        font.sprite.height = 36;  // the height of bobcat36.png
    }
    return font;
}

PlaceBox centredBox(const std::string &text, int y, float scale)
{
    BitmapFont &font = largeFont();
    int w = measureText(font, text, scale);
    return {400 - w / 2, y, w, static_cast<int>(font.sprite.height * scale)};
}

PlaceBox valueBox(const std::string &label, const std::string &value, int y)
{
    BitmapFont &font = largeFont();
    return {220 + measureText(font, label, 1.0f), y, measureText(font, value, 1.0f), static_cast<int>(font.sprite.height)};
}
