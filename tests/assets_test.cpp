// assets_test.cpp: every picture and font of the game loaded at once, and a whole start-up's log.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "base/state.h"
#include "app/assets.h"
#include "gfx/sprite.h"
#include "support.h"
#include "text/text.h"

namespace {

void expectSheet(const Sprite &sheet, int side)
{
    EXPECT_EQ(sheet.x, 0.0f);
    EXPECT_EQ(sheet.width, static_cast<float>(side));
    EXPECT_EQ(sheet.height, static_cast<float>(side));
    EXPECT_EQ(sheet.srcX0, 0);
    EXPECT_EQ(sheet.srcX1, side);
    EXPECT_EQ(sheet.srcY1, side);
    if (sheet.textureWidth > 0) {
        EXPECT_FLOAT_EQ(sheet.texRight, static_cast<float>(side) / sheet.textureWidth);
        EXPECT_FLOAT_EQ(sheet.texBottom, static_cast<float>(side) / sheet.textureHeight);
    }
}

TEST(Assets, GameMediaLoadInOrderAndEveryReloadStartsAfresh)
{
    std::string dir = openGameWindow();
    copyMedia(dir);
    size_t mark = logText().size();
    loadAssets();
    EXPECT_EQ(logText().substr(mark), PicturesLog);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLint source = 0, destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);

    expectSheet(game.blockSprite, 32);
    expectSheet(game.explosionSprite, 64);
    EXPECT_EQ(game.backgroundSprite.imageWidth, 800);
    EXPECT_EQ(game.smallFont.spaceWidth, 12);
    EXPECT_EQ(game.largeFont.spaceWidth, 16);
    EXPECT_GT(game.smallFont.glyphCount, 0);
    EXPECT_GT(game.largeFont.glyphCount, 0);
    EXPECT_EQ(game.largeFont.sprite.height, static_cast<float>(game.largeFont.sprite.imageHeight));

    // The score font draws the digits visibly in white.
    clearTo(Rgb{0, 0, 0});
    float end = drawText(game.smallFont, "808", 100, 100, 1.0f, Plain);
    int lit = 0;
    for (int y = 100; y < 100 + game.smallFont.sprite.height; y += 2)
        for (int x = 100; x < end; x += 2)
            lit += pixelAt(x, y).r > 128;
    EXPECT_GT(lit, 10);

    // After a rebuild everything comes again into new textures, placed and scaled afresh.
    uint32_t firstBlocks = game.blockSprite.textureId;
    game.introSprite.x = 50;
    drawSpriteFrame(game.blockSprite, 3);
    mark = logText().size();
    loadAssets();
    EXPECT_EQ(logText().substr(mark), PicturesLog);
    EXPECT_NE(game.blockSprite.textureId, firstBlocks);
    EXPECT_EQ(game.introSprite.x, 0.0f);
    expectSheet(game.blockSprite, 32);
}

TEST(Assets, WithoutMediaEveryPictureIsReportedAndTheSheetsStillGetTheirFrames)
{
    openGameWindow();
    size_t mark = logText().size();
    loadAssets();
    EXPECT_EQ(logText().substr(mark),
              "Texture back.jpg ERROR\nTexture intro.jpg ERROR\nTexture font1.png ERROR\n"
              "Texture bobcat36.png ERROR\nTexture klocki.jpg ERROR\nTexture posw.png ERROR\n"
              "Texture wybuch.png ERROR\n");
    EXPECT_EQ(game.backgroundSprite.textureId, 0u);
    expectSheet(game.blockSprite, 32);
    expectSheet(game.explosionSprite, 64);
    EXPECT_EQ(game.smallFont.glyphCount, 0);
    EXPECT_EQ(game.smallFont.spaceWidth, 12);
    // Nothing to draw, and drawing it must not fail.
    drawSpriteFrame(game.explosionSprite, 30);
    EXPECT_EQ(measureText(game.largeFont, "new game", 1.0f), 16);
}

}  // namespace
