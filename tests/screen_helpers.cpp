// screen_helpers.cpp: the intro and game-over screens' tests: a start-up ready for events and
// keys, and where the menus place their texts.
#include "screen_helpers.h"

#include "base/state.h"
#include "support.h"
#include "text/font.h"
#include "text/text.h"

std::string startUpWith(const std::string &settings, const std::string &controls)
{
    std::string dir = startUpIn(settings, false, controls);
    EXPECT_TRUE(waitForAppState(FullFocus, 0));
    for (SDL_Event stale; SDL_PollEvent(&stale) == 1;) {
    }
    return dir;
}

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
