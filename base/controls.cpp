// controls.cpp: the keys and gamepad buttons a player's control may take, and putting one on it.
#include "base/controls.h"

// SDL's key codes are what the controls hold and controls.dat keeps; nothing of SDL is called here.
#include "SDL_keysym.h"

bool keyReserved(int key)
{
    return key == SDLK_ESCAPE || key <= 0 || key >= SDLK_LAST;
}

bool controlButton(int32_t button)
{
    return button >= -1 && button < GamepadButtons;
}

void assignControl(Controls &controls, int control, int key, int button)
{
    int32_t *slots = key ? controls.keys : controls.buttons;
    int32_t value = key ? key : button;
    for (int other = 0; other < ControlCount; other++)
        if (other != control && slots[other] == value)
            slots[other] = slots[control];
    slots[control] = value;
}
