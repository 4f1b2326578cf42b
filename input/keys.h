// keys.h: which keys stand for which of the game's actions.
#pragma once

#include "base/state.h"

struct KeyBinding {
    int key;        // an SDL key code
    Action action;
};

// Every key the game reads, with its action; an action may have several keys.
extern const KeyBinding KeyBindings[];
extern const int KeyBindingCount;

// The action of a key, or ActionCount for a key that stands for none.
Action actionOfKey(int key);
