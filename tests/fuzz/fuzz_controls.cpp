// fuzz_controls.cpp: libFuzzer target for the controls.dat reader; what it reads the controls page could have made, and it reads back equal.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "base/controls.h"
#include "base/files.h"
#include "base/state.h"
#include "input/keys.h"

static void fail(const char *what, const std::string &text)
{
    std::fprintf(stderr, "%s; the controls as written:\n%s\n", what, text.c_str());
    std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // As at start-up without a gamepad: the defaults, then the file over them.
    game.gamepad.startButton = 9;
    setDefaultControls(game.controls);
    std::istringstream file(std::string(reinterpret_cast<const char *>(data), size));
    readControls(file, game.controls);
    const Controls &read = game.controls;
    const std::string text = controlsText();
    for (int c = 0; c < ControlCount; c++) {
        if (keyReserved(read.keys[c]) || !controlButton(read.buttons[c]))
            fail("a control has a key or button the controls page never gives", text);
        for (int other = 0; other < c; other++)
            if (read.keys[other] == read.keys[c] || (read.buttons[c] >= 0 && read.buttons[other] == read.buttons[c]))
                fail("two controls have one key or button", text);
    }

    // Saved by the controls page and read at the next start, over the defaults again.
    setDefaultControls(game.controls);
    std::istringstream saved(text);
    if (readControls(saved, game.controls) != 0)
        fail("a line the game wrote is passed over", text);
    if (controlsText() != text)
        fail("the controls read back are not the ones written", text);
    return 0;
}
