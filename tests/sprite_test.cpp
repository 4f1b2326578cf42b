// sprite_test.cpp: pictures loaded into textures and drawn in a real window, checked in pixels.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "SDL.h"
#include "SDL_image.h"
#include "base/state.h"
#include "app/assets.h"
#include "gfx/sprite.h"
#include "support.h"

namespace {

struct SpriteTest : ::testing::Test {
    std::string dir = openGameWindow();
    std::string media = dir + "media/";
    void SetUp() override
    {
        loadAssets();  // the blend and culling state every draw relies on; media/ is still empty
        clearTo(Black);
    }
};

bool sameBytes(const Sprite &a, const Sprite &b)
{
    return std::memcmp(&a, &b, sizeof(Sprite)) == 0;
}

// A sheet whose frame f (counted left to right, then down) is filled with this colour.
Rgb frameColour(int f)
{
    return Rgb{f * 15, 255 - f * 15, (f * 37) % 256};
}

TEST_F(SpriteTest, ImageFillsThePowerOfTwoTextureFromTheTopLeftWithTransparentPadding)
{
    saveOpaqueImage(media + "wide.bmp", 300, 200, [](int x, int) { return x < 150 ? Red : Blue; });
    Sprite sprite{};
    sprite.x = 5;
    sprite.y = 7;
    sprite.angle = 30;
    sprite.flipX = 1;
    size_t mark = logText().size();
    loadTexture(sprite, "media/", "wide.bmp");
    EXPECT_EQ(logSince(mark), "Texture wide.bmp loading ok\n");

    EXPECT_NE(sprite.textureId, 0u);
    EXPECT_EQ(sprite.imageWidth, 300);
    EXPECT_EQ(sprite.imageHeight, 200);
    EXPECT_EQ(sprite.textureWidth, 512);
    EXPECT_EQ(sprite.textureHeight, 256);
    EXPECT_FLOAT_EQ(sprite.texRight, 0.5859375f);
    EXPECT_FLOAT_EQ(sprite.texBottom, 0.78125f);
    EXPECT_EQ(sprite.texLeft, 0.0f);
    EXPECT_EQ(sprite.texTop, 0.0f);
    EXPECT_EQ(sprite.width, 300.0f);
    EXPECT_EQ(sprite.height, 200.0f);
    EXPECT_EQ(sprite.srcX1, 300);
    EXPECT_EQ(sprite.srcY1, 200);
    EXPECT_EQ(sprite.x, 0.0f);
    EXPECT_EQ(sprite.y, 0.0f);
    EXPECT_EQ(sprite.angle, 0.0f);
    EXPECT_EQ(sprite.flipX, 0);

    // Drawn whole, padding included, over green: the image sits top-left and the rest is see-through.
    clearTo(Green);
    sprite.srcX1 = sprite.textureWidth;
    sprite.srcY1 = sprite.textureHeight;
    sprite.width = 512;
    sprite.height = 256;
    updateTexCoords(sprite);
    drawSprite(sprite);
    EXPECT_TRUE(pixelIs(20, 20, Red));
    EXPECT_TRUE(pixelIs(280, 180, Blue));
    EXPECT_TRUE(pixelIs(320, 20, Green));
    EXPECT_TRUE(pixelIs(20, 220, Green));
    EXPECT_TRUE(pixelIs(500, 250, Green));

    saveOpaqueImage(media + "square.bmp", 256, 256, solid(White));
    saveOpaqueImage(media + "dot.bmp", 1, 1, solid(White));
    Sprite square{}, dot{};
    loadTexture(square, "media/", "square.bmp");
    loadTexture(dot, "media/", "dot.bmp");
    EXPECT_EQ(square.textureWidth, 256);
    EXPECT_EQ(square.textureHeight, 256);
    EXPECT_EQ(square.texRight, 1.0f);
    EXPECT_EQ(square.texBottom, 1.0f);
    EXPECT_EQ(dot.textureWidth, 1);
    EXPECT_EQ(dot.textureHeight, 1);
    EXPECT_NE(square.textureId, dot.textureId);
}

// The bound texture as OpenGL holds it: RGBA bytes, row after row.
std::vector<Uint8> textureBytes(const Sprite &sprite)
{
    std::vector<Uint8> bytes(static_cast<size_t>(sprite.textureWidth) * sprite.textureHeight * 4);
    glBindTexture(GL_TEXTURE_2D, sprite.textureId);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    return bytes;
}

// What a texture of this size made from the file must hold: the decoded image copied by SDL into
// the top-left corner of a zero-filled RGBA surface, carrying its own alpha values over.
std::vector<Uint8> blittedBytes(const std::string &path, int width, int height)
{
    SDL_Surface *image = IMG_Load(path.c_str());
    SDL_Surface *rgba = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 32, 0x000000FF, 0x0000FF00,
                                             0x00FF0000, 0xFF000000);
    std::vector<Uint8> bytes;
    if (!image || !rgba || rgba->pitch != width * 4)
        return bytes;
    if (image->flags & SDL_SRCALPHA)
        SDL_SetAlpha(image, 0, 0);
    SDL_BlitSurface(image, nullptr, rgba, nullptr);
    const Uint8 *pixels = static_cast<const Uint8 *>(rgba->pixels);
    bytes.assign(pixels, pixels + static_cast<size_t>(width) * height * 4);
    SDL_FreeSurface(image);
    SDL_FreeSurface(rgba);
    return bytes;
}

// An 8-bit picture with a palette, which OpenGL cannot read as it lies.
void savePalettedBmp(const std::string &path, int width, int height)
{
    SDL_Surface *surface = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 8, 0, 0, 0, 0);
    ASSERT_NE(surface, nullptr);
    SDL_Color colours[4] = {{250, 10, 10, 0}, {10, 250, 10, 0}, {10, 10, 250, 0}, {200, 200, 50, 0}};
    SDL_SetColors(surface, colours, 0, 4);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            static_cast<Uint8 *>(surface->pixels)[y * surface->pitch + x] = static_cast<Uint8>((x / 3 + y) % 4);
    ASSERT_EQ(SDL_SaveBMP(surface, path.c_str()), 0);
    SDL_FreeSurface(surface);
}

TEST_F(SpriteTest, TexturesHoldTheImageCopiedIntoTransparentBlack)
{
    // Whatever way a picture reaches OpenGL, as it lies or converted first, the texture holds what
    // SDL's copy into a transparent RGBA surface of the texture's size gives.
    auto gradient = [](int x, int y) { return Rgb{x * 7 % 256, y * 13 % 256, (x + y) % 256}; };
    savePng(media + "odd-rgb.png", 301, 77, gradient);
    savePng(media + "odd-rgba.png", 33, 5, gradient, [](int x, int y) { return (x * y * 9) % 256; });
    saveOpaqueImage(media + "bgr.bmp", 50, 40, gradient);
    savePalettedBmp(media + "paletted.bmp", 45, 30);
    std::vector<std::string> folders(4, media);
    std::vector<std::string> files = {"odd-rgb.png", "odd-rgba.png", "bgr.bmp", "paletted.bmp"};
    // The game's own pictures: JPEGs without alpha, PNGs with it.
    for (const char *file : {"back.jpg", "intro.jpg", "font1.png", "bobcat36.png", "klocki.jpg", "posw.png", "wybuch.png"}) {
        folders.push_back(std::string(TAVIREL_SOURCE_DIR) + "/media/");
        files.push_back(file);
    }
    game.programDir.clear();
    for (size_t i = 0; i < files.size(); i++) {
        Sprite sprite{};
        loadTexture(sprite, folders[i], files[i]);
        ASSERT_NE(sprite.textureId, 0u) << files[i];
        std::vector<Uint8> want = blittedBytes(folders[i] + files[i], sprite.textureWidth, sprite.textureHeight);
        ASSERT_FALSE(want.empty()) << files[i];
        EXPECT_TRUE(textureBytes(sprite) == want) << files[i];
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SpriteTest, PngKeepsItsAlphaAndJpegArrivesOpaque)
{
    savePng(media + "half.png", 64, 64, solid(White), [](int x, int) { return x < 32 ? 0 : 255; });
    // The game's own block sheet is a JPEG.
    std::string jpeg = std::string(TAVIREL_SOURCE_DIR) + "/media/klocki.jpg";
    writeFile(media + "plain.jpg", readFile(jpeg));
    SDL_Surface *decoded = IMG_Load(jpeg.c_str());
    ASSERT_NE(decoded, nullptr);
    ASSERT_EQ(decoded->format->BytesPerPixel, 3);
    Uint8 *texel = static_cast<Uint8 *>(decoded->pixels) + 40 * decoded->pitch + 40 * 3;
    Uint8 r, g, b;
    SDL_GetRGB(texel[0] | texel[1] << 8 | texel[2] << 16, decoded->format, &r, &g, &b);

    Sprite half{}, plain{};
    loadTexture(half, "media/", "half.png");
    loadTexture(plain, "media/", "plain.jpg");
    clearTo(Blue);
    half.x = 100;
    half.y = 100;
    drawSprite(half);
    plain.x = 300;
    plain.y = 100;
    drawSprite(plain);
    EXPECT_TRUE(pixelIs(110, 130, Blue));
    EXPECT_TRUE(pixelIs(150, 130, White));
    EXPECT_TRUE(pixelIs(340, 140, (Rgb{r, g, b})));
}

TEST_F(SpriteTest, UnreadableImagesLeaveTheSpriteAloneAndTheNextFileStillLoads)
{
    saveOpaqueImage(media + "good.bmp", 40, 30, solid(Red));
    savePng(media + "whole.png", 64, 64, [](int x, int y) { return Rgb{x * 4, y * 4, 0}; }, [](int, int) { return 255; });
    std::string png = readFile(media + "whole.png");
    std::string jpeg = readFile(std::string(TAVIREL_SOURCE_DIR) + "/media/back.jpg");
    writeFile(media + "cut.png", png.substr(0, png.size() / 2));
    writeFile(media + "cut.jpg", jpeg.substr(0, 20));
    writeFile(media + "notes.png", "this is a text file, not a picture\n");

    Sprite sprite{};
    loadTexture(sprite, "media/", "good.bmp");
    sprite.x = 12;
    sprite.width = 99;
    const Sprite before = sprite;
    size_t mark = logText().size();
    for (const char *file : {"missing.png", "cut.png", "cut.jpg", "notes.png"}) {
        loadTexture(sprite, "media/", file);
        EXPECT_TRUE(sameBytes(sprite, before)) << file;
    }
    loadTexture(sprite, "media/", "whole.png");
    EXPECT_EQ(logSince(mark), "Texture missing.png ERROR\n"
                              "Texture cut.png ERROR\n"
                              "Texture cut.jpg ERROR\n"
                              "Texture notes.png ERROR\n"
                              "Texture whole.png loading ok\n");
    EXPECT_EQ(sprite.imageWidth, 64);
    EXPECT_NE(sprite.textureId, before.textureId);

    // A JPEG cut inside its picture data decodes as far as it goes; it must not crash either.
    writeFile(media + "half.jpg", jpeg.substr(0, jpeg.size() * 2 / 3));
    loadTexture(sprite, "media/", "half.jpg");
    EXPECT_NE(logText().find("Texture half.jpg "), std::string::npos);
}

TEST_F(SpriteTest, TextureTooLargeToUploadIsRefusedWithALogLine)
{
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    ASSERT_GT(maxSize, 0);
    // 9000 pixels wide needs a 16384 pixel wide upload surface, whose row is too long for SDL.
    saveOpaqueImage(media + "wide.bmp", 9000, 2, solid(Red));
    // One pixel more than OpenGL's largest side doubles to a texture OpenGL refuses.
    saveOpaqueImage(media + "tall.bmp", 1, maxSize + 1, solid(Red));

    Sprite sprite{};
    loadTexture(sprite, "media/", "good-is-missing.png");
    const Sprite before = sprite;
    size_t mark = logText().size();
    loadTexture(sprite, "media/", "wide.bmp");
    EXPECT_TRUE(sameBytes(sprite, before));
    loadTexture(sprite, "media/", "tall.bmp");
    EXPECT_TRUE(sameBytes(sprite, before));
    std::string log = logSince(mark);
    EXPECT_EQ(log.find("Texture wide.bmp ERROR"), 0u) << log;
    EXPECT_NE(log.find("\nTexture tall.bmp ERROR"), std::string::npos) << log;
    EXPECT_EQ(log.find("loading ok"), std::string::npos) << log;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SpriteTest, SpritesCoverExactlyTheirWindowPixels)
{
    saveOpaqueImage(media + "tile.bmp", 32, 32, solid(White));
    Sprite tile{};
    loadTexture(tile, "media/", "tile.bmp");
    tile.x = 400;
    tile.y = 300;
    drawSprite(tile);
    for (int y : {300, 315, 331}) {
        EXPECT_TRUE(pixelIs(400, y, White));
        EXPECT_TRUE(pixelIs(431, y, White));
        EXPECT_TRUE(pixelIs(399, y, Black));
        EXPECT_TRUE(pixelIs(432, y, Black));
    }
    for (int x : {400, 415, 431}) {
        EXPECT_TRUE(pixelIs(x, 299, Black));
        EXPECT_TRUE(pixelIs(x, 332, Black));
    }

    // Turned a quarter counter-clockwise about its bottom-left corner, pixel (400, 332).
    clearTo(Black);
    tile.angle = 90;
    drawSprite(tile);
    EXPECT_TRUE(pixelIs(370, 302, White));
    EXPECT_TRUE(pixelIs(397, 329, White));
    EXPECT_TRUE(pixelIs(405, 315, Black));

    saveOpaqueImage(media + "screen.bmp", 800, 600, solid(White));
    Sprite screen{};
    loadTexture(screen, "media/", "screen.bmp");
    clearTo(Black);
    drawSprite(screen);
    for (int x : {0, 400, 799})
        for (int y : {0, 300, 599})
            EXPECT_TRUE(pixelIs(x, y, White));
}

TEST_F(SpriteTest, FlipsMirrorTheImage)
{
    saveOpaqueImage(media + "quarters.bmp", 64, 64,
                    [](int x, int y) { return y < 32 ? (x < 32 ? Red : Green) : (x < 32 ? Blue : White); });
    Sprite sprite{};
    loadTexture(sprite, "media/", "quarters.bmp");
    sprite.x = 100;
    sprite.y = 100;
    auto drawWithFlips = [&](uint8_t flipX, uint8_t flipY) {
        clearTo(Black);
        sprite.flipX = flipX;
        sprite.flipY = flipY;
        updateTexCoords(sprite);
        drawSprite(sprite);
    };
    auto expectQuarters = [](Rgb topLeft, Rgb topRight, Rgb bottomLeft, Rgb bottomRight) {
        EXPECT_TRUE(pixelIs(110, 110, topLeft));
        EXPECT_TRUE(pixelIs(150, 110, topRight));
        EXPECT_TRUE(pixelIs(110, 150, bottomLeft));
        EXPECT_TRUE(pixelIs(150, 150, bottomRight));
    };
    drawWithFlips(0, 0);
    expectQuarters(Red, Green, Blue, White);
    drawWithFlips(1, 0);
    expectQuarters(Green, Red, White, Blue);
    EXPECT_EQ(sprite.texLeft, 1.0f);
    EXPECT_EQ(sprite.texRight, 0.0f);
    drawWithFlips(0, 1);
    expectQuarters(Blue, White, Red, Green);
    drawWithFlips(1, 1);
    expectQuarters(White, Blue, Green, Red);
    drawWithFlips(2, 2);  // only 1 mirrors
    expectQuarters(Red, Green, Blue, White);
}

TEST_F(SpriteTest, SheetFramesRunLeftToRightThenDownAtTheCallersSize)
{
    saveOpaqueImage(media + "sheet.bmp", 128, 128, [](int x, int y) { return frameColour(x / 32 + 4 * (y / 32)); });
    Sprite sheet{};
    loadTexture(sheet, "media/", "sheet.bmp");
    sheet.srcX1 = sheet.srcY1 = 32;
    sheet.width = sheet.height = 48;
    sheet.x = 200;
    sheet.y = 200;

    drawSpriteFrame(sheet, 5);
    EXPECT_EQ(sheet.srcX0, 32);
    EXPECT_EQ(sheet.srcY0, 32);
    EXPECT_EQ(sheet.srcX1, 64);
    EXPECT_EQ(sheet.srcY1, 64);
    EXPECT_FLOAT_EQ(sheet.texLeft, 0.25f);
    EXPECT_FLOAT_EQ(sheet.texBottom, 0.5f);
    EXPECT_EQ(sheet.width, 48.0f);
    EXPECT_TRUE(pixelIs(203, 203, frameColour(5)));
    EXPECT_TRUE(pixelIs(244, 244, frameColour(5)));
    EXPECT_TRUE(pixelIs(248, 224, Black));

    for (int frame : {0, 3, 14, 15}) {
        clearTo(Black);
        drawSpriteFrame(sheet, frame);
        EXPECT_TRUE(pixelIs(224, 224, frameColour(frame))) << "frame " << frame;
    }
}

TEST_F(SpriteTest, FrameArithmeticOfUnevenAndOversizedSheets)
{
    auto frameOf = [](int textureWidth, int textureHeight, int frameWidth, int frameHeight, int frame) {
        Sprite sheet{};
        sheet.textureWidth = textureWidth;
        sheet.textureHeight = textureHeight;
        sheet.srcX1 = frameWidth;
        sheet.srcY1 = frameHeight;
        drawSpriteFrame(sheet, frame);
        return std::vector<int>{sheet.srcX0, sheet.srcY0, sheet.srcX1, sheet.srcY1};
    };
    using R = std::vector<int>;
    EXPECT_EQ(frameOf(128, 128, 32, 32, 0), (R{0, 0, 32, 32}));
    // 8 columns, 2 rows: frame 5 is column 5 of row 2, below the texture.
    EXPECT_EQ(frameOf(256, 64, 32, 32, 5), (R{160, 64, 192, 96}));
    // The row is the frame number divided by the rows, not by the columns.
    EXPECT_EQ(frameOf(128, 64, 32, 32, 5), (R{32, 64, 64, 96}));
    // Rows are counted in frame widths even when the frames are not square.
    EXPECT_EQ(frameOf(128, 128, 32, 16, 5), (R{32, 16, 64, 32}));
    EXPECT_EQ(frameOf(64, 256, 16, 64, 5), (R{16, 0, 32, 64}));
    // A frame wider than the texture: one column and one row, frame n is row n.
    EXPECT_EQ(frameOf(256, 64, 300, 300, 3), (R{0, 900, 300, 1200}));

    Sprite below{};
    below.textureWidth = 256;
    below.textureHeight = 64;
    below.srcX1 = below.srcY1 = 32;
    drawSpriteFrame(below, 5);
    EXPECT_FLOAT_EQ(below.texTop, 1.0f);
    EXPECT_FLOAT_EQ(below.texBottom, 1.5f);

    // A sheet without a frame width would divide by zero: nothing moves and nothing is drawn.
    EXPECT_EQ(frameOf(128, 128, 0, 32, 7), (R{0, 0, 0, 32}));
    // Absurd frame numbers stay inside 32 bits.
    R far = frameOf(128, 128, 32, 32, INT32_MAX);
    EXPECT_EQ(far[0], 96);
    EXPECT_EQ(far[1], INT32_MAX);
}

}  // namespace
