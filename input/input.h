// input.h: the input fence: the one place that reads SDL's events, held keys and gamepad, as the
// game's actions.
#pragma once

#include "base/state.h"

// How a screen's frame reads its input.
struct InputRule {
    bool takeEvent;    // at most one event from the queue; none: it waits for a later frame
    bool watchPause;   // pause keys and buttons go down in any frame and type nothing
};

// Starts a screen's frame. Takes what SDL has into the fence's own queue, following the gamepad
// and, when watched, the pause keys at once; then, in a frame that takes an event, looks at the
// keys (game.fence.table becomes SDL's table as it is now) and takes the oldest event waiting into
// game.input. In a frame that takes none, the keys and the gamepad read as they stood at the last
// look, and every event waits. A pointer motion taken moves game.mouseX and game.mouseY.
void readInput(InputRule rule);

// Ends a screen's frame: every key and button that an acting read below answered yes for is
// spent until it is let go. Called once after the screen's update.
void spendInput();

// The reads below change nothing: within a frame each answers the same however often and in
// whatever order it is asked.
//
// Keys act once. A key or button that made something happen (opened or left a page, chose an
// item, stopped a wait) is spent until it is let go: it reads as neither pressed nor held, so that
// the page it led to does not take it again. The acting reads (pressed, padPressed, keyPressed,
// buttonPressed, heldOnce, anyKeyHeld) say what the frame acted on: what they answer yes for is
// spent by spendInput. `held` is for what acts again and again while a key stays down (the block's
// moves and drop) and spends nothing; releases and clicks leave nothing held to spend.
//
// A press belongs to the screen and page it came to: once the frame changes either, the rest of
// the frame reads no press, no click and nothing held to act on.

// Whether this frame's event pressed a key or gamepad button of the action.
bool pressed(Action action);

// Whether this frame's event pressed a gamepad button (or pad direction) of the action.
bool padPressed(Action action);

// The key that went down in this frame's event, or 0; the gamepad's button, or -1.
int keyPressed();
int buttonPressed();

// Whether this frame's event let go of a key of the action.
bool released(Action action);

// The character of the key let go in this frame's event (codes 1 to 255), or 0.
int typed();

// Whether this frame's event was a left click.
bool clicked();

// Whether a key or button of the action is held and not spent, for what acts once while it is.
bool heldOnce(Action action);

// Whether a key or button of the action is held and not spent, for what acts on every frame it is.
bool held(Action action);

// Whether any character key (codes below FirstNonCharacterKey: not the arrows, keypad, function or
// modifier keys) is held and not spent; all of them are spent.
bool anyKeyHeld();
