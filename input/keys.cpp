// keys.cpp: the keys of the game's actions: the player's controls and the fixed keys.
#include "input/keys.h"

#include "SDL.h"

struct KeyBinding {
    int key;
    Action action;
};

// The keys no player chooses: the menus', name entry's, and the Pause key beside the player's.
static const KeyBinding FixedKeys[] = {
    {SDLK_PAUSE, Pause},  {SDLK_ESCAPE, Leave},  {SDLK_RETURN, Confirm},  {SDLK_KP_ENTER, Confirm},
    {SDLK_BACKSPACE, Erase}, {SDLK_UP, MenuUp},  {SDLK_DOWN, MenuDown},   {SDLK_LEFT, MenuLeft},
    {SDLK_RIGHT, MenuRight},
};

void setDefaultControls(Controls &controls)
{
    const int32_t keys[ControlCount] = {SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_DOWN, SDLK_SPACE, SDLK_p};
    const int32_t buttons[ControlCount] = {-1, -1, 0, 1, 2, game.gamepad.startButton};
    for (int c = 0; c < ControlCount; c++) {
        controls.keys[c] = keys[c];
        controls.buttons[c] = buttons[c];
    }
}

uint32_t actionsOfKey(int key)
{
    uint32_t actions = 0;
    for (int c = 0; c < ControlCount; c++)
        if (game.controls.keys[c] == key)
            actions |= actionBit(c);
    for (const KeyBinding &binding : FixedKeys)
        if (binding.key == key)
            actions |= actionBit(binding.action);
    return actions;
}

std::string keyName(int key)
{
    if (key <= 0 || key >= SDLK_LAST)
        return "none";
    return SDL_GetKeyName(static_cast<SDLKey>(key));
}
