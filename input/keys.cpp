// keys.cpp: the keys of the game's actions: the player's controls and the fixed keys.
#include "input/keys.h"

struct KeyBinding {
    int key;
    Action action;
};

// The keys no player chooses: the menus', name entry's, and the Pause key beside the player's.
static const KeyBinding FixedKeys[] = {
    {KeyPause, Pause},      {KeyEscape, Leave}, {KeyReturn, Confirm},  {KeyPadEnter, Confirm},
    {KeyBackspace, Erase},  {KeyUp, MenuUp},    {KeyDown, MenuDown},   {KeyLeft, MenuLeft},
    {KeyRight, MenuRight},
};

void setDefaultControls(Controls &controls)
{
    const int32_t keys[ControlCount] = {KeyLeft, KeyRight, KeyUp, KeyDown, KeySpace, KeyP};
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
