// font_test.cpp: the metrics reader on good, missing and hostile files.
#include <gtest/gtest.h>

#include <cstring>

#include "base/state.h"
#include "support.h"
#include "text/font.h"

namespace {

struct FontTest : ::testing::Test {
    std::string dir = makeProgramDir();
    BitmapFont font{};
    void load(const std::string &metrics, int32_t spaceWidth = 16)
    {
        writeFile(dir + "media/metrics.txt", metrics);
        loadFont(font, "media/", "metrics.txt", spaceWidth);
    }
};

bool sameTables(const BitmapFont &a, const BitmapFont &b)
{
    return a.glyphCount == b.glyphCount && std::memcmp(a.glyphOfChar, b.glyphOfChar, sizeof a.glyphOfChar) == 0 &&
           std::memcmp(a.advance, b.advance, sizeof a.advance) == 0 &&
           std::memcmp(a.glyphRect, b.glyphRect, sizeof a.glyphRect) == 0;
}

const char *ThreeGlyphs =
    "font demo\n3\nchars are\na b x\nwidths in\n10 12 14\nglyph rectangles\n"
    "0 0 10 20  10 0 12 20\t22 0 14 20\n";

TEST_F(FontTest, ReadsCharactersAdvancesAndRectangles)
{
    font.sprite.x = 30;
    load(ThreeGlyphs, 12);
    EXPECT_EQ(font.glyphCount, 3);
    EXPECT_EQ(font.glyphOfChar['a'], 0);
    EXPECT_EQ(font.glyphOfChar['b'], 1);
    EXPECT_EQ(font.glyphOfChar['x'], 2);
    EXPECT_EQ(font.glyphOfChar['c'], 0);
    EXPECT_EQ(font.glyphOfChar[200], 0);
    EXPECT_EQ(font.advance[1], 12);
    EXPECT_EQ(font.glyphRect[2].left, 22);
    EXPECT_EQ(font.glyphRect[2].top, 0);
    EXPECT_EQ(font.glyphRect[2].width, 14);
    EXPECT_EQ(font.glyphRect[2].bottom, 20);
    EXPECT_EQ(font.spaceWidth, 12);
    EXPECT_EQ(font.sprite.x, 30.0f);
    EXPECT_EQ(logText().find("metrics"), std::string::npos);

    // Characters written together, other label words and line breaks read the same.
    BitmapFont together{};
    writeFile(dir + "media/together.txt", "a b 3 c d\r\nabx e f 10 12 14 g h 0 0 10 20 10 0 12 20 22 0 14 20");
    loadFont(together, "media/", "together.txt", 12);
    EXPECT_TRUE(sameTables(font, together));
}

TEST_F(FontTest, ReloadingKeepsUnlistedEntriesAndTheLaterOfTwoListings)
{
    load(ThreeGlyphs);
    load("l l 2 l l q a l l 5 6 l l 1 2 3 4 5 6 7 8");
    EXPECT_EQ(font.glyphOfChar['q'], 0);
    EXPECT_EQ(font.glyphOfChar['a'], 1);
    EXPECT_EQ(font.glyphOfChar['x'], 2);  // from the first file: the map is not cleared
    EXPECT_EQ(font.advance[2], 14);

    load("l l 3 l l q q r l l 1 2 3 l l");
    EXPECT_EQ(font.glyphOfChar['q'], 1);
    EXPECT_EQ(font.glyphOfChar['r'], 2);
}

TEST_F(FontTest, MissingFileLeavesEverythingButTheSpace)
{
    loadFont(font, "media/", "none.txt", 16);
    EXPECT_EQ(font.glyphCount, 0);
    EXPECT_EQ(font.spaceWidth, 16);
    BitmapFont empty{};
    EXPECT_TRUE(sameTables(font, empty));

    load(ThreeGlyphs);
    BitmapFont loaded = font;
    loadFont(font, "media/", "none.txt", 20);
    EXPECT_TRUE(sameTables(font, loaded));
    EXPECT_EQ(font.spaceWidth, 20);
    EXPECT_EQ(logText().find("none.txt"), std::string::npos);
}

// Every non-blank byte value, so that a long list is as hostile as it can be.
std::string everyNonBlankByte()
{
    std::string bytes;
    for (int b = 1; b < 256; b++)
        if (!std::strchr(" \t\n\v\f\r", b))
            bytes += static_cast<char>(b);
    return bytes;
}

TEST_F(FontTest, MoreThan255GlyphsAreCutTo255)
{
    std::string chars = everyNonBlankByte();
    chars += chars.substr(0, 300 - chars.size());
    ASSERT_EQ(chars.size(), 300u);
    std::string metrics = "l l 300 l l " + chars + " l l";
    for (int k = 0; k < 300; k++)
        metrics += " " + std::to_string(1000 + k);
    metrics += " l l";
    for (int k = 0; k < 300; k++)
        metrics += " " + std::to_string(k) + " 1 2 " + std::to_string(3 + k);
    load(metrics);

    EXPECT_EQ(font.glyphCount, 255);
    // 249 different bytes, then the first 51 of them again: a second listing counts while its
    // index still fits in a glyph, up to chars[5] at 254; chars[6] at 255 keeps its first index.
    EXPECT_EQ(font.glyphOfChar[static_cast<unsigned char>(chars[0])], 249);
    EXPECT_EQ(font.glyphOfChar[static_cast<unsigned char>(chars[5])], 254);
    EXPECT_EQ(font.glyphOfChar[static_cast<unsigned char>(chars[6])], 6);
    EXPECT_EQ(font.glyphOfChar[static_cast<unsigned char>(chars[248])], 248);
    EXPECT_EQ(font.advance[254], 1254);
    // The sections after the cut still line up.
    EXPECT_EQ(font.glyphRect[0].left, 0);
    EXPECT_EQ(font.glyphRect[0].bottom, 3);
    EXPECT_EQ(font.glyphRect[254].left, 254);
    EXPECT_EQ(font.glyphRect[254].bottom, 257);
}

TEST_F(FontTest, HostileCountsAndShortFilesStayInsideTheTables)
{
    load(ThreeGlyphs);
    BitmapFont loaded = font;

    load("l l -5 l l a b l l 7 8 l l 1 2 3 4");
    EXPECT_EQ(font.glyphCount, 0);
    EXPECT_EQ(std::memcmp(font.glyphOfChar, loaded.glyphOfChar, sizeof font.glyphOfChar), 0);
    EXPECT_EQ(font.advance[0], 10);

    load("l l 2147483647 l l zy l l 30 31 l l 5 6 7 8");
    EXPECT_EQ(font.glyphCount, 255);
    // "zy" and then the label words, the numbers and so on are all read as characters.
    EXPECT_EQ(font.glyphOfChar['z'], 0);
    EXPECT_EQ(font.glyphOfChar['y'], 1);
    EXPECT_EQ(font.advance[0], 10);

    load("l l 99999999999 l l q");
    EXPECT_EQ(font.glyphCount, 255);  // a count that does not fit is not read at all
    EXPECT_EQ(font.glyphOfChar['q'], 0);

    // Fewer entries than announced: what is there is read, the rest keeps its value.
    load(ThreeGlyphs);
    load("l l 6 l l nmkopq l l 40 41");
    EXPECT_EQ(font.glyphCount, 6);
    EXPECT_EQ(font.glyphOfChar['q'], 5);
    EXPECT_EQ(font.advance[1], 41);
    EXPECT_EQ(font.advance[2], 14);
    EXPECT_EQ(font.glyphRect[0].width, 10);
    load("l l 3 l l abx l l 1 2 3 l l 7 8 9");
    EXPECT_EQ(font.glyphRect[0].left, 7);
    EXPECT_EQ(font.glyphRect[0].width, 9);
    EXPECT_EQ(font.glyphRect[0].bottom, 20);

    // A number that cannot be read stops the reading; the fields keep their values.
    load("l l 2 l l uv l l 50 wide l l 1 2 3 4");
    EXPECT_EQ(font.advance[0], 50);
    EXPECT_EQ(font.advance[1], 2);
    EXPECT_EQ(font.glyphRect[0].left, 7);
}

TEST_F(FontTest, BytesAbove127IndexTheUpperHalfOfTheMap)
{
    load("l l 4 l l \xE9 \x80 \xFF A l l 5 6 7 8 l l 0 0 5 9 5 0 6 9 11 0 7 9 18 0 8 9");
    EXPECT_EQ(font.glyphCount, 4);
    EXPECT_EQ(font.glyphOfChar[0xE9], 0);
    EXPECT_EQ(font.glyphOfChar[0x80], 1);
    EXPECT_EQ(font.glyphOfChar[0xFF], 2);
    EXPECT_EQ(font.glyphOfChar['A'], 3);
    EXPECT_EQ(font.advance[2], 7);
}

}  // namespace
