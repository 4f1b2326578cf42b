// text_test.cpp: texts measured, drawn in a real window and hit-tested; numbers as text.
#include <gtest/gtest.h>

#include <climits>

#include "base/state.h"
#include "app/assets.h"
#include "gfx/sprite.h"
#include "support.h"
#include "text/font.h"
#include "text/text.h"

namespace {

const Rgb Black{0, 0, 0};
const Rgb Red{255, 0, 0};
const Rgb Green{0, 255, 0};
const Rgb Blue{0, 0, 255};

// Glyph 0 'a' red, 1 'b' green, 2 'c' blue: 16 x 16 cells side by side in a 64 x 16 image.
// 'c' advances 8 pixels, so its 16 pixel wide rectangle is squeezed into 8.
const char *Metrics = "test font 3 the chars abc its widths 16 16 8 glyph rectangles 0 0 16 16 16 0 16 16 32 0 16 16";

Rgb cellColour(int x, int)
{
    return x < 16 ? Red : x < 32 ? Green : x < 48 ? Blue : Black;
}

struct TextTest : ::testing::Test {
    std::string dir = makeProgramDir();
    BitmapFont font{};
    void SetUp() override
    {
        writeFile(dir + "media/test.txt", Metrics);
        loadFont(font, "media/", "test.txt", 16);
        font.sprite.height = 16;  // the image height, as the font image would set it
    }
    // Where the texts of a test go, and at what scale.
    float x = 0, y = 0, scale = 1.0f;
    void place(float atX, float atY, float atScale)
    {
        x = atX;
        y = atY;
        scale = atScale;
    }
    TextBox box(const std::string &text) const { return textBox(font, text, x, y, scale); }
};

void expectBox(const TextBox &box, float x, float y, float width, float height)
{
    EXPECT_NEAR(box.x, x, 1e-3);
    EXPECT_NEAR(box.y, y, 1e-3);
    EXPECT_NEAR(box.width, width, 1e-3);
    EXPECT_NEAR(box.height, height, 1e-3);
}

TEST_F(TextTest, MeasureAddsScaledAdvancesAndTruncates)
{
    place(220, 40, 1.0f);
    EXPECT_EQ(measureText(font, "abc", scale), 40);
    expectBox(box("abc"), 220, 40, 40, 16);
    EXPECT_EQ(measureText(font, "", scale), 0);
    expectBox(box(""), 220, 40, 0, 16);
    EXPECT_EQ(measureText(font, "   ", scale), 48);
    // Unlisted bytes, the upper half included, measure as glyph 0.
    EXPECT_EQ(measureText(font, "z\xE9", scale), 32);

    place(0, 0, 2.0f);
    EXPECT_EQ(measureText(font, "a c", scale), 80);
    expectBox(box("a c"), 0, 0, 80, 32);
    place(0, 0, 0.7f);
    EXPECT_EQ(measureText(font, "ac", scale), 16);  // 11.2 + 5.6 = 16.8
    EXPECT_FLOAT_EQ(box("ac").height, 11.2f);
    // Centred on x = 400: the left edge at 400 - w / 2, the halving truncating.
    expectBox(centredBox(font, "ab", 400, 10, 0.7f), 400 - 22 / 2, 10, 22.4f, 11.2f);
    expectBox(centredBox(font, "b", 400, 10, 0.7f), 400 - 11 / 2, 10, 11.2f, 11.2f);
    font.advance[2] = 1;
    EXPECT_EQ(measureText(font, "c", 0.9f), 0);
    EXPECT_EQ(measureText(font, "c", 10.7f), 10);

    // Absurd advances from a damaged metrics file give a huge width, not a wrapped one.
    font.advance[0] = INT_MAX;
    EXPECT_EQ(measureText(font, "aaaa", 4.0f), INT_MAX);
}

TEST_F(TextTest, ContainsOnlyPointsStrictlyInsideTheBox)
{
    place(100, 200, 1.0f);
    TextBox b = box("abab");  // 100..164 by 200..216
    EXPECT_TRUE(boxContains(b, 101, 201));
    EXPECT_TRUE(boxContains(b, 163, 215));
    EXPECT_FALSE(boxContains(b, 100, 208));
    EXPECT_FALSE(boxContains(b, 164, 208));
    EXPECT_FALSE(boxContains(b, 130, 200));
    EXPECT_FALSE(boxContains(b, 130, 216));
    EXPECT_FALSE(boxContains(b, 50, 208));

    place(100, 200, 2.0f);
    b = box("abab");  // 100..228 by 200..232
    EXPECT_TRUE(boxContains(b, 227, 231));
    EXPECT_FALSE(boxContains(b, 228, 231));

    b = box("");
    EXPECT_FALSE(boxContains(b, 100, 210));
    EXPECT_FALSE(boxContains(b, 101, 210));
}

// A font whose picture did not load: its texts keep the glyphs' height from the metrics, so a
// menu item written in it can still be clicked where it stands.
TEST_F(TextTest, AFontWithoutItsPictureKeepsTheGlyphHeightForItsBox)
{
    font.sprite.height = 0;
    place(100, 200, 0.5f);
    TextBox b = box("abab");
    expectBox(b, 100, 200, 32, 8);
    EXPECT_TRUE(boxContains(b, 120, 207));
    EXPECT_FALSE(boxContains(b, 120, 209));

    font.glyphRect[1].bottom = 1 << 30;  // a damaged rectangle does not cover the screen
    EXPECT_EQ(box("a").height, 300.0f);

    BitmapFont empty{};  // no metrics either: no box to click
    EXPECT_FALSE(boxContains(textBox(empty, "new game", 0, 0, 1.0f), 1, 0));
}

TEST(IntToText, DecimalAsAStreamWritesIt)
{
    EXPECT_EQ(intToText(0), "0");
    EXPECT_EQ(intToText(7), "7");
    EXPECT_EQ(intToText(-42), "-42");
    EXPECT_EQ(intToText(1000000), "1000000");
    EXPECT_EQ(intToText(INT_MIN), "-2147483648");
    EXPECT_EQ(intToText(INT_MAX), "2147483647");
}

struct DrawTextTest : TextTest {
    void SetUp() override
    {
        dir = openGameWindow();
        loadAssets();
        saveOpaqueImage(dir + "media/test.bmp", 64, 16, cellColour);
        writeFile(dir + "media/test.txt", Metrics);
        loadFont(font, "media/", "test.txt", 16);
        loadTexture(font.sprite, "media/", "test.bmp");
        clearTo(Black);
    }
};

TEST_F(DrawTextTest, GlyphsStandSideBySideAtThePen)
{
    // a at 100..115, b at 116..131, a space of 16, then c squeezed into 148..155.
    EXPECT_EQ(drawText(font, "ab c", 100, 200, 1.0f, Plain), 156.0f);
    EXPECT_TRUE(pixelIs(102, 202, Red));
    EXPECT_TRUE(pixelIs(113, 213, Red));
    EXPECT_TRUE(pixelIs(118, 208, Green));
    EXPECT_TRUE(pixelIs(129, 208, Green));
    EXPECT_TRUE(pixelIs(140, 208, Black));
    EXPECT_TRUE(pixelIs(151, 208, Blue));
    EXPECT_TRUE(pixelIs(158, 208, Black));
    EXPECT_TRUE(pixelIs(108, 198, Black));
    EXPECT_TRUE(pixelIs(108, 218, Black));
    // The font itself is left as it was.
    EXPECT_EQ(font.sprite.x, 0.0f);
    EXPECT_EQ(font.sprite.height, 16.0f);

    // A second text carries on where the first ended.
    drawText(font, "b", 156, 200, 1.0f, Plain);
    EXPECT_TRUE(pixelIs(160, 208, Green));

    // Nothing at all for an empty text or spaces.
    clearTo(Black);
    EXPECT_EQ(drawText(font, "", 300, 300, 1.0f, Plain), 300.0f);
    EXPECT_EQ(drawText(font, "   ", 300, 300, 1.0f, Plain), 348.0f);
    for (int x = 296; x < 352; x += 4)
        EXPECT_TRUE(pixelIs(x, 308, Black));

    // In a colour: the glyphs' own colours times it, blended by its alpha.
    clearTo(Black);
    drawText(font, "a", 100, 200, 1.0f, Colour{1.0f, 1.0f, 1.0f, 0.5f});
    EXPECT_TRUE(pixelIs(108, 208, (Rgb{128, 0, 0})));
    drawText(font, "b", 100, 300, 1.0f, Colour{0.0f, 0.5f, 1.0f, 1.0f});
    EXPECT_TRUE(pixelIs(108, 308, (Rgb{0, 128, 0})));
}

TEST_F(DrawTextTest, ScaleStretchesGlyphsAndSpaces)
{
    // a is 32 x 32 at 100..131 by 100..131; the space 32; b at 164..195.
    EXPECT_EQ(drawText(font, "a b", 100, 100, 2.0f, Plain), 196.0f);
    EXPECT_TRUE(pixelIs(104, 104, Red));
    EXPECT_TRUE(pixelIs(127, 127, Red));
    EXPECT_TRUE(pixelIs(116, 134, Black));
    EXPECT_TRUE(pixelIs(148, 116, Black));
    EXPECT_TRUE(pixelIs(168, 127, Green));
    EXPECT_TRUE(pixelIs(199, 116, Black));
    EXPECT_EQ(font.sprite.height, 16.0f);

    clearTo(Black);
    // Glyphs of 11.2 x 11.2 pixels: a from 400 to 411.2, b to 422.4.
    EXPECT_NEAR(drawText(font, "ab", 400, 100, 0.7f, Plain), 422.4f, 1e-3);
    EXPECT_TRUE(pixelIs(405, 105, Red));
    EXPECT_TRUE(pixelIs(417, 105, Green));
    EXPECT_TRUE(pixelIs(405, 113, Black));
    EXPECT_TRUE(pixelIs(425, 105, Black));
}

}  // namespace
