// controls.cpp: the controls page: the key and gamepad button of each of the player's controls,
// each chosen anew by pressing it; the defaults; "back", which saves them.
#include "base/config.h"
#include "base/files.h"
#include "base/screen.h"
#include "input/input.h"
#include "input/keys.h"
#include "menu/menu.h"

static const char *const ControlLabels[ControlCount] = {"move left", "move right", "turn", "turn back", "drop", "pause"};
static const int DefaultsItem = ControlCount;
static const int BackItem = ControlCount + 1;
static const float RowTop = 80;
static const float RowStep = 42;
static const float RowScale = 0.7f;
static const float LabelX = 110, KeyX = 390, ButtonX = 590;
static const float DefaultsY = 350;
static const float BackY = 410;

static float rowY(int control)
{
    return RowTop + RowStep * control;
}

// A row is chosen anywhere along it.
static TextBox rowBox(int control)
{
    return {LabelX - 10, rowY(control), ButtonX + 160 - LabelX, game.largeFont.sprite.height * RowScale};
}

// Saves the controls, back to the options page.
static void leaveControls()
{
    saveControls();
    changeScreen(IntroScreen, OptionsPage);
}

// The row waiting for its key takes the next key (but Escape, which only stops the wait) or
// gamepad button that goes down; nothing else acts meanwhile.
static void waitForKey()
{
    int key = keyPressed(), button = buttonPressed();
    if (key && keyReserved(key)) {
        game.waitingRow = NoSelection;
    } else if (key || button >= 0) {
        assignControl(game.controls, game.waitingRow, key, button);
        game.waitingRow = NoSelection;
    }
}

static void chooseItem()
{
    moveSelection(ControlCount + 2);
    for (int control = 0; control < ControlCount; control++)
        if (itemChosen(rowBox(control), control))
            game.waitingRow = control;
    if (itemChosen(itemBox("defaults", DefaultsY), DefaultsItem))
        setDefaultControls(game.controls);
    if (backChosen(BackY, BackItem))
        leaveControls();
}

// The page shows the controls and the waiting row as they are after the frame.
void updateControlsPage()
{
    if (game.waitingRow != NoSelection)
        waitForKey();
    else
        chooseItem();
    game.view.controls = game.controls;
    game.view.waitingRow = game.waitingRow;
}

static std::string buttonName(int32_t button)
{
    return button < 0 ? "-" : "button " + intToText(button + 1);
}

void drawControlsPage(const View &view)
{
    const BitmapFont &font = game.largeFont;
    drawText(font, "key", KeyX, 40, 0.6f, LabelColour);
    drawText(font, "gamepad", ButtonX, 40, 0.6f, LabelColour);
    for (int control = 0; control < ControlCount; control++) {
        float y = rowY(control);
        bool waiting = view.waitingRow == control;
        Colour colour = waiting || itemLit(rowBox(control), control, view) ? Yellow : Plain;
        drawText(font, ControlLabels[control], LabelX, y, RowScale, colour);
        if (waiting) {
            drawText(font, "press a key or a button", KeyX, y, RowScale, Yellow);
            continue;
        }
        drawText(font, keyName(view.controls.keys[control]), KeyX, y, RowScale, colour);
        drawText(font, buttonName(view.controls.buttons[control]), ButtonX, y, RowScale, colour);
    }
    drawItem("defaults", DefaultsY, DefaultsItem, LabelColour, view);
    drawItem("back", BackY, BackItem, LabelColour, view);
}
