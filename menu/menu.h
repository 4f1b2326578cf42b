// menu.h: the intro screen: its pages, the menu item they share, and its picture.
#pragma once

#include <string>

#include "base/state.h"
#include "text/text.h"

// One frame of the intro screen: the page, and the page it goes back to in the same frame;
// fills game.view with the pages drawn, the pointer, the lit item and what the pages show.
void updateIntro();

// The background, the glow under the pointer, each page of the frame and the version.
void drawIntro(const View &view);

// The pages: each acts on this frame's click, keys and buttons, puts what it shows into
// game.view, and draws what the view holds.
void updateMainPage();
void updateOptionsPage();
void updateHighScorePage();
void updateCreditsPage();
void updateControlsPage();
void drawMainPage(const View &view);
void drawOptionsPage(const View &view);
void drawHighScorePage(const View &view);
void drawCreditsPage(const View &view);
void drawControlsPage(const View &view);

// Up and Down (the arrows, the gamepad) move the lit item over a page of `count` items, round
// and round; the pointer, when it moves, lights its item again. Returns the item lit by the
// keys, or NoSelection.
int moveSelection(int count);

// Whether the item `index` in its box is lit: the keys' item, or the one under the pointer.
bool itemLit(const TextBox &box, int index, const View &view);

// Whether the item in its box is chosen in this frame: clicked, or lit and Return (keypad Enter,
// the gamepad's first button) pressed.
bool itemChosen(const TextBox &box, int index);

// Whether the page is left back in this frame: Escape held, "back" (the item `index` at `y`)
// chosen, or the gamepad's second button pressed.
bool backChosen(float y, int index);

// A menu item: its text centred on x = 400 at `y` in the large font at scale 1.
TextBox itemBox(const std::string &text, float y);

// The item in `colour`, or in the hover colour when it is lit.
void drawItem(const std::string &text, float y, int index, Colour colour, const View &view);

// The pages' colours: the hover yellow of items and switches, and the faint white of labels.
const Colour HoverColour = {1.0f, 1.0f, 0.0f, 0.9f};
const Colour LabelColour = {1.0f, 1.0f, 1.0f, 0.6f};
