// input.h: the input fence: the one place that reads SDL's events, held keys and gamepad, as the
// game's actions.
#pragma once

#include "base/state.h"

// How a screen's frame reads its input.
struct InputRule {
    bool takeEvent;    // at most one event from the queue; none: it waits for a later frame
    bool watchPause;   // pause keys and buttons go down in any frame and type nothing
};

// Starts a screen's frame: looks at the queue (following the gamepad and, when watched, the
// pause keys in every frame), takes at most one other event and turns it into game.input, and
// reads which actions' keys and buttons are held. A pointer motion moves game.mouseX and
// game.mouseY. While no event is taken, the held keys stand as the last frame that took one left
// them, and the gamepad's presses wait for that frame.
void readInput(InputRule rule);

// Whether this frame's event pressed or released a key of the action, and whether one is held.
bool pressed(Action action);
bool released(Action action);
bool held(Action action);

// The held keys and buttons of the action read as released until they are pressed anew: a key
// that did its work on one screen does not act again on the next.
void consume(Action action);

// Any held key that a page left "by any key" reads: the character keys (codes below 254), not
// the arrows, keypad, function or modifier keys. consumeHeldKeys consumes every one of them.
bool anyKeyHeld();
void consumeHeldKeys();
