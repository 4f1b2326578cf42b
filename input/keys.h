// keys.h: which keys and gamepad buttons stand for which of the game's actions.
#pragma once

#include <cstdint>
#include <string>

#include "base/state.h"

// The player's controls as the game comes: the arrows, Space and P; the gamepad's first three
// buttons and its Start.
void setDefaultControls(Controls &controls);

// Every action a key stands for, as bits: the player's controls and the fixed keys.
uint32_t actionsOfKey(int key);

// Keys that cannot be one of the player's controls: Escape leaves whatever the controls are.
bool keyReserved(int key);

// A key's name as the controls page shows it.
std::string keyName(int key);

// Puts `key` (or, when `key` is 0, `button`) on `control`; the control that had it gets the
// control's old one in its place.
void assignControl(Controls &controls, int control, int key, int button);
