// item.cpp: the menu item: a centred text with a strict hover box, lit under the pointer.
#include "base/config.h"
#include "menu/menu.h"

TextBox itemBox(const std::string &text, float y)
{
    return centredBox(game.largeFont, text, ScreenWidth / 2, y, 1.0f);
}

bool itemClicked(const std::string &text, float y, bool click)
{
    return click && boxContains(itemBox(text, y), game.mouseX, game.mouseY);
}

void drawItem(const std::string &text, float y, Colour colour, const View &view)
{
    TextBox box = itemBox(text, y);
    drawTextIn(game.largeFont, text, box, 1.0f, boxContains(box, view.pointerX, view.pointerY) ? HoverColour : colour);
}
