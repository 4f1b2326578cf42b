// screen_helpers.h: the intro and game-over screens' tests: a start-up ready for events and keys,
// and where the menus place their texts.
#pragma once

#include <string>

// startUpIn with the given opt.dat and controls.dat, then waits for the window's focus (which
// reloads the key table) and takes whatever the X server queued, so that a test's events come
// alone and the keys it writes stay written.
std::string startUpWith(const std::string &settings = "", const std::string &controls = "");

// Where the game places a text of the large font at `y` (scale 1 unless given): centred on
// x = 400, or right after `label` drawn at x = 220. Loads the font's metrics if need be.
struct PlaceBox {
    int x, y, w, h;
};
PlaceBox centredBox(const std::string &text, int y, float scale = 1.0f);
PlaceBox valueBox(const std::string &label, const std::string &value, int y);
