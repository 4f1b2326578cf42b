// picture_cases.h: every screen in the known state of its reference picture in tests/pictures/,
// for the picture test here and the same pictures drawn by the Windows build under Wine.
#pragma once

#include <functional>
#include <vector>

#include "base/state.h"

struct PictureCase {
    const char *name;            // tests/pictures/NAME.png
    ScreenName screen;           // the screen it shows
    std::function<void()> show;  // puts the game into the state, from that of startFresh
};

// The screens, each shown after startFresh; the game-over case runs its last frame of play.
// The fonts must be loaded (the places of the menus' texts are measured with them).
std::vector<PictureCase> pictureCases();

// What every case starts from: the main page at rest, the controls and settings as the game
// comes, no game, and the table of the reference pictures (three rows of the players' own).
void startFresh();
