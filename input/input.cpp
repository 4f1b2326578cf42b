// input.cpp: reads SDL's event queue and key table once a screen's frame, as the game's actions.
#include "input/input.h"

#include "SDL.h"
#include "input/keys.h"

// Keys with codes from here on (arrows, keypad, function and modifier keys) leave no page.
static const int FirstUnreadKey = 254;

static uint32_t bit(Action action)
{
    return action < ActionCount ? 1u << action : 0u;
}

// The one event of the frame, as actions, the pointer and the window's close.
static void translate(const SDL_Event &event)
{
    Input &in = game.input;
    if (event.type == SDL_QUIT) {
        in.closed = true;
    } else if (event.type == SDL_VIDEOEXPOSE || (event.type == SDL_ACTIVEEVENT && event.active.gain)) {
        in.exposed = true;   // the window was uncovered, or came back
    } else if (event.type == SDL_MOUSEMOTION) {
        game.mouseX = event.motion.x;
        game.mouseY = event.motion.y;
    } else if (event.type == SDL_MOUSEBUTTONDOWN) {
        in.clicked = event.button.button == SDL_BUTTON_LEFT;
    } else if (event.type == SDL_KEYDOWN) {
        in.pressed = bit(actionOfKey(event.key.keysym.sym));
    } else if (event.type == SDL_KEYUP) {
        int key = event.key.keysym.sym;
        in.released = bit(actionOfKey(key));
        in.typed = key > 0 && key < 256 ? key : 0;
    }
}

void readInput(bool takeEvent)
{
    game.input = Input();
    SDL_Event event;
    if (takeEvent && SDL_PollEvent(&event) == 1)
        translate(event);
    // The table as SDL's last look at the queue left it: while no event is taken, it stands still.
    const Uint8 *keys = SDL_GetKeyState(nullptr);
    for (int i = 0; i < KeyBindingCount; i++)
        if (keys[KeyBindings[i].key])
            game.input.held |= bit(KeyBindings[i].action);
}

bool pressed(Action action)
{
    return game.input.pressed & bit(action);
}

bool released(Action action)
{
    return game.input.released & bit(action);
}

bool held(Action action)
{
    return game.input.held & bit(action);
}

// SDL sets a key's entry again when the key next goes down.
void consume(Action action)
{
    Uint8 *keys = SDL_GetKeyState(nullptr);
    for (int i = 0; i < KeyBindingCount; i++)
        if (KeyBindings[i].action == action)
            keys[KeyBindings[i].key] = 0;
    game.input.held &= ~bit(action);
}

bool anyKeyHeld()
{
    const Uint8 *keys = SDL_GetKeyState(nullptr);
    for (int k = 0; k < FirstUnreadKey; k++)
        if (keys[k])
            return true;
    return false;
}

void consumeHeldKeys()
{
    Uint8 *keys = SDL_GetKeyState(nullptr);
    for (int k = 0; k < FirstUnreadKey; k++) {
        if (keys[k]) {
            keys[k] = 0;
            Action action = actionOfKey(k);
            game.input.held &= ~bit(action);
        }
    }
}
