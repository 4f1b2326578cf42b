// screen_helpers.h: a whole start-up in the test's process, and real SDL events and keys for the screens.
#pragma once

#include <string>

#include "SDL.h"

// Starts the game in a fresh folder holding the media and, where given, opt.dat and dex.dll;
// then takes whatever the X server queued at start-up, so that a test's events come alone.
std::string startUpWith(const std::string &settings = "", const std::string &scores = "");

void pushMotion(int x, int y);
void pushButton(Uint8 button, int x, int y);
void pushKey(Uint8 type, SDLKey key);  // SDL_KEYDOWN or SDL_KEYUP
void pushQuit();

// Events still waiting in the queue.
int queuedEvents();

// The platform's held-key table, as the screens read it; tests press keys by writing it.
Uint8 *keyTable();

// The box of a text in the large font at `scale`, centred on x = 400 at `y`, as the menu places it.
struct TextBox {
    int x, y, w, h;
};
TextBox centredBox(const std::string &text, int y, float scale = 1.0f);

// The box of the value after an options label at (220, y).
TextBox valueBox(const std::string &label, const std::string &value, int y);
