// item.cpp: the menu item (centred text, strict hover box, hover colour, click) and centred text.
#include <GL/gl.h>

#include "base/state.h"
#include "menu/menu.h"
#include "text/text.h"

// Left edge that centres a text of whole-pixel width w on x = 400, the halving truncating.
static float centredX(int32_t w)
{
    return static_cast<float>(400 - w / 2);
}

void drawCentred(const std::string &text, float y)
{
    BitmapFont &font = game.largeFont;
    font.sprite.y = y;
    font.sprite.x = centredX(measureText(font, text));
    drawText(font, text);
}

void menuItem(const std::string &text, float y, ItemAction action, bool &menuClick)
{
    BitmapFont &font = game.largeFont;
    font.sprite.y = y;
    font.sprite.x = centredX(measureText(font, text));
    measureText(font, text);  // the box, at the final position
    if (spriteContains(font, game.mouseX, game.mouseY)) {
        glColor4f(1.0f, 1.0f, 0.0f, 0.9f);
        if (menuClick)
            action(menuClick);
    }
    drawText(font, text);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}
