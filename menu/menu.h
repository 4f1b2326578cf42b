// menu.h: the intro screen: its pages, the menu item they share, and its picture.
#pragma once

#include <string>

#include "base/state.h"
#include "text/text.h"

// One frame of the intro screen: the page, and the page it goes back to in the same frame;
// fills game.view with the pages drawn, the pointer and the switches as shown.
void updateIntro();

// The background, the glow under the pointer, each page of the frame and the version.
void drawIntro(const View &view);

// The pages: each acts on this frame's click and held keys (the click may be cleared, so that
// nothing later acts on it), and draws what game.view holds.
void updateMainPage(bool &click);
void updateOptionsPage(bool &click);
void updateHighScorePage(bool &click);
void updateCreditsPage(bool &click);
void drawMainPage(const View &view);
void drawOptionsPage(const View &view);
void drawHighScorePage(const View &view);
void drawCreditsPage(const View &view);

// A menu item: its text centred on x = 400 at `y` in the large font at scale 1.
TextBox itemBox(const std::string &text, float y);

// Whether a click of this frame is on the item.
bool itemClicked(const std::string &text, float y, bool click);

// The item in `colour`, or in the hover colour when the view's pointer is inside its box.
void drawItem(const std::string &text, float y, Colour colour, const View &view);

// The pages' colours: the hover yellow of items and switches, and the faint white of labels.
const Colour HoverColour = {1.0f, 1.0f, 0.0f, 0.9f};
const Colour Yellow = {1.0f, 1.0f, 0.0f, 1.0f};
const Colour LabelColour = {1.0f, 1.0f, 1.0f, 0.6f};
