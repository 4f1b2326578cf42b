// gamepad.cpp: the gamepad found at start-up, followed from its events as actions.
#include "input/gamepad.h"

#include "base/controls.h"

// How far the stick must lean to count as the pad pressed that way.
static const int32_t StickLean = 16000;

void openGamepad()
{
    Gamepad &pad = game.gamepad;
    gamepadLayout("", pad);
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) < 0 || SDL_NumJoysticks() < 1)
        return;
    SDL_Joystick *joystick = SDL_JoystickOpen(0);
    if (!joystick)
        return;
    SDL_JoystickEventState(SDL_ENABLE);
    const char *name = SDL_JoystickName(0);
    pad.present = true;
    pad.name = name ? name : "";
    gamepadLayout(pad.name, pad);
    game.logFile << "Gamepad " << pad.name << " with " << SDL_JoystickNumButtons(joystick) << " buttons\n";
}

// The directions the pad and the stick point at together, as the menus' actions.
static uint32_t menuDirections(const PadState &pad)
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
static uint32_t buttonActions(int32_t button)
{
    uint32_t actions = 0;
    for (int c = 0; c < ControlCount; c++)
        if (game.controls.buttons[c] == button)
            actions |= actionBit(c);
    if (button == 0)
        actions |= actionBit(Confirm);
    if (button == 1)
        actions |= actionBit(MenuBack);
    if (button == game.gamepad.backButton)
        actions |= actionBit(Leave);
    return actions;
}

// Which way a button of the pad points (0 up, 1 down, 2 left, 3 right), or -1 for another button.
static int padDirection(int32_t button)
{
    int32_t first = game.gamepad.padButton;
    return first >= 0 && button >= first && button < first + 4 ? button - first : -1;
}

// The pad's buttons held as the pad's directions, as a hat stands.
static void padFromButtons(PadState &pad)
{
    const uint32_t up = 1, down = 2, left = 4, right = 8;
    pad.hatX = (pad.padButtons & right ? 1 : 0) - (pad.padButtons & left ? 1 : 0);
    pad.hatY = (pad.padButtons & down ? 1 : 0) - (pad.padButtons & up ? 1 : 0);
}

uint32_t followGamepad(const SDL_Event &event, int32_t &button)
{
    PadState &pad = game.gamepad.now;
    button = -1;
    uint32_t before = menuDirections(pad);
    bool buttonEvent = event.type == SDL_JOYBUTTONDOWN || event.type == SDL_JOYBUTTONUP;
    int direction = buttonEvent ? padDirection(event.jbutton.button) : -1;
    if (direction >= 0) {
        // A button of the pad is the pad pointing, never a button of its own.
        if (event.type == SDL_JOYBUTTONDOWN)
            pad.padButtons |= 1u << direction;
        else
            pad.padButtons &= ~(1u << direction);
        padFromButtons(pad);
    } else if (event.type == SDL_JOYBUTTONDOWN && event.jbutton.button < GamepadButtons) {
        pad.buttons |= 1u << event.jbutton.button;
        button = event.jbutton.button;
        return buttonActions(button);
    } else if (event.type == SDL_JOYBUTTONUP && event.jbutton.button < GamepadButtons) {
        pad.buttons &= ~(1u << event.jbutton.button);
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

uint32_t gamepadHeld(const PadState &pad)
{
    uint32_t actions = 0;
    for (int32_t button = 0; button < GamepadButtons; button++)
        if (pad.buttons & (1u << button))
            actions |= buttonActions(button);
    uint32_t directions = menuDirections(pad);
    if (directions & actionBit(MenuLeft))
        actions |= actionBit(MoveLeft);
    if (directions & actionBit(MenuRight))
        actions |= actionBit(MoveRight);
    if (directions & actionBit(MenuDown))
        actions |= actionBit(Drop);
    return actions;
}
