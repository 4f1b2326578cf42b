// input.cpp: SDL's events, key table and gamepad, read once a screen's frame, as the game's actions.
#include "input/input.h"

#include <cstring>

#include "SDL.h"
#include "base/config.h"
#include "input/gamepad.h"
#include "input/keycodes.h"
#include "input/keys.h"

// The window has the keyboard and is shown.
static const Uint8 KeyboardAndShown = SDL_APPINPUTFOCUS | SDL_APPACTIVE;

// At most this many events are taken from SDL in one frame, so that no flood holds the frame up.
static const int MostEventsAFrame = 1024;

// A point of the window as a pixel of the game's screen, which the window shows scaled.
static int32_t onScreen(int32_t windowCoordinate, int32_t pictureStart, int32_t pictureSize, int32_t screenSize)
{
    if (pictureSize <= 0)
        return windowCoordinate;
    return static_cast<int32_t>((static_cast<int64_t>(windowCoordinate) - pictureStart) * screenSize / pictureSize);
}

static bool isGamepadEvent(const SDL_Event &event)
{
    return event.type == SDL_JOYAXISMOTION || event.type == SDL_JOYHATMOTION || event.type == SDL_JOYBUTTONDOWN ||
           event.type == SDL_JOYBUTTONUP || event.type == SDL_JOYBALLMOTION;
}

// An event of SDL's as the fence keeps it.
static QueuedEvent queuedEvent(const SDL_Event &event)
{
    QueuedEvent q = {};
    q.kind = OtherEvent;
    if (event.type == SDL_QUIT) {
        q.kind = QuitEvent;
    } else if (event.type == SDL_VIDEOEXPOSE || (event.type == SDL_ACTIVEEVENT && event.active.gain)) {
        q.kind = ExposeEvent;   // uncovered, or back: the picture is drawn anew
    } else if (event.type == SDL_MOUSEMOTION) {
        q.kind = MotionEvent;
        q.x = event.motion.x;
        q.y = event.motion.y;
    } else if (event.type == SDL_MOUSEBUTTONDOWN) {
        q.kind = ButtonDownEvent;
        q.code = event.button.button;
    } else if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) {
        q.kind = event.type == SDL_KEYDOWN ? KeyDownEvent : KeyUpEvent;
        q.code = gameKey(event.key.keysym.sym);
    }
    return q;
}

// Puts an event at the end of the queue. A full queue makes room by letting a pointer motion go
// that another one follows at once (nothing would have seen where it pointed); only a queue full
// of other events loses the new one, as SDL's own queue would.
static void enqueue(const QueuedEvent &event)
{
    Fence &f = game.fence;
    QueuedEvent *q = f.queue;
    if (f.queued == EventQueueSize && event.kind == MotionEvent && q[f.queued - 1].kind == MotionEvent) {
        q[f.queued - 1] = event;
        return;
    }
    for (int i = 0; f.queued == EventQueueSize && i + 1 < f.queued; i++) {
        if (q[i].kind == MotionEvent && q[i + 1].kind == MotionEvent) {
            std::memmove(q + i, q + i + 1, sizeof q[0] * static_cast<size_t>(f.queued - i - 1));
            f.queued--;
        }
    }
    if (f.queued < EventQueueSize)
        q[f.queued++] = event;
}

// Takes everything SDL has into the fence. The gamepad's events are followed at once, and so are
// the pause keys when the frame watches them; the rest waits in the queue, in its order. A waiting
// expose brings the picture anew at once.
static void takeFromSdl(bool watchPause)
{
    Fence &f = game.fence;
    Gamepad &pad = game.gamepad;
    SDL_Event event;
    for (int n = 0; n < MostEventsAFrame && SDL_PollEvent(&event) == 1; n++) {
        f.eventsTaken++;
        if (isGamepadEvent(event)) {
            int32_t button;
            uint32_t actions = followGamepad(event, button);
            pad.pending |= actions;
            if (button >= 0)
                pad.pendingButton = button;
            pad.letGo |= pad.latched & ~gamepadHeld(pad.now);
            if (watchPause && (actions & actionBit(Pause)))
                game.input.pauseKey = true;
            continue;
        }
        QueuedEvent q = queuedEvent(event);
        q.number = f.eventsTaken;
        bool key = q.kind == KeyDownEvent || q.kind == KeyUpEvent;
        if (q.kind == KeyUpEvent && f.spent[q.code])
            f.letGo[q.code] = true;
        if (watchPause && key && (actionsOfKey(q.code) & actionBit(Pause))) {
            game.input.pauseKey = game.input.pauseKey || q.kind == KeyDownEvent;
            continue;
        }
        game.input.exposed = game.input.exposed || q.kind == ExposeEvent;
        enqueue(q);
    }
}

// SDL looks at the queue: the keys read as SDL's table stands now, the gamepad as its events left
// it. A key or button spent and let go since is spent no more.
static void look()
{
    Fence &f = game.fence;
    readKeyTable(f.table);
    for (int key = 1; key < KeyCodes; key++) {
        f.spent[key] = f.spent[key] && f.table[key] && !f.letGo[key];
        f.letGo[key] = false;
    }
    Gamepad &pad = game.gamepad;
    pad.seen = pad.now;
    pad.latched &= gamepadHeld(pad.seen) & ~pad.letGo;
    pad.letGo = 0;
}

// The oldest event waiting, as this frame's input.
static void takeEvent()
{
    Fence &f = game.fence;
    if (f.queued == 0)
        return;
    QueuedEvent event = f.queue[0];
    f.queued--;
    std::memmove(f.queue, f.queue + 1, sizeof f.queue[0] * static_cast<size_t>(f.queued));
    f.eventNumber = event.number;
    Input &in = game.input;
    if (event.kind == QuitEvent) {
        in.closed = true;
    } else if (event.kind == ExposeEvent) {
        in.exposed = true;
    } else if (event.kind == MotionEvent) {
        const PictureRect &p = game.picture;
        game.mouseX = onScreen(event.x, p.left, p.width, ScreenWidth);
        game.mouseY = onScreen(event.y, p.top, p.height, ScreenHeight);
        in.pointerMoved = true;
    } else if (event.kind == ButtonDownEvent) {
        in.clicked = event.code == SDL_BUTTON_LEFT;
    } else if (event.kind == KeyDownEvent && event.number > f.spentAt[event.code]) {
        // A press up to the one that spent its key has acted already.
        in.pressed = actionsOfKey(event.code);
        in.keyDown = event.code;
    } else if (event.kind == KeyUpEvent) {
        in.released = actionsOfKey(event.code);
        in.typed = event.code < 256 ? event.code : 0;
    }
}

// The actions whose keys or buttons are held and not spent.
static uint32_t heldActions()
{
    const Fence &f = game.fence;
    uint32_t actions = 0;
    for (int key = 1; key < KeyCodes; key++)
        if (f.table[key] && !f.spent[key])
            actions |= actionsOfKey(key);
    return actions | (gamepadHeld(game.gamepad.seen) & ~game.gamepad.latched);
}

void readInput(InputRule rule)
{
    Input &in = game.input;
    Fence &f = game.fence;
    Gamepad &pad = game.gamepad;
    in = Input();
    in.buttonDown = -1;
    takeFromSdl(rule.watchPause);

    bool focused = (SDL_GetAppState() & KeyboardAndShown) == KeyboardAndShown;
    in.focusLost = f.hadFocus && !focused;
    f.hadFocus = focused;

    if (rule.takeEvent) {
        look();
        takeEvent();
        in.padPressed = pad.pending;
        in.pressed |= in.padPressed;
        in.buttonDown = pad.pendingButton;
        pad.pending = 0;
        pad.pendingButton = -1;
    }
    in.held = heldActions();
    f.screen = game.Screen;
    f.page = game.MenuPage;
    f.pressRead = 0;
    f.heldRead = 0;
    f.anyKeyRead = false;
    f.keyRead = false;
    f.buttonRead = false;
}

// Marks the key spent: up to the event taken from SDL numbered `number`, its presses are spent too.
static void spendKey(int key, uint32_t number)
{
    Fence &f = game.fence;
    f.spent[key] = true;
    f.spentAt[key] = f.spentAt[key] > number ? f.spentAt[key] : number;
    f.letGo[key] = false;
}

void spendInput()
{
    Fence &f = game.fence;
    const Input &in = game.input;
    for (int key = 1; key < KeyCodes; key++) {
        bool holding = f.table[key] && !f.spent[key];
        if (!holding && key != in.keyDown)
            continue;   // neither held nor pressed: no read answered yes for it
        uint32_t actions = actionsOfKey(key);
        bool press = key == in.keyDown && (f.keyRead || (actions & f.pressRead));
        bool character = key < FirstNonCharacterKey;
        bool hold = holding && ((actions & f.heldRead) || (character && f.anyKeyRead));
        // A key read held may have presses waiting in the queue still: they are spent with it.
        if (hold)
            spendKey(key, f.eventsTaken);
        else if (press)
            spendKey(key, f.eventNumber);
    }
    Gamepad &pad = game.gamepad;
    uint32_t pressesRead = f.buttonRead ? ~0u : f.pressRead;
    pad.latched |= gamepadHeld(pad.seen) & (f.heldRead | (in.padPressed & pressesRead));
}

// The frame's input still belongs to the screen and page on now.
static bool framePage()
{
    return game.Screen == game.fence.screen && game.MenuPage == game.fence.page;
}

// An action of this frame's page that the screen acts on: the fence notes it in `read`, to spend.
static bool actedOn(uint32_t actions, Action action, uint32_t &read)
{
    bool yes = (actions & actionBit(action)) && framePage();
    if (yes)
        read |= actionBit(action);
    return yes;
}

bool pressed(Action action)
{
    return actedOn(game.input.pressed, action, game.fence.pressRead);
}

bool padPressed(Action action)
{
    return actedOn(game.input.padPressed, action, game.fence.pressRead);
}

int keyPressed()
{
    int key = framePage() ? game.input.keyDown : 0;
    game.fence.keyRead = game.fence.keyRead || key != 0;
    return key;
}

int buttonPressed()
{
    int button = framePage() ? game.input.buttonDown : -1;
    game.fence.buttonRead = game.fence.buttonRead || button >= 0;
    return button;
}

bool released(Action action)
{
    return game.input.released & actionBit(action);
}

int typed()
{
    return game.input.typed;
}

bool clicked()
{
    return game.input.clicked && framePage();
}

bool heldOnce(Action action)
{
    return actedOn(game.input.held, action, game.fence.heldRead);
}

bool held(Action action)
{
    return game.input.held & actionBit(action);
}

bool anyKeyHeld()
{
    const Fence &f = game.fence;
    bool any = false;
    for (int key = 1; key < FirstNonCharacterKey && framePage(); key++)
        any = any || (f.table[key] && !f.spent[key]);
    game.fence.anyKeyRead = game.fence.anyKeyRead || any;
    return any;
}
