// screen_helpers.cpp: a whole start-up in the test's process, and real SDL events and keys for the screens.
#include "screen_helpers.h"

#include <gtest/gtest.h>

#include "app/loop.h"
#include "app/state.h"
#include "focus_helpers.h"
#include "helpers.h"
#include "text/font.h"
#include "text/text.h"

std::string startUpWith(const std::string &settings, const std::string &scores)
{
    std::string dir = makeTempDir();
    copyMedia(dir);
    if (!settings.empty())
        writeFile(dir + "opt.dat", settings);
    if (!scores.empty())
        writeFile(dir + "dex.dll", scores);
    startUp((dir + "tavirel").c_str());
    game.logFile.flush();
    // Gaining the focus reloads the key table from the X server: keys are written after it.
    EXPECT_TRUE(waitForAppState(FullFocus, 0));
    for (SDL_Event stale; SDL_PollEvent(&stale) == 1;) {
    }
    return dir;
}

void pushEvent(Uint8 type, int a, int b)
{
    SDL_Event event{};
    event.type = type;
    event.motion.x = static_cast<Uint16>(a);
    event.motion.y = static_cast<Uint16>(b);
    if (type == SDL_MOUSEBUTTONDOWN)
        event.button.button = static_cast<Uint8>(a);
    if (type == SDL_KEYDOWN || type == SDL_KEYUP)
        event.key.keysym.sym = static_cast<SDLKey>(a);
    EXPECT_EQ(SDL_PushEvent(&event), 0);
}

int queuedEvents()
{
    SDL_Event events[64];
    return SDL_PeepEvents(events, 64, SDL_PEEKEVENT, SDL_ALLEVENTS);
}

Uint8 *keyTable()
{
    return SDL_GetKeyState(nullptr);
}

// The large font at `scale`; a test without a window reads its metrics alone.
static BitmapFont &largeFont(float scale)
{
    BitmapFont &font = game.largeFont;
    if (font.glyphCount == 0) {
        game.programDir = std::string(TAVIREL_SOURCE_DIR) + "/";
        loadFont(font, "media/", "bobcat36.txt", 16);
        font.sprite.height = 36;  // the height of bobcat36.png
    }
    font.scaleX = font.scaleY = scale;
    return font;
}

TextBox centredBox(const std::string &text, int y, float scale)
{
    BitmapFont &font = largeFont(scale);
    int w = measureText(font, text);
    return {400 - w / 2, y, w, static_cast<int>(font.sprite.height * scale)};
}

TextBox valueBox(const std::string &label, const std::string &value, int y)
{
    BitmapFont &font = largeFont(1.0f);
    return {220 + measureText(font, label), y, measureText(font, value), static_cast<int>(font.sprite.height)};
}
