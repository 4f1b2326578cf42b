// support_x.cpp: real input through the X server (xdotool), and waiting for SDL to see it.
#include "support.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <cstdlib>
#include <stdexcept>

#include "SDL.h"
#include "SDL_syswm.h"

bool xdotool(const std::string &arguments)
{
    return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

void realKey(const std::string &name, bool down)
{
    static Display *keyboard = nullptr;
    if (!keyboard) {
        keyboard = XOpenDisplay(nullptr);
        if (!keyboard)
            throw std::runtime_error("no X server for the keys");
        XAutoRepeatOff(keyboard);
    }
    KeyCode code = XKeysymToKeycode(keyboard, XStringToKeysym(name.c_str()));
    if (code == 0)
        throw std::runtime_error("no key " + name);
    XTestFakeKeyEvent(keyboard, code, down ? True : False, CurrentTime);
    XSync(keyboard, False);
    syncWithXServer();
}

bool onWindow(const std::string &caption, const std::string &command)
{
    return xdotool("search --name '^" + caption + "$' " + command);
}

bool realKeys(const std::string &command)
{
    return xdotool(command) && waitForAppState(0, 0);
}

// SDL 1.2's X11 driver, a while after a fullscreen window gains or loses the keyboard, leaves or
// re-enters fullscreen on its own, grabbing the keyboard and the pointer; it does so only in an
// event pump that finds no new events once that while is over. So this pumps only until the
// awaited state shows, and first waits for the X server to deliver everything it has for SDL:
// the first pump then always has news, and no such switch falls between two steps of a test,
// however loaded the machine is.
void syncWithXServer()
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) == 1 && info.subsystem == SDL_SYSWM_X11) {
        info.info.x11.lock_func();
        XSync(info.info.x11.display, False);
        info.info.x11.unlock_func();
    }
}

bool waitForAppState(uint8_t present, uint8_t absent)
{
    syncWithXServer();
    for (int waited = 0; waited < 10000; waited += 2) {
        SDL_PumpEvents();
        uint8_t state = SDL_GetAppState();
        if ((state & present) == present && !(state & absent))
            return true;
        SDL_Delay(2);
    }
    return false;
}
