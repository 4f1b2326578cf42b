// keycodes_desktop.cpp: on Linux and Windows SDL's key codes are the game's own.
#include "input/keycodes.h"

#include <cstring>

#include "SDL.h"

static_assert(SDLK_LAST == KeyCodes, "the game's key codes are the classic library's");

int gameKey(int sdlKey)
{
    return sdlKey > 0 && sdlKey < KeyCodes ? sdlKey : 0;
}

void readKeyTable(uint8_t table[KeyCodes])
{
    int count = 0;
    const Uint8 *keys = SDL_GetKeyState(&count);
    count = count < KeyCodes ? count : KeyCodes;
    std::memset(table, 0, KeyCodes);
    std::memcpy(table, keys, static_cast<size_t>(count));
    table[0] = 0;
}
