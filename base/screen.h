// screen.h: changing screen or page, with the music that goes with the new one.
#pragma once

#include "base/state.h"

// Goes to `screen` and its `page` at once (the first item lit when the keys lit one on the old
// page), so that a screen the main loop runs later in the same
// pass is the new one. Asks for the music of the change (served after the screen's frame): the
// game's music for a new game; the menu's, from its beginning, when a game is left or over, after
// the last level, and when the options page is left; none otherwise.
void changeScreen(ScreenName screen, PageName page);
