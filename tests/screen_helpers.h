// screen_helpers.h: a whole start-up in the test's process, and real SDL events and keys for the screens.
#pragma once

#include <string>

#include "SDL.h"

// Starts the game in a fresh folder holding the media and, where given, opt.dat and dex.dll;
// waits for the window's focus, then takes whatever the X server queued, so that a test's
// events come alone and the keys it writes stay written.
std::string startUpWith(const std::string &settings = "", const std::string &scores = "");

// Queues a real event: motion to (a, b), a press of button a, a key press or release of key a, a quit.
void pushEvent(Uint8 type, int a = 0, int b = 0);

// Events still waiting in the queue.
int queuedEvents();

// The platform's held-key table, as the screens read it; tests press keys by writing it.
Uint8 *keyTable();

// Where the game places a text of the large font at `y` (scale 1 unless given): centred on
// x = 400, or right after `label` drawn at x = 220. Loads the font's metrics if need be.
struct TextBox {
    int x, y, w, h;
};
TextBox centredBox(const std::string &text, int y, float scale = 1.0f);
TextBox valueBox(const std::string &label, const std::string &value, int y);
