// assets.cpp: loads every picture and both fonts of media/ into the record, in their order.
#include "app/assets.h"

#include "base/media.h"
#include "base/state.h"
#include "game/play.h"
#include "gfx/sprite.h"
#include "text/font.h"

// A sheet cut into square frames of `side` pixels, showing frame 0 at `side` x `side`.
static void setSheetFrame(Sprite &sprite, int32_t side)
{
    sprite.x = sprite.y = 0.0f;
    sprite.width = sprite.height = static_cast<float>(side);
    sprite.srcX0 = sprite.srcY0 = 0;
    sprite.srcX1 = sprite.srcY1 = side;
    updateTexCoords(sprite);
}

void loadAssets()
{
    setDrawingState();

    const std::string &media = game.mediaDir;
    loadTexture(game.backgroundSprite, media, PictureFiles[BackgroundPicture]);
    loadTexture(game.introSprite, media, PictureFiles[IntroPicture]);
    loadFont(game.smallFont, media, SmallFontMetrics, 12);
    loadFont(game.largeFont, media, LargeFontMetrics, 16);
    loadTexture(game.smallFont.sprite, media, PictureFiles[SmallFontPicture]);
    loadTexture(game.largeFont.sprite, media, PictureFiles[LargeFontPicture]);
    loadTexture(game.blockSprite, media, PictureFiles[BlockPicture]);
    loadTexture(game.glowSprite, media, PictureFiles[GlowPicture]);
    setSheetFrame(game.blockSprite, CellSize);
    loadTexture(game.explosionSprite, media, PictureFiles[ExplosionPicture]);
    setSheetFrame(game.explosionSprite, ExplosionSize);
    dropStartPictures();
}
