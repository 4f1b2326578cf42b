// input.cpp: reads SDL's queue, key table and the gamepad once a screen's frame, as actions.
#include "input/input.h"

#include <cstring>

#include "SDL.h"
#include "base/config.h"
#include "input/gamepad.h"
#include "input/keys.h"

// Keys with codes from here on (arrows, keypad, function and modifier keys) leave no page.
static const int FirstUnreadKey = 254;

// The window has the keyboard and is shown.
static const Uint8 KeyboardAndShown = SDL_APPINPUTFOCUS | SDL_APPACTIVE;

// SDL's table of held keys changes only when SDL looks at the queue. A frame that takes no event
// still looks (for the gamepad, the pause keys, the focus), but leaves the table as it stands; the
// changes it saw are put into the table when the next frame takes an event, before SDL looks
// again, so that the table then reads as if SDL had looked only once.
static Uint8 seenValue[SDLK_LAST];
static bool seen[SDLK_LAST];

// Whether the window had the keyboard and was shown at the last look.
static bool hadFocus;

// Keys spent: each made something happen, and reads as up until it is let go.
static bool spent[SDLK_LAST];

// The screen and page this frame's input came to: a press is read only there.
static ScreenName frameScreen;
static PageName framePage;

// A point of the window as a pixel of the game's screen, which the window shows scaled.
static int32_t onScreen(int32_t windowCoordinate, int32_t pictureStart, int32_t pictureSize, int32_t screenSize)
{
    if (pictureSize <= 0)
        return windowCoordinate;
    return static_cast<int32_t>((static_cast<int64_t>(windowCoordinate) - pictureStart) * screenSize / pictureSize);
}

// The window was uncovered, or came back: its picture must be drawn anew.
static bool exposes(const SDL_Event &event)
{
    return event.type == SDL_VIDEOEXPOSE || (event.type == SDL_ACTIVEEVENT && event.active.gain);
}

// The one event of the frame, as actions, the pointer and the window's close.
static void translate(const SDL_Event &event)
{
    Input &in = game.input;
    if (event.type == SDL_QUIT) {
        in.closed = true;
    } else if (exposes(event)) {
        in.exposed = true;
    } else if (event.type == SDL_MOUSEMOTION) {
        const PictureRect &p = game.picture;
        game.mouseX = onScreen(event.motion.x, p.left, p.width, ScreenWidth);
        game.mouseY = onScreen(event.motion.y, p.top, p.height, ScreenHeight);
        in.pointerMoved = true;
    } else if (event.type == SDL_MOUSEBUTTONDOWN) {
        in.clicked = event.button.button == SDL_BUTTON_LEFT;
    } else if (event.type == SDL_KEYDOWN) {
        in.pressed = actionsOfKey(event.key.keysym.sym);
        in.keyDown = event.key.keysym.sym;
    } else if (event.type == SDL_KEYUP) {
        int key = event.key.keysym.sym;
        in.released = actionsOfKey(key);
        in.typed = key > 0 && key < 256 ? key : 0;
        if (key > 0 && key < SDLK_LAST)
            spent[key] = false;   // let go, also when the table shows it pressed again by now
    }
}

static bool isGamepadEvent(const SDL_Event &event)
{
    return event.type == SDL_JOYAXISMOTION || event.type == SDL_JOYHATMOTION || event.type == SDL_JOYBUTTONDOWN ||
           event.type == SDL_JOYBUTTONUP || event.type == SDL_JOYBALLMOTION;
}

static bool isPauseKey(const SDL_Event &event)
{
    return (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) && (actionsOfKey(event.key.keysym.sym) & actionBit(Pause));
}

// Takes the gamepad's events, and the pause keys when watched, out of the queue in every frame,
// whether or not the frame takes an event; the other events stay, in their order. A waiting
// expose brings the picture anew at once.
static void followQueue(bool watchPause)
{
    SDL_Event events[128];
    int count = SDL_PeepEvents(events, 128, SDL_GETEVENT, SDL_ALLEVENTS);
    SDL_Event kept[128];
    int keptCount = 0;
    Gamepad &pad = game.gamepad;
    for (int i = 0; i < count; i++) {
        const SDL_Event &event = events[i];
        if (isGamepadEvent(event)) {
            int32_t button;
            uint32_t actions = followGamepad(event, button);
            pad.pending |= actions;
            if (button >= 0)
                pad.pendingButton = button;
            if (watchPause && (actions & actionBit(Pause)))
                game.input.pauseKey = true;
        } else if (watchPause && isPauseKey(event)) {
            game.input.pauseKey = game.input.pauseKey || event.type == SDL_KEYDOWN;
        } else {
            game.input.exposed = game.input.exposed || exposes(event);
            kept[keptCount++] = event;
        }
    }
    if (keptCount > 0)
        SDL_PeepEvents(kept, keptCount, SDL_ADDEVENT, SDL_ALLEVENTS);
}

// Lets SDL look at the queue; in a frame that takes no event, the key table stays as it stands.
static void lookAtQueue(bool takeEvent)
{
    int count = 0;
    Uint8 *keys = SDL_GetKeyState(&count);
    count = count < SDLK_LAST ? count : SDLK_LAST;
    if (takeEvent) {
        for (int key = 0; key < count; key++)
            if (seen[key])
                keys[key] = seenValue[key];
        std::memset(seen, 0, sizeof seen);
        SDL_PumpEvents();
        return;
    }
    Uint8 before[SDLK_LAST];
    std::memcpy(before, keys, count);
    SDL_PumpEvents();
    for (int key = 0; key < count; key++) {
        if (keys[key] != before[key]) {
            seen[key] = true;
            seenValue[key] = keys[key];
        }
    }
    std::memcpy(keys, before, count);
}

// The actions whose keys or buttons are held and not spent.
static uint32_t heldActions()
{
    const Uint8 *keys = SDL_GetKeyState(nullptr);
    uint32_t actions = 0;
    for (int key = 1; key < SDLK_LAST; key++)
        if (keys[key] && !spent[key])
            actions |= actionsOfKey(key);
    return actions | (gamepadHeld() & ~game.gamepad.latched);
}

void readInput(InputRule rule)
{
    game.input = Input();
    game.input.buttonDown = -1;
    lookAtQueue(rule.takeEvent);
    followQueue(rule.watchPause);

    bool focused = (SDL_GetAppState() & KeyboardAndShown) == KeyboardAndShown;
    game.input.focusLost = hadFocus && !focused;
    hadFocus = focused;

    // A key or a button let go is spent no more.
    const Uint8 *keys = SDL_GetKeyState(nullptr);
    for (int key = 0; key < SDLK_LAST; key++)
        spent[key] = spent[key] && keys[key];
    Gamepad &pad = game.gamepad;
    pad.latched &= gamepadHeld();

    Input &in = game.input;
    SDL_Event event;
    if (rule.takeEvent) {
        if (SDL_PollEvent(&event) == 1)
            translate(event);
        // The press of a key or button that acted while held, taken only now, is spent already.
        if (in.keyDown > 0 && in.keyDown < SDLK_LAST && spent[in.keyDown]) {
            in.pressed = 0;
            in.keyDown = 0;
        }
        in.padPressed = pad.pending & ~pad.latched;
        in.pressed |= in.padPressed;
        in.buttonDown = pad.pendingButton;
        pad.pending = 0;
        pad.pendingButton = -1;
    }
    in.held = heldActions();
    frameScreen = game.Screen;
    framePage = game.MenuPage;
}

// The frame's event still belongs to the screen and page on now.
static bool pageUnchanged()
{
    return game.Screen == frameScreen && game.MenuPage == framePage;
}

// The keys and buttons of the actions held now are spent.
static void spendHeld(uint32_t actions)
{
    const Uint8 *keys = SDL_GetKeyState(nullptr);
    for (int key = 1; key < SDLK_LAST; key++)
        if (keys[key] && (actionsOfKey(key) & actions))
            spent[key] = true;
    game.gamepad.latched |= gamepadHeld() & actions;
    game.input.held = heldActions();
}

// The key that went down in this frame, if it stands for one of the actions, and the gamepad's
// presses of them are spent.
static void spendPress(uint32_t actions)
{
    const Input &in = game.input;
    if (in.keyDown > 0 && in.keyDown < SDLK_LAST && (actionsOfKey(in.keyDown) & actions))
        spent[in.keyDown] = true;
    game.gamepad.latched |= gamepadHeld() & in.padPressed & actions;
    game.input.held = heldActions();
}

bool pressed(Action action)
{
    if (!(game.input.pressed & actionBit(action)) || !pageUnchanged())
        return false;
    spendPress(actionBit(action));
    return true;
}

bool released(Action action)
{
    return game.input.released & actionBit(action);
}

bool held(Action action)
{
    return game.input.held & actionBit(action);
}

bool takeHeld(Action action)
{
    if (!held(action))
        return false;
    spendHeld(actionBit(action));
    return true;
}

bool clicked()
{
    return game.input.clicked && pageUnchanged();
}

int keyPressed()
{
    if (!pageUnchanged())
        return 0;
    spendPress(~0u);
    return game.input.keyDown;
}

int buttonPressed()
{
    if (!pageUnchanged())
        return -1;
    spendPress(~0u);
    return game.input.buttonDown;
}

bool takeAnyKey()
{
    const Uint8 *keys = SDL_GetKeyState(nullptr);
    bool any = false;
    for (int key = 0; key < FirstUnreadKey; key++) {
        if (keys[key] && !spent[key]) {
            spent[key] = true;
            any = true;
        }
    }
    game.input.held = heldActions();
    return any;
}
