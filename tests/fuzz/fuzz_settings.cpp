// fuzz_settings.cpp: libFuzzer target for the opt.dat reader; what it reads, written back, reads back equal.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "base/files.h"
#include "base/state.h"

static bool sameSettings(const Settings &a, const Settings &b)
{
    return a.fullscreen == b.fullscreen && a.musicOff == b.musicOff && a.soundOff == b.soundOff;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // As at start-up: the three switches at 0, then the file over them.
    game.settings = Settings{0, 0, 0};
    std::istringstream file(std::string(reinterpret_cast<const char *>(data), size));
    readSettings(file);
    const Settings read = game.settings;
    for (int32_t value : {read.fullscreen, read.musicOff, read.soundOff})
        if (value != 0 && value != 1) {
            std::fprintf(stderr, "a switch was read as %d, not as 0 or 1\n", static_cast<int>(value));
            std::abort();
        }

    // Saved by the options page and read at the next start.
    const std::string text = settingsText();
    game.settings = Settings{0, 0, 0};
    std::istringstream saved(text);
    readSettings(saved);
    if (!sameSettings(read, game.settings) || settingsText() != text) {
        std::fprintf(stderr, "opt.dat written as\n%s\ndoes not read back as it was read\n", text.c_str());
        std::abort();
    }
    return 0;
}
