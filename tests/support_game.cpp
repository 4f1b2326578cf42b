// support_game.cpp: the game started in the test's own process, real SDL events and keys, and
// waiting for SDL to see what xdotool did to the window.
#include "support.h"

#include <X11/Xlib.h>
#include <sys/stat.h>

#include <cstdlib>
#include <stdexcept>

#include "SDL.h"
#include "SDL_syswm.h"
#include "app/loop.h"
#include "app/picture.h"
#include "base/paths.h"
#include "base/screen.h"
#include "base/state.h"
#include "audio/sound.h"
#include "game/rules.h"
#include "gfx/window.h"

std::string makeProgramDir()
{
    std::string dir = makeTempDir();
    mkdir((dir + "media").c_str(), 0755);
    game.programDir = dir;
    game.mediaDir = "media/";
    openLog();
    return dir;
}

std::string openGameWindow()
{
    std::string dir = makeProgramDir();
    initVideo("Tavirel", 800, 600, 0);
    openAudio();
    // Without an X server nothing below can be drawn or read back.
    if (!SDL_GetVideoSurface())
        throw std::runtime_error(std::string("no game window: ") + SDL_GetError());
    return dir;
}

std::string startUpIn(const std::string &settings, bool shortMenuMusic, const std::string &controls)
{
    std::string dir = makeTempDir();
    copyMedia(dir);
    if (shortMenuMusic)
        writeFile(dir + "media/m2.ogg", readFile(dir + "media/spadanie.ogg"));
    if (!settings.empty())
        writeFile(dir + "opt.dat", settings);
    if (!controls.empty())
        writeFile(dir + "controls.dat", controls);
    game.running = true;  // as a process of its own starts
    startUp((dir + "tavirel").c_str());
    game.logFile.flush();
    return dir;
}

std::string startUpWith(const std::string &settings, const std::string &controls)
{
    std::string dir = startUpIn(settings, false, controls);
    EXPECT_TRUE(waitForAppState(FullFocus, 0));
    for (SDL_Event stale; SDL_PollEvent(&stale) == 1;) {
    }
    return dir;
}

void startPlaying(unsigned seed)
{
    startUpIn();
    waitForAppState(FullFocus, 0);
    for (SDL_Event stale; SDL_PollEvent(&stale);) {
    }
    std::srand(seed);
    newGame();
    changeScreen(GameScreen, NoPage);
    playPendingSounds();
}

void runFrame()
{
    runScreen();
    drawView(game.view);
}

void pushEvent(Uint8 type, int a, int b)
{
    SDL_Event event = {};
    event.type = type;
    if (type == SDL_MOUSEMOTION) {
        event.motion.x = static_cast<Uint16>(a);
        event.motion.y = static_cast<Uint16>(b);
    } else if (type == SDL_MOUSEBUTTONDOWN || type == SDL_MOUSEBUTTONUP) {
        event.button.button = static_cast<Uint8>(a);
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    } else if (type == SDL_KEYDOWN || type == SDL_KEYUP) {
        event.key.keysym.sym = static_cast<SDLKey>(a);
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    } else if (type == SDL_JOYBUTTONDOWN || type == SDL_JOYBUTTONUP) {
        event.jbutton.button = static_cast<Uint8>(a);
    } else if (type == SDL_JOYHATMOTION) {
        event.jhat.value = static_cast<Uint8>(a);
    } else if (type == SDL_ACTIVEEVENT) {
        event.active.gain = static_cast<Uint8>(a);
        event.active.state = static_cast<Uint8>(b);
    } else if (type == SDL_JOYAXISMOTION) {
        event.jaxis.axis = static_cast<Uint8>(a);
        event.jaxis.value = static_cast<Sint16>(b);
    }
    if (SDL_PushEvent(&event) != 0)
        throw std::runtime_error("the event queue is full");
}

int queuedEvents()
{
    SDL_Event events[64];
    return SDL_PeepEvents(events, 64, SDL_PEEKEVENT, SDL_ALLEVENTS);
}

Uint8 *keyTable()
{
    return SDL_GetKeyState(nullptr);
}


bool onWindow(const std::string &caption, const std::string &command)
{
    std::string line = "xdotool search --name '^" + caption + "$' " + command + " >/dev/null 2>&1";
    return std::system(line.c_str()) == 0;
}

bool realKeys(const std::string &command)
{
    return std::system(("xdotool " + command + " >/dev/null 2>&1").c_str()) == 0 && waitForAppState(0, 0);
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
