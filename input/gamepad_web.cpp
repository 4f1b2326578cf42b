// gamepad_web.cpp: a gamepad in the browser, opened when the page first sees it rather than at
// start-up, in the browser's standard mapping.
#include "input/gamepad_web.h"

#include <emscripten.h>

#include "SDL.h"
#include "base/state.h"
#include "input/gamepad.h"

// Browsers show a gamepad to a page only after one of its buttons was pressed there (the page
// hears of it), so start-up finds none; and Emscripten's SDL turns the browser's gamepads into
// events only when SDL_Init was asked for joysticks, which the game starts with SDL_InitSubSystem.
void watchForGamepad()
{
    if (game.gamepad.present || !EM_ASM_INT({ return TavirelPage.gamepadShown(); }) || SDL_NumJoysticks() < 1)
        return;
    EM_ASM({ SDL.initFlags |= 0x200; });
    openGamepad();
}

// Browsers map every pad they know to one layout (the Gamepad API's "standard" mapping), whatever
// its name: Xbox, PlayStation and other pads alike.
void gamepadLayout(const std::string &, Gamepad &pad)
{
    const int32_t Back = 8, Start = 9, PadUp = 12;
    pad.startButton = Start;
    pad.backButton = Back;
    pad.padButton = PadUp;
}
