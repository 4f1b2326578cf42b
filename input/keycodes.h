// keycodes.h: SDL's key codes and key table as the game's own key codes (base/keycodes.h), which
// are the classic SDL 1.2's on every system; the browser's SDL numbers its keys otherwise.
#pragma once

#include <cstdint>

#include "base/keycodes.h"

// The game's code of the key SDL calls `sdlKey`; 0 for a key the game has no code for.
int gameKey(int sdlKey);

// SDL's table of held keys as it stands now, by the game's codes: 1 where a key is held.
void readKeyTable(uint8_t table[KeyCodes]);
