// screen_helpers.cpp: a whole start-up in the test's process, and real SDL events and keys for the screens.
#include "screen_helpers.h"

#include <gtest/gtest.h>

#include "app/loop.h"
#include "app/state.h"
#include "helpers.h"
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
    SDL_Event event;
    for (int i = 0; i < 10; i++) {
        SDL_Delay(10);
        while (SDL_PollEvent(&event) == 1) {
        }
    }
    return dir;
}

static void push(SDL_Event &event)
{
    if (SDL_PushEvent(&event) != 0)
        ADD_FAILURE_AT(__FILE__, __LINE__);
}

void pushMotion(int x, int y)
{
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = static_cast<Uint16>(x);
    event.motion.y = static_cast<Uint16>(y);
    push(event);
}

void pushButton(Uint8 button, int x, int y)
{
    SDL_Event event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = button;
    event.button.state = SDL_PRESSED;
    event.button.x = static_cast<Uint16>(x);
    event.button.y = static_cast<Uint16>(y);
    push(event);
}

void pushKey(Uint8 type, SDLKey key)
{
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    push(event);
}

void pushQuit()
{
    SDL_Event event{};
    event.type = SDL_QUIT;
    push(event);
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

TextBox centredBox(const std::string &text, int y, float scale)
{
    BitmapFont &font = game.largeFont;
    font.scaleX = font.scaleY = scale;
    int w = measureText(font, text);
    return {400 - w / 2, y, w, static_cast<int>(font.sprite.height * scale)};
}

TextBox valueBox(const std::string &label, const std::string &value, int y)
{
    BitmapFont &font = game.largeFont;
    font.scaleX = font.scaleY = 1.0f;
    int x = 220 + measureText(font, label);
    return {x, y, measureText(font, value), static_cast<int>(font.sprite.height)};
}
