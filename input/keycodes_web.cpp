// keycodes_web.cpp: Emscripten's key codes (SDL 2's, from the browser's) as SDL 1.2's, the game's own.
#include "input/keycodes.h"

#include <cstring>

#include "SDL.h"

// Emscripten names the keys that type nothing by SDL 2's scan code plus 1024.
static const int ScanCodeKey = 1024;

// What the codes from ScanCodeKey on stand for in SDL 1.2, by their scan code.
struct ScanKey {
    int scanCode;
    int key;
};
static const ScanKey ScanKeys[] = {
    {57, 301},                                                        // Caps Lock
    {70, 316}, {71, 302}, {72, 19},                                   // Print, Scroll Lock, Pause
    {73, 277}, {74, 278}, {75, 280}, {76, 127}, {77, 279}, {78, 281}, // Insert, Home, Page Up, Delete, End, Page Down
    {79, 275}, {80, 276}, {81, 274}, {82, 273},                       // Right, Left, Down, Up
    {83, 300},                                                        // Num Lock
    {84, 267}, {85, 268}, {86, 269}, {87, 270}, {88, 271},            // keypad / * - + Enter
    {98, 256}, {99, 266}, {101, 319}, {103, 272},                     // keypad 0 and ., Menu, keypad =
    {224, 306}, {225, 304}, {226, 308}, {227, 311},                   // left Control, Shift, Alt, Super
    {228, 305}, {229, 303}, {230, 307}, {231, 312},                   // right Control, Shift, Alt, Super
};

// The browser's own codes that Emscripten passes on untranslated, as SDL 1.2's.
struct PassedKey {
    int code;
    int key;
};
static const PassedKey PassedKeys[] = {
    {145, 302},                          // Scroll Lock
    {186, ';'}, {187, '='}, {189, '-'},  // as Chrome numbers them
    {225, 313},                          // AltGr, as Firefox numbers it
    {226, '<'},                          // the key beside the left Shift on European keyboards
    {316, 316},                          // Print
};

int gameKey(int sdlKey)
{
    int scan = sdlKey - ScanCodeKey;
    if (scan >= 89 && scan <= 97)
        return 257 + scan - 89;    // keypad 1..9
    if (scan >= 58 && scan <= 69)
        return 282 + scan - 58;    // F1..F12
    if (scan >= 104 && scan <= 106)
        return 294 + scan - 104;   // F13..F15
    for (const ScanKey &k : ScanKeys)
        if (k.scanCode == scan)
            return k.key;
    for (const PassedKey &k : PassedKeys)
        if (k.code == sdlKey)
            return k.key;
    // The keys that type a character keep it: Backspace, Tab, Return, Escape, Space and the
    // printable ones, letters in lower case, and Delete; Clear and Pause keep SDL 1.2's codes.
    bool typing = (sdlKey >= 32 && sdlKey <= 127) || sdlKey == 8 || sdlKey == 9 || sdlKey == 13 || sdlKey == 27;
    if (typing || sdlKey == 12 || sdlKey == 19)
        return sdlKey;
    return 0;
}

void readKeyTable(uint8_t table[KeyCodes])
{
    std::memset(table, 0, KeyCodes);
    int count = 0;
    const Uint8 *held = SDL_GetKeyboardState(&count);
    // Every code Emscripten gives lies below the last scan code's.
    int last = count < ScanCodeKey + 256 ? count : ScanCodeKey + 256;
    for (int code = 1; code < last; code++) {
        int key = held[code] ? gameKey(code) : 0;
        if (key > 0)
            table[key] = 1;
    }
}
