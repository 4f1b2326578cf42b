// menu.h: the pages of the intro screen and the menu item they share.
#pragma once

#include <string>

// What a menu item does when it is clicked; it may clear the click so that no later item acts.
using ItemAction = void (*)(bool &menuClick);

// A text centred on x = 400 at `y` in the large font at its current scale. Under the pointer
// it is drawn in the hover colour and, when clicked this frame, `action` runs before drawing.
// Off the pointer it is drawn in the colour the caller set. Ends with opaque white.
void menuItem(const std::string &text, float y, ItemAction action, bool &menuClick);

// Draws `text` centred on x = 400 at `y` in the large font at its current scale.
void drawCentred(const std::string &text, float y);

// The page blocks; each draws its page and acts on this frame's click and held keys.
void mainPage(bool &menuClick);
void optionsPage(bool &menuClick);
void highScorePage(bool &menuClick);
void creditsPage(bool &menuClick);

// Back to the main page on a left click or any held key from 0 to 253; consumes them.
void leaveOnClickOrKey(bool &menuClick);

// Lowest key code that no page reads: arrows, keypad, function and modifier keys lie above.
const int FirstUnreadKey = 254;
