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

// Keys and buttons act once: one that made something happen is spent until it is let go. It
// then reads neither as pressed nor as held, and leaves no page, so that the page it opened or
// went back to does not take it again. Reading a press (pressed, keyPressed, buttonPressed)
// spends it, and so does taking a held key (takeHeld, takeAnyKey); held, which the play screen
// reads for its moves and drop again and again while the keys stay down, does not. A key let go
// acts again when it is pressed anew, and its release (released, game.input.typed) is read as
// any other.
//
// A press belongs to the screen and page it came to: once the frame changes either, the rest of
// the frame reads no press and no click.

// Whether this frame's event pressed a key or button of the action; it is then spent.
bool pressed(Action action);

// Whether this frame's event let go of a key of the action.
bool released(Action action);

// Whether a key or button of the action is held, and not spent.
bool held(Action action);

// Whether a key or button of the action is held and not spent; it is then spent.
bool takeHeld(Action action);

// Whether this frame's event was a left click.
bool clicked();

// The key that went down in this frame's event, or 0; spent. The gamepad's button that went
// down, or -1; spent.
int keyPressed();
int buttonPressed();

// Whether any character key (codes below 254: not the arrows, keypad, function or modifier
// keys) is held and not spent; every one held is then spent.
bool takeAnyKey();
