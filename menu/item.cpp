// item.cpp: the menu item: a centred text with a strict hover box, lit under the pointer or by
// the keys, chosen by a click or by Return.
#include "base/config.h"
#include "input/input.h"
#include "menu/menu.h"

int moveSelection(int count)
{
    int &s = game.menuSelection;
    if (pressed(MenuDown))
        s = s == NoSelection ? 0 : (s + 1) % count;
    if (pressed(MenuUp))
        s = s == NoSelection ? count - 1 : (s + count - 1) % count;
    return s;
}

bool itemLit(const TextBox &box, int index, const View &view)
{
    if (view.selection != NoSelection)
        return view.selection == index;
    return boxContains(box, view.pointerX, view.pointerY);
}

bool itemChosen(const TextBox &box, int index)
{
    if (clicked() && boxContains(box, game.mouseX, game.mouseY))
        return true;
    if (!pressed(Confirm))
        return false;
    if (game.menuSelection != NoSelection)
        return game.menuSelection == index;
    return boxContains(box, game.mouseX, game.mouseY);
}

bool backChosen(float y, int index)
{
    bool escape = heldOnce(Leave);
    bool item = itemChosen(itemBox("back", y), index);
    bool pad = pressed(MenuBack);
    return escape || item || pad;
}

TextBox itemBox(const std::string &text, float y)
{
    return centredBox(game.largeFont, text, ScreenWidth / 2, y, 1.0f);
}

void drawItem(const std::string &text, float y, int index, Colour colour, const View &view)
{
    TextBox box = itemBox(text, y);
    drawTextIn(game.largeFont, text, box, 1.0f, itemLit(box, index, view) ? HoverColour : colour);
}
