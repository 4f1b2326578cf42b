// picture.h: a frame's picture: drawn from game.view, or kept when the window shows it already.
#pragma once

#include "base/state.h"

// Draws the picture of a view into the back buffer.
void drawView(const View &view);

// Draws the last frame's picture unless the window shows that very picture already; false when
// the picture was kept.
bool drawPicture();

// The window does not show the last picture any more (it was built anew): the next frame draws.
void forgetPicture();
