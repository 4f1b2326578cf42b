// options.cpp: the options page: three switches shown and flipped by a click or the keys, the
// controls page, and "back", which saves the switches.
#include "audio/sound.h"
#include "base/config.h"
#include "base/files.h"
#include "base/screen.h"
#include "input/input.h"
#include "menu/menu.h"

// The three switches, a label at (220, y) and its value right after it; then the items.
enum OptionsItem { FullscreenSwitch, MusicSwitch, SoundSwitch, ControlsItem, BackItem, OptionsItemCount };
static const int SwitchCount = ControlsItem;
static const struct {
    const char *label;
    float y;
} Switches[SwitchCount] = {{"fullscreen: ", 100}, {"music: ", 170}, {"sound effects: ", 240}};
static const float LabelX = 220;
static const float ControlsY = 305;
static const float BackY = 370;

// What a switch shows. A hand-edited fullscreen number such as 5 shows "true"; a music or sound
// number other than 1 shows "on".
static std::string valueText(const Settings &s, int which)
{
    if (which == FullscreenSwitch)
        return s.fullscreen != 0 ? "true" : "false";
    return (which == MusicSwitch ? s.musicOff : s.soundOff) == 1 ? "off" : "on";
}

static TextBox valueBox(const Settings &s, int which)
{
    const BitmapFont &font = game.largeFont;
    float x = LabelX + textWidth(font, Switches[which].label, 1.0f);
    return textBox(font, valueText(s, which), x, Switches[which].y, 1.0f);
}

// A click sets the opposite of what the value shows, also for a hand-edited number, which
// would stay as it shows under 1 minus itself. The window stays as it is while the page shows.
static void flip(Settings &s, int which)
{
    if (which == FullscreenSwitch) {
        s.fullscreen = s.fullscreen != 0 ? 0 : 1;
        game.fullscreenFlipped = true;
    } else if (which == MusicSwitch) {
        s.musicOff = s.musicOff == 1 ? 0 : 1;
    } else {
        s.soundOff = s.soundOff == 1 ? 0 : 1;
    }
}

// Saves the switches and applies them: the audio at once, the window (when fullscreen was
// clicked, also twice) once, at the end of the pass.
static void leaveOptions()
{
    Settings &s = game.settings;
    changeScreen(IntroScreen, MainPage);
    saveSettings();
    setVolumes(s.musicOff, s.soundOff, MusicVolume, SoundVolume);
    game.videoModePending = game.fullscreenFlipped;
    game.fullscreenFlipped = false;
}

// The values drawn are those before a flip: the new one shows from the next frame. A switch
// lit by the keys flips on Left, Right and Return as on a click. "back" acts as Escape does;
// the click that chose it chooses nothing on the main page.
void updateOptionsPage()
{
    const Settings shown = game.settings;
    game.view.settings = shown;
    int selected = moveSelection(OptionsItemCount);
    bool keyFlip = selected != NoSelection && (pressed(MenuLeft) || pressed(MenuRight));
    for (int which = 0; which < SwitchCount; which++)
        if (itemChosen(valueBox(shown, which), which) || (keyFlip && selected == which))
            flip(game.settings, which);
    bool toControls = itemChosen(itemBox("controls", ControlsY), ControlsItem);
    bool back = backChosen(BackY, BackItem);
    if (toControls)
        changeScreen(IntroScreen, ControlsPage);
    else if (back)
        leaveOptions();
}

void drawOptionsPage(const View &view)
{
    for (int which = 0; which < SwitchCount; which++) {
        drawText(game.largeFont, Switches[which].label, LabelX, Switches[which].y, 1.0f, LabelColour);
        TextBox box = valueBox(view.settings, which);
        drawTextIn(game.largeFont, valueText(view.settings, which), box, 1.0f,
                   itemLit(box, which, view) ? Yellow : Plain);
    }
    drawItem("controls", ControlsY, ControlsItem, LabelColour, view);
    drawItem("back", BackY, BackItem, LabelColour, view);
}
