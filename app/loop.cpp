// loop.cpp: start-up in its fixed order and the main loop that runs the screens.
#include "app/loop.h"

#include <cstdlib>
#include <ctime>

#include "SDL.h"
#include "base/files.h"
#include "base/paths.h"
#include "app/screens.h"
#include "base/config.h"
#include "base/state.h"
#include "audio/sound.h"
#include "game/rules.h"
#include "app/assets.h"
#include "gfx/sprite.h"
#include "gfx/window.h"

void startUp(const char *argv0)
{
    std::string path = argv0 ? argv0 : "";
    programDirOf(path);
    chooseDataDir();
    game.settingsPath = game.dataDir + "opt.dat";
    game.highScorePath = game.dataDir + "dex.dll";
    game.mediaDir = "media/";
    openLog();

    game.settings.fullscreen = 0;
    game.settings.musicOff = 0;
    game.settings.soundOff = 0;
    loadSettings();
    setVolumes(game.settings.musicOff, game.settings.soundOff, MusicVolume, SoundVolume);

    std::srand(static_cast<unsigned>(std::time(nullptr)));
    // The pictures decode on a worker while the window is made, the music and effects on
    // another while the pictures upload; the loads below take them over in their order.
    startDecodingPictures();
    initVideo(WindowCaption, ScreenWidth, ScreenHeight, game.settings.fullscreen);
    openAudio();
    startLoadingSounds();
    loadHighScores();
    loadAssets();
    loadStartSounds();
    playMusic(game.introMusic);
    newGame();

    std::srand(static_cast<unsigned>(std::time(nullptr)));
    game.Screen = IntroScreen;
    game.MenuPage = MainPage;
    game.videoModePending = false;
    game.nextFrameDue = SDL_GetTicks() + FrameMs;
}

// The tick counter wraps after 49.7 days, so "ahead" and "behind" are read from the
// 32-bit difference rather than by comparing the two values.
uint32_t resyncSchedule(uint32_t nextFrameDue, uint32_t now)
{
    int32_t behind = static_cast<int32_t>(now - nextFrameDue);
    return behind > static_cast<int32_t>(ResyncAfterMs) ? now : nextFrameDue;
}

uint32_t frameWait(uint32_t nextFrameDue, uint32_t now)
{
    int32_t ahead = static_cast<int32_t>(nextFrameDue - now);
    return ahead > 0 ? static_cast<uint32_t>(ahead) : 0;
}

uint32_t advanceSchedule(uint32_t now)
{
    game.nextFrameDue = resyncSchedule(game.nextFrameDue, now);
    uint32_t wait = frameWait(game.nextFrameDue, now);
    game.nextFrameDue += FrameMs;
    return wait;
}

void runPass()
{
    game.keepPicture = false;
    if (game.Screen == IntroScreen) {
        SDL_ShowCursor(1);
        introScreen();
    }
    // Another screen draws over the intro's picture in this pass.
    if (game.Screen != IntroScreen)
        game.introShown = false;
    if (game.Screen == GameScreen)
        playScreen();
    if (game.Screen == GameOverScreen)
        gameOverScreen();
    if (game.Screen == FinishedScreen)
        finishedScreen();

    if (!game.keepPicture)
        SDL_GL_SwapBuffers();
    if (pollAppRestore() == 1) {
        setVideoMode(WindowCaption, 1);
        loadAssets();
        game.introShown = false;
    }

    SDL_Delay(advanceSchedule(SDL_GetTicks()));
}

void mainLoop()
{
    while (game.running)
        runPass();
}
