// input.h: the input fence: the one place that reads SDL's events and held keys, as the game's actions.
#pragma once

#include "base/state.h"

// Starts a screen's frame: takes at most one event from the queue (none when `takeEvent` is
// false: it waits for a later frame), turns it into game.input, and reads which actions' keys
// are held. A pointer motion moves game.mouseX and game.mouseY.
void readInput(bool takeEvent);

// Whether this frame's event pressed or released a key of the action, and whether one is held.
bool pressed(Action action);
bool released(Action action);
bool held(Action action);

// The held keys of the action read as released until they are pressed anew: a key that did its
// work on one screen does not act again on the next.
void consume(Action action);

// Any held key that a page left "by any key" reads: the character keys (codes below 254), not
// the arrows, keypad, function or modifier keys. consumeHeldKeys consumes every one of them.
bool anyKeyHeld();
void consumeHeldKeys();
