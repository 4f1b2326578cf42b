// loop.h: start-up, the fixed 16 ms main loop, the frame of a screen, and the loop's pacing.
#pragma once

#include <cstdint>
#include <string>

const uint32_t FrameMs = 16;

// A schedule this far behind the clock (a suspended machine, a debugger) starts afresh.
const uint32_t ResyncAfterMs = 1000;

// The longest a pass sleeps: a pass, and the millisecond by which the classic library's counter
// now and then reads late (it rounds the wrong way for part of every second). A schedule
// further ahead than that (the clock was set back) starts afresh too.
const uint32_t LongestWaitMs = FrameMs + 1;

// Everything before the main loop, from the program's path to the first screen (app/startup.cpp);
// where no window can be made, it stops there, for main() to say so.
void startUp(const char *argv0);

// One frame of the current screen, from an empty view, in three steps: its input (input/), its
// update (game/, menu/), then the sounds and the pointer it asked for, and the window's close.
// The picture it leaves in game.view is drawn by the pass.
void runScreen();

// The screens of a pass: every screen whose turn it is, each from an empty view, then whether
// something outside ended the game. The picture of the last one is left in game.view.
void runScreens();

// The picture of game.view, drawn and swapped unless the window shows it already (keepPicture).
void showPicture();

// One pass: its screens, its picture, a window that must be built anew, and the sleep until the
// next pass (app/loop_desktop.cpp). The browser runs the screens of every pass due when it asks
// for a picture, and shows the last one's (app/loop_web.cpp).
void runPass();

// Passes until a screen clears `running`. In the browser it returns at once, and the page calls
// the passes from then on.
void mainLoop();

// The game was ended from outside (its window or the connection to it lost, a hang-up, SIGQUIT):
// the log says `why`, and it ends as closed, keeping what a close keeps.
void endFromOutside(const std::string &why);

// Where the schedule stands before a pass sleeps: unchanged, or restarted at `now` when it
// fell more than ResyncAfterMs behind or is more than LongestWaitMs ahead.
uint32_t resyncSchedule(uint32_t nextFrameDue, uint32_t now);

// How long a pass sleeps: until `nextFrameDue`, LongestWaitMs at most, or not at all when it is
// already due.
uint32_t frameWait(uint32_t nextFrameDue, uint32_t now);

// The end of every pass, with the clock read at `now`: moves game.nextFrameDue on by one pass
// and returns how long to sleep first.
uint32_t advanceSchedule(uint32_t now);
