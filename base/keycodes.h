// keycodes.h: the game's key codes, the same on every system: those of the classic SDL 1.2.
#pragma once

#include <string>

// A key's code is a number from 1 up to KeyCodes - 1: a character key has its character's code
// (letters in lower case), the others the classic library's codes from 256 on. controls.dat keeps
// them, so a file written on one system means the same keys on another.
const int KeyCodes = 323;

enum {
    KeyBackspace = 8,
    KeyTab = 9,
    KeyReturn = 13,
    KeyPause = 19,
    KeyEscape = 27,
    KeySpace = 32,
    KeyP = 'p',
    KeyW = 'w',
    KeyDelete = 127,
    KeyPadEnter = 271,
    KeyUp = 273,
    KeyDown = 274,
    KeyRight = 275,
    KeyLeft = 276,
};

// Keys from this code on (the arrows, the keypad, function and modifier keys) are no characters:
// they type nothing and leave no page of "press any key".
const int FirstNonCharacterKey = 254;

// A key's name as the controls page shows it: "left", "space", "p", "[8]", "f1", "left shift";
// "unknown key" for a code that names no key.
std::string keyName(int key);
