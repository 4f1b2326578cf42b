// gamepad.cpp: the gamepad found at start-up, followed from its events as actions.
#include "input/gamepad.h"

#include <algorithm>
#include <cctype>

#include "base/controls.h"

// How far the stick must lean to count as the pad pressed that way.
static const int32_t StickLean = 16000;

static bool named(const std::string &lower, std::initializer_list<const char *> words)
{
    for (const char *word : words)
        if (lower.find(word) != std::string::npos)
            return true;
    return false;
}

void gamepadLayout(const std::string &name, int32_t &startButton, int32_t &backButton)
{
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    bool xbox = named(lower, {"xbox", "x-box", "xinput", "microsoft"});
    startButton = xbox ? 7 : 9;
    backButton = xbox ? 6 : 8;
}

void openGamepad()
{
    Gamepad &pad = game.gamepad;
    gamepadLayout("", pad.startButton, pad.backButton);
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) < 0 || SDL_NumJoysticks() < 1)
        return;
    SDL_Joystick *joystick = SDL_JoystickOpen(0);
    if (!joystick)
        return;
    SDL_JoystickEventState(SDL_ENABLE);
    const char *name = SDL_JoystickName(0);
    pad.present = true;
    pad.name = name ? name : "";
    gamepadLayout(pad.name, pad.startButton, pad.backButton);
    game.logFile << "Gamepad " << pad.name << " with " << SDL_JoystickNumButtons(joystick) << " buttons\n";
}

// The directions the pad and the stick point at together, as the menus' actions.
static uint32_t menuDirections(const Gamepad &pad)
{
    uint32_t actions = 0;
    if (pad.hatX < 0 || pad.stickX < -StickLean)
        actions |= actionBit(MenuLeft);
    if (pad.hatX > 0 || pad.stickX > StickLean)
        actions |= actionBit(MenuRight);
    if (pad.hatY < 0 || pad.stickY < -StickLean)
        actions |= actionBit(MenuUp);
    if (pad.hatY > 0 || pad.stickY > StickLean)
        actions |= actionBit(MenuDown);
    return actions;
}

// The actions of one button, as pressed or held.
static uint32_t buttonActions(const Gamepad &pad, int32_t button)
{
    uint32_t actions = 0;
    for (int c = 0; c < ControlCount; c++)
        if (game.controls.buttons[c] == button)
            actions |= actionBit(c);
    if (button == 0)
        actions |= actionBit(Confirm);
    if (button == 1)
        actions |= actionBit(MenuBack);
    if (button == pad.backButton)
        actions |= actionBit(Leave);
    return actions;
}

uint32_t followGamepad(const SDL_Event &event, int32_t &button)
{
    Gamepad &pad = game.gamepad;
    button = -1;
    uint32_t before = menuDirections(pad);
    if (event.type == SDL_JOYBUTTONDOWN && event.jbutton.button < GamepadButtons) {
        pad.buttonsHeld |= 1u << event.jbutton.button;
        button = event.jbutton.button;
        return buttonActions(pad, button);
    }
    if (event.type == SDL_JOYBUTTONUP && event.jbutton.button < GamepadButtons) {
        pad.buttonsHeld &= ~(1u << event.jbutton.button);
    } else if (event.type == SDL_JOYHATMOTION && event.jhat.hat == 0) {
        Uint8 v = event.jhat.value;
        pad.hatX = (v & SDL_HAT_LEFT) ? -1 : (v & SDL_HAT_RIGHT) ? 1 : 0;
        pad.hatY = (v & SDL_HAT_UP) ? -1 : (v & SDL_HAT_DOWN) ? 1 : 0;
    } else if (event.type == SDL_JOYAXISMOTION && event.jaxis.axis < 2) {
        (event.jaxis.axis == 0 ? pad.stickX : pad.stickY) = event.jaxis.value;
    }
    // A direction newly pointed at is a press in the menus.
    return menuDirections(pad) & ~before;
}

uint32_t gamepadHeld()
{
    const Gamepad &pad = game.gamepad;
    uint32_t actions = 0;
    for (int32_t button = 0; button < GamepadButtons; button++)
        if (pad.buttonsHeld & (1u << button))
            actions |= buttonActions(pad, button);
    uint32_t directions = menuDirections(pad);
    if (directions & actionBit(MenuLeft))
        actions |= actionBit(MoveLeft);
    if (directions & actionBit(MenuRight))
        actions |= actionBit(MoveRight);
    if (directions & actionBit(MenuDown))
        actions |= actionBit(Drop);
    return actions;
}
