// options.cpp: the options page: three switches shown and flipped by a click, saved on leaving.
#include <GL/gl.h>

#include "SDL.h"
#include "base/files.h"
#include "base/config.h"
#include "base/state.h"
#include "audio/sound.h"
#include "app/assets.h"
#include "gfx/sprite.h"
#include "gfx/window.h"
#include "menu/menu.h"
#include "text/text.h"

// One switch: its label at (220, y), then its value right after it, lit and flipped under the pointer.
// The value drawn is the one before a flip; the new one shows from the next frame.
static bool switchRow(const char *label, float y, const std::string &value, bool menuClick)
{
    BitmapFont &font = game.largeFont;
    glColor4f(1.0f, 1.0f, 1.0f, 0.6f);
    font.sprite.x = 220;
    font.sprite.y = y;
    drawText(font, label);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    measureText(font, value);
    bool flip = false;
    if (spriteContains(font, game.mouseX, game.mouseY)) {
        glColor4f(1.0f, 1.0f, 0.0f, 1.0f);
        flip = menuClick;
    }
    drawText(font, value);
    return flip;
}

// "back" acts as if Escape were held; the click itself stays for the main page.
static void pressEscape(bool &)
{
    game.keyState[SDLK_ESCAPE] = 1;
}

// Saves the switches and applies them: audio at once, the window when fullscreen was flipped.
static void leaveOptions()
{
    Settings &s = game.settings;
    game.MenuPage = MainPage;
    game.keyState[SDLK_ESCAPE] = 0;
    saveSettings();
    setVolumes(s.musicOff, s.soundOff, MusicVolume, SoundVolume);
    stopMusic();
    playMusic(game.introMusic);
    if (game.videoModePending) {
        game.videoModePending = false;
        setVideoMode(WindowCaption, s.fullscreen);
        loadAssets();
    }
}

void optionsPage(bool &menuClick)
{
    Settings &s = game.settings;
    game.largeFont.scaleX = game.largeFont.scaleY = 1.0f;
    // A click sets the opposite of what the value shows, also for a hand-edited number such as 5,
    // which shows "true" or "on" and would stay so under 1 minus itself.
    if (switchRow("fullscreen: ", 100, s.fullscreen != 0 ? "true" : "false", menuClick)) {
        s.fullscreen = s.fullscreen != 0 ? 0 : 1;
        game.videoModePending = true;
    }
    if (switchRow("music: ", 170, s.musicOff == 1 ? "off" : "on", menuClick))
        s.musicOff = s.musicOff == 1 ? 0 : 1;
    if (switchRow("sound effects: ", 240, s.soundOff == 1 ? "off" : "on", menuClick))
        s.soundOff = s.soundOff == 1 ? 0 : 1;

    glColor4f(1.0f, 1.0f, 1.0f, 0.6f);
    menuItem("back", 370, pressEscape, menuClick);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (game.keyState[SDLK_ESCAPE])
        leaveOptions();
}
