// startup.cpp: start-up in its fixed order, from the program's path to the title screen.
#include <cstdlib>
#include <ctime>

#include "SDL.h"
#include "app/assets.h"
#include "app/loop.h"
#include "audio/sound.h"
#include "base/config.h"
#include "base/files.h"
#include "base/paths.h"
#include "base/platform.h"
#include "base/screen.h"
#include "base/state.h"
#include "game/rules.h"
#include "gfx/sprite.h"
#include "gfx/window.h"
#include "input/gamepad.h"
#include "input/keys.h"

void startUp(const char *argv0)
{
    watchForEndings(endFromOutside);
    std::string path = argv0 ? argv0 : "";
    programDirOf(programPath(path));
    chooseDataDir();
    game.settingsPath = game.dataDir + "opt.dat";
    game.highScorePath = game.dataDir + "dex.dll";
    game.controlsPath = game.dataDir + "controls.dat";
    game.mediaDir = "media/";
    openLog();

    game.settings.fullscreen = 0;
    game.settings.musicOff = 0;
    game.settings.soundOff = 0;
    loadSettings();
    setVolumes(game.settings.musicOff, game.settings.soundOff, MusicVolume, SoundVolume);

    // The pictures decode on a worker while the window is made, the music and effects on
    // another while the pictures upload; the loads below take them over in their order.
    startDecodingPictures();
    initVideo(WindowCaption, ScreenWidth, ScreenHeight, game.settings.fullscreen);
    if (!game.windowOpen) {
        // Nothing can be shown, and nothing is to be drawn: main() says so, and the game ends.
        dropStartPictures();
        return;
    }
    openAudio();
    startLoadingSounds();
    loadHighScores();
    loadAssets();
    loadStartSounds();
    openGamepad();
    setDefaultControls(game.controls);
    loadControls();
    changeScreen(IntroScreen, MainPage);
    playPendingSounds();
    // The clock seeds the blocks' colours once, just before the first new game draws from it; a
    // test seeds again after start-up.
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    newGame();

    game.videoModePending = false;
    game.nextFrameDue = SDL_GetTicks() + FrameMs;
}
