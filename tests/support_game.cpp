// support_game.cpp: the game started in the test's own process, its frames and passes, and real SDL
// events and keys.
#include "support.h"

#include <sys/stat.h>

#include <cstdlib>
#include <stdexcept>

#include "SDL.h"
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

void runFrames(int count)
{
    for (int i = 0; i < count; i++)
        runFrame();
}

void runPassesUntilTaken()
{
    for (int i = 0; i < 50 && queuedEvents() > 0; i++) {
        game.nextFrameDue = SDL_GetTicks();
        runPass();
    }
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

void clickAt(int x, int y)
{
    const PictureRect &p = game.picture;
    pushEvent(SDL_MOUSEMOTION, p.left + x * p.width / 800, p.top + y * p.height / 600);
    pushEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
}

int queuedEvents()
{
    SDL_Event events[64];
    return SDL_PeepEvents(events, 64, SDL_PEEKEVENT, SDL_ALLEVENTS) + game.fence.queued;
}

Uint8 *keyTable()
{
    return SDL_GetKeyState(nullptr);
}
