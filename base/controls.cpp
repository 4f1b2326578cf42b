// controls.cpp: the keys and gamepad buttons a player's control may take, and putting one on it.
#include "base/controls.h"

#include "base/keycodes.h"

bool keyReserved(int key)
{
    return key == KeyEscape || key <= 0 || key >= KeyCodes;
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
