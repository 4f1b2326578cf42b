// keycodes.cpp: the names of the game's key codes, as the controls page shows them.
#include "base/keycodes.h"

// The keys named one by one; the characters, the international keys, the keypad's digits and the
// function keys follow rules below.
static const struct {
    int key;
    const char *name;
} NamedKeys[] = {
    {8, "backspace"},     {9, "tab"},           {12, "clear"},        {13, "return"},
    {19, "pause"},        {27, "escape"},       {32, "space"},        {127, "delete"},
    {266, "[.]"},         {267, "[/]"},         {268, "[*]"},         {269, "[-]"},
    {270, "[+]"},         {271, "enter"},       {272, "equals"},      {273, "up"},
    {274, "down"},        {275, "right"},       {276, "left"},        {277, "insert"},
    {278, "home"},        {279, "end"},         {280, "page up"},     {281, "page down"},
    {300, "numlock"},     {301, "caps lock"},   {302, "scroll lock"}, {303, "right shift"},
    {304, "left shift"},  {305, "right ctrl"},  {306, "left ctrl"},   {307, "right alt"},
    {308, "left alt"},    {309, "right meta"},  {310, "left meta"},   {311, "left super"},
    {312, "right super"}, {313, "alt gr"},      {314, "compose"},     {315, "help"},
    {316, "print screen"}, {317, "sys req"},    {318, "break"},       {319, "menu"},
    {320, "power"},       {321, "euro"},        {322, "undo"},
};

// The printable characters that are keys of their own: no capitals (a letter key's code is its
// small letter), no '%' and none of "{|}~".
static bool characterKey(int key)
{
    return (key >= 33 && key <= 64 && key != 37) || (key >= 91 && key <= 122);
}

std::string keyName(int key)
{
    for (const auto &named : NamedKeys)
        if (named.key == key)
            return named.name;
    if (characterKey(key))
        return std::string(1, static_cast<char>(key));
    if (key >= 160 && key <= 255)
        return "world " + std::to_string(key - 160);
    if (key >= 256 && key <= 265)
        return "[" + std::to_string(key - 256) + "]";
    if (key >= 282 && key <= 296)
        return "f" + std::to_string(key - 281);
    return "unknown key";
}
