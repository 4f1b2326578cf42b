// keys.cpp: the table of keys and the actions they stand for.
#include "input/keys.h"

#include "SDL.h"

const KeyBinding KeyBindings[] = {
    {SDLK_LEFT, MoveLeft}, {SDLK_RIGHT, MoveRight}, {SDLK_UP, Turn},          {SDLK_DOWN, TurnBack},
    {SDLK_SPACE, Drop},    {SDLK_ESCAPE, Leave},    {SDLK_RETURN, Confirm},   {SDLK_KP_ENTER, Confirm},
    {SDLK_BACKSPACE, Erase},
};
const int KeyBindingCount = sizeof KeyBindings / sizeof KeyBindings[0];

Action actionOfKey(int key)
{
    for (const KeyBinding &binding : KeyBindings)
        if (binding.key == key)
            return binding.action;
    return ActionCount;
}
