// gameprocess.h: the built game run as a process of its own, and its window found on the X server.
#pragma once

#include <string>
#include <sys/types.h>

// Starts the executable `exe` with `argv0` as its path, as a player would start it from there.
pid_t startGame(const std::string &argv0, const std::string &exe);

// Copies the built game into `dir` and starts it from there.
pid_t startGameIn(const std::string &dir);

// Copies the built game into `dir` and starts it by name through PATH, in the working folder
// `workDir`.
pid_t startGameThroughPath(const std::string &dir, const std::string &workDir);

// The exit status once the process ends, or -1 if it is still running after `timeoutMs`
// (it is then killed).
int waitForExit(pid_t pid, int timeoutMs);

// The top-level window that the process maps, or 0 if none appears within `timeoutMs`.
unsigned long findWindowOf(pid_t pid, int timeoutMs);

// Whether the screen shows anything but black within `timeoutMs`: the game has drawn a frame.
// (Each test has an X server of its own, so the game is all there is on it.)
bool waitForPicture(int timeoutMs);

std::string windowName(unsigned long window);
void windowSize(unsigned long window, int &width, int &height);

// Asks the window to close, as a window manager's close button does.
void closeWindow(unsigned long window);
