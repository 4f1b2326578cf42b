// screen_helpers.h: where the menus place their texts, for the tests that point at them.
#pragma once

#include <string>

// Where the game places a text of the large font at `y` (scale 1 unless given): centred on
// x = 400, or right after `label` drawn at x = 220. Loads the font's metrics if need be.
struct PlaceBox {
    int x, y, w, h;
};
PlaceBox centredBox(const std::string &text, int y, float scale = 1.0f);
PlaceBox valueBox(const std::string &label, const std::string &value, int y);
