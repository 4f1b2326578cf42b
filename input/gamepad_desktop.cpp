// gamepad_desktop.cpp: a gamepad's layout on Linux and Windows, known by its name.
#include <algorithm>
#include <cctype>
#include <initializer_list>

#include "input/gamepad.h"

static bool named(const std::string &lower, std::initializer_list<const char *> words)
{
    for (const char *word : words)
        if (lower.find(word) != std::string::npos)
            return true;
    return false;
}

void gamepadLayout(const std::string &name, Gamepad &pad)
{
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    bool xbox = named(lower, {"xbox", "x-box", "xinput", "microsoft"});
    pad.startButton = xbox ? 7 : 9;
    pad.backButton = xbox ? 6 : 8;
    pad.padButton = -1;
}
