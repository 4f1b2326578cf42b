// focus_helpers.cpp: xdotool on the test's own window, and waiting for SDL to see the outcome.
#include "focus_helpers.h"

#include <X11/Xlib.h>
#include <cstdlib>

#include "SDL.h"
#include "SDL_syswm.h"

bool onWindow(const std::string &caption, const std::string &command)
{
    std::string line = "xdotool search --name '^" + caption + "$' " + command + " >/dev/null 2>&1";
    return std::system(line.c_str()) == 0;
}

// SDL 1.2's X11 driver, a while after a fullscreen window gains or loses the keyboard, leaves or
// re-enters fullscreen on its own, grabbing the keyboard and the pointer; it does so only in an
// event pump that finds no new events once that while is over. So this pumps only until the
// awaited state shows, and first waits for the X server to deliver everything it has for SDL:
// the first pump then always has news, and no such switch falls between two steps of a test,
// however loaded the machine is.
bool waitForAppState(uint8_t present, uint8_t absent)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) == 1 && info.subsystem == SDL_SYSWM_X11) {
        info.info.x11.lock_func();
        XSync(info.info.x11.display, False);
        info.info.x11.unlock_func();
    }
    for (int waited = 0; waited < 10000; waited += 2) {
        SDL_PumpEvents();
        uint8_t state = SDL_GetAppState();
        if ((state & present) == present && !(state & absent))
            return true;
        SDL_Delay(2);
    }
    return false;
}
