// controls.h: the keys and gamepad buttons a player's control may take, and putting one on it.
#pragma once

#include <cstdint>

#include "base/state.h"

// The gamepad buttons the game follows: 0 up to this one.
const int32_t GamepadButtons = 32;

// Keys that cannot be one of the player's controls: Escape leaves whatever the controls are, and
// a code that is no key at all (0, or KeyCodes and above).
bool keyReserved(int key);

// A button a control may have: one the game follows, or -1 for none.
bool controlButton(int32_t button);

// Puts `key` (or, when `key` is 0, `button`) on `control`; the control that had it gets the
// control's old one in its place. So no key and no button is ever on two controls.
void assignControl(Controls &controls, int control, int key, int button);
