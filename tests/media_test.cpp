// media_test.cpp: the committed pictures, fonts, music and effects keep the shapes the game relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "SDL.h"
#include "SDL_image.h"
#include "SDL_mixer.h"

#include "base/state.h"
#include "support.h"
#include "text/font.h"

namespace {

const std::string MediaDir = std::string(TAVIREL_SOURCE_DIR) + "/media/";

bool isPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

double luma(const Rgba &c) { return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b; }

// Largest alpha inside a rectangle of the picture.
int maxAlpha(SDL_Surface *s, int x0, int y0, int w, int h)
{
    int best = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            best = std::max(best, pixel(s, x, y).a);
    return best;
}

TEST(MediaPictures, SizesAndSquarePowerOfTwoSheets)
{
    struct Expected {
        const char *file;
        int width, height;
    };
    for (const Expected &e : {Expected{"back.jpg", 800, 600}, Expected{"intro.jpg", 800, 600},
                              Expected{"klocki.jpg", 256, 256}, Expected{"wybuch.png", 512, 512}}) {
        Picture p = loadPicture(e.file);
        ASSERT_TRUE(p) << e.file << ": " << IMG_GetError();
        EXPECT_EQ(p->w, e.width) << e.file;
        EXPECT_EQ(p->h, e.height) << e.file;
    }
    // The frame arithmetic divides the texture height by the frame width: the sheets must be
    // square, hold whole frames, and the glow must need no padding to a power of two.
    for (const char *file : {"klocki.jpg", "wybuch.png", "posw.png"}) {
        Picture p = loadPicture(file);
        ASSERT_TRUE(p) << file;
        EXPECT_EQ(p->w, p->h) << file;
        EXPECT_TRUE(isPowerOfTwo(p->w)) << file;
    }
    Picture blocks = loadPicture("klocki.jpg");
    EXPECT_GE((blocks->w / 32) * (blocks->h / 32), 18);  // colours 0..17
    Picture boom = loadPicture("wybuch.png");
    EXPECT_GE((boom->w / 64) * (boom->h / 64), 31);       // frames 0..30
}

TEST(MediaPictures, ExplosionFadesOutInsideItsFrames)
{
    Picture p = loadPicture("wybuch.png");
    ASSERT_TRUE(p);
    ASSERT_NE(p->format->Amask, 0u) << "the explosion needs an alpha channel";
    auto frameX = [](int f) { return (f % 8) * 64; };
    auto frameY = [](int f) { return (f / 8) * 64; };
    for (int f = 0; f <= 30; ++f) {
        const int x0 = frameX(f), y0 = frameY(f);
        // The outermost texels stay clear, so filtering never pulls in the next frame.
        EXPECT_EQ(maxAlpha(p.get(), x0, y0, 64, 1), 0) << "frame " << f;
        EXPECT_EQ(maxAlpha(p.get(), x0, y0 + 63, 64, 1), 0) << "frame " << f;
        EXPECT_EQ(maxAlpha(p.get(), x0, y0, 1, 64), 0) << "frame " << f;
        EXPECT_EQ(maxAlpha(p.get(), x0 + 63, y0, 1, 64), 0) << "frame " << f;
        if (f < 16) {  // the blast shows around its centre through the first half
            EXPECT_GT(maxAlpha(p.get(), x0 + 24, y0 + 24, 16, 16), 128) << "frame " << f;
        }
    }
    EXPECT_EQ(maxAlpha(p.get(), frameX(30), frameY(30), 64, 64), 0) << "last frame must be empty";
    // The blast is centred: its ink is balanced left/right and top/bottom in an early frame.
    double sx = 0, sy = 0, total = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const int a = pixel(p.get(), frameX(8) + x, frameY(8) + y).a;
            sx += a * (x + 0.5);
            sy += a * (y + 0.5);
            total += a;
        }
    ASSERT_GT(total, 0);
    EXPECT_NEAR(sx / total, 32.0, 2.0);
    EXPECT_NEAR(sy / total, 32.0, 2.0);
}

TEST(MediaPictures, GlowIsRoundAndClearAtItsEdges)
{
    Picture p = loadPicture("posw.png");
    ASSERT_TRUE(p);
    ASSERT_NE(p->format->Amask, 0u) << "the glow needs an alpha channel";
    const int n = p->w;
    EXPECT_EQ(maxAlpha(p.get(), 0, 0, n, 2), 0);
    EXPECT_EQ(maxAlpha(p.get(), 0, n - 2, n, 2), 0);
    EXPECT_EQ(maxAlpha(p.get(), 0, 0, 2, n), 0);
    EXPECT_EQ(maxAlpha(p.get(), n - 2, 0, 2, n), 0);
    const Rgba centre = pixel(p.get(), n / 2, n / 2);
    EXPECT_GT(centre.a, 200);
    EXPECT_GT(centre.r + centre.g + centre.b, 3 * 230) << "the game tints the glow: keep it white";
    // Round: equal brightness at the same distance along an axis and a diagonal.
    const int d = n / 4;
    const int diag = static_cast<int>(std::lround(d / std::sqrt(2.0)));
    EXPECT_NEAR(pixel(p.get(), n / 2 + d, n / 2).a, pixel(p.get(), n / 2 + diag, n / 2 + diag).a,
                8);
    // Falling off smoothly outward: never brighter further from the centre (dither aside).
    for (int x = n / 2; x + 4 < n; x += 4)
        EXPECT_LE(pixel(p.get(), x + 4, n / 2).a, pixel(p.get(), x, n / 2).a + 2) << "x " << x;
}

TEST(MediaPictures, BlockPairsDifferInLightnessAndShareTheirRim)
{
    Picture p = loadPicture("klocki.jpg");
    ASSERT_TRUE(p);
    auto meanLuma = [&](int n) {
        double sum = 0;
        for (int y = 4; y < 28; ++y)
            for (int x = 4; x < 28; ++x)
                sum += luma(pixel(p.get(), (n % 8) * 32 + x, (n / 8) * 32 + y));
        return sum / (24 * 24);
    };
    // The two colours of a level must be told apart without seeing hue.
    for (int level = 1; level <= 9; ++level) {
        const double a = meanLuma(2 * level - 2), b = meanLuma(2 * level - 1);
        EXPECT_GT(std::fabs(a - b), 40.0) << "level " << level << ": " << a << " vs " << b;
    }
    // Every tile's outer ring has the same dark colour, so half a texel of the neighbouring
    // frame blended in by linear filtering looks the same everywhere (JPEG noise aside).
    std::vector<Rgba> rim;
    for (int n = 0; n < 18; ++n) {
        const int x0 = (n % 8) * 32, y0 = (n / 8) * 32;
        for (int i = 0; i < 32; ++i)
            for (const Rgba &c : {pixel(p.get(), x0 + i, y0), pixel(p.get(), x0 + i, y0 + 31),
                                  pixel(p.get(), x0, y0 + i), pixel(p.get(), x0 + 31, y0 + i)})
                rim.push_back(c);
    }
    Rgba mean{0, 0, 0, 0};
    for (const Rgba &c : rim) {
        mean.r += c.r;
        mean.g += c.g;
        mean.b += c.b;
    }
    mean = {mean.r / int(rim.size()), mean.g / int(rim.size()), mean.b / int(rim.size()), 255};
    EXPECT_LT(luma(mean), 40.0);
    int worst = 0;
    for (const Rgba &c : rim)
        worst = std::max({worst, std::abs(c.r - mean.r), std::abs(c.g - mean.g),
                          std::abs(c.b - mean.b)});
    EXPECT_LE(worst, 12);
}

// A font loaded with the game's own reader, and its image.
struct LoadedFont {
    BitmapFont font{};
    Picture image;
};

std::unique_ptr<LoadedFont> loadGameFont(const std::string &name, int spaceWidth)
{
    auto f = std::make_unique<LoadedFont>();
    game.programDir = std::string(TAVIREL_SOURCE_DIR) + "/";
    loadFont(f->font, "media/", name + ".txt", spaceWidth);
    f->image = loadPicture(name + ".png");
    return f;
}

// Every character has a glyph of its own, a full-height rectangle inside the image as wide as
// its advance, with visible ink and clear first and last columns.
void expectOwnGlyphs(const LoadedFont &f, const std::string &chars)
{
    SDL_Surface *img = f.image.get();
    ASSERT_TRUE(img);
    ASSERT_NE(img->format->Amask, 0u) << "font images need alpha";
    std::set<int> seen;
    for (unsigned char c : chars) {
        const int g = f.font.glyphOfChar[c];
        SCOPED_TRACE(std::string("character '") + static_cast<char>(c) + "'");
        ASSERT_LT(g, f.font.glyphCount);
        EXPECT_TRUE(seen.insert(g).second) << "shares glyph " << g;
        const GlyphRect &r = f.font.glyphRect[g];
        EXPECT_EQ(r.top, 0);
        EXPECT_EQ(r.bottom, img->h);
        EXPECT_EQ(r.width, f.font.advance[g]);
        EXPECT_GE(r.width, 3);
        ASSERT_GE(r.left, 0);
        ASSERT_LE(r.left + r.width, img->w);
        EXPECT_EQ(maxAlpha(img, r.left, 0, 1, img->h), 0) << "first column bleeds";
        EXPECT_EQ(maxAlpha(img, r.left + r.width - 1, 0, 1, img->h), 0) << "last column bleeds";
        EXPECT_GT(maxAlpha(img, r.left, 0, r.width, img->h), 200) << "no ink";
    }
}

TEST(MediaFonts, LargeFontHasEveryPrintableCharacter)
{
    auto f = loadGameFont("bobcat36", 16);
    ASSERT_TRUE(f->image);
    std::string printable;
    for (int c = 33; c <= 126; ++c)
        printable += static_cast<char>(c);
    EXPECT_EQ(f->font.glyphCount, 94);
    expectOwnGlyphs(*f, printable);
    EXPECT_GE(f->image->h, 32);
    EXPECT_LE(f->image->h, 40);
    EXPECT_LE(f->image->w, 4096);
}

TEST(MediaFonts, SmallFontHasThePanelNumbersAndFitsBetweenTheWords)
{
    auto f = loadGameFont("font1", 12);
    ASSERT_TRUE(f->image);
    expectOwnGlyphs(*f, "0123456789-");
    // Numbers start 45 pixels below a panel word and the next word follows 100 pixels lower.
    EXPECT_GE(f->image->h, 16);
    EXPECT_LE(f->image->h, 55);
    EXPECT_LE(f->image->w, 4096);
    // The longest panel words fit the panel, which is centred 68 pixels from the right edge.
    auto large = loadGameFont("bobcat36", 16);
    int width = 0;
    for (unsigned char c : std::string("explode"))
        width += large->font.advance[large->font.glyphOfChar[c]];
    EXPECT_LE(width, 2 * 68);
}

struct MediaSound : ::testing::Test {
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048), 0) << Mix_GetError();
    }
    void TearDown() override
    {
        Mix_CloseAudio();
        SDL_Quit();
    }
    static double seconds(const Mix_Chunk *c) { return c->alen / (44100.0 * 4.0); }
    static int16_t sample(const Mix_Chunk *c, size_t i)
    {
        return reinterpret_cast<const int16_t *>(c->abuf)[i];
    }
    static double rms(const Mix_Chunk *c, size_t from, size_t count)
    {
        double sum = 0;
        for (size_t i = from; i < from + count; ++i)
            sum += double(sample(c, i)) * sample(c, i);
        return std::sqrt(sum / count);
    }
};

const int16_t MinusOneDb = 29204;  // 32767 * 10^(-1/20)

TEST_F(MediaSound, EffectsDecodeShortAndUnclipped)
{
    std::vector<double> loudness;
    for (const char *file : {"explosion.ogg", "nextlevel.ogg", "spadanie.ogg", "ulozone.ogg",
                             "greatscore.ogg", "badscore.ogg"}) {
        SCOPED_TRACE(file);
        Mix_Chunk *c = Mix_LoadWAV((MediaDir + file).c_str());
        ASSERT_TRUE(c) << Mix_GetError();
        EXPECT_GT(seconds(c), 0.15);
        EXPECT_LE(seconds(c), 2.0);
        const size_t n = c->alen / 2;
        int peak = 0;
        for (size_t i = 0; i < n; ++i)
            peak = std::max(peak, std::abs(int(sample(c, i))));
        EXPECT_LT(peak, MinusOneDb);
        // Loudness of the loudest tenth of a second: even across effects.
        const size_t win = 4410 * 2;
        double best = 0;
        for (size_t i = 0; i + win <= n; i += win / 4)
            best = std::max(best, rms(c, i, win));
        loudness.push_back(20 * std::log10(best / 32768.0));
        Mix_FreeChunk(c);
    }
    const auto [lo, hi] = std::minmax_element(loudness.begin(), loudness.end());
    EXPECT_LT(*hi - *lo, 8.0) << "loudest " << *hi << " dB, quietest " << *lo << " dB";
}

TEST_F(MediaSound, MusicLoopsHaveAPlausibleLengthAndNoGapAtTheSeam)
{
    for (const char *file : {"m1.ogg", "m2.ogg"}) {
        SCOPED_TRACE(file);
        Mix_Music *music = Mix_LoadMUS((MediaDir + file).c_str());
        EXPECT_TRUE(music) << Mix_GetError();
        if (music)
            Mix_FreeMusic(music);
        Mix_Chunk *c = Mix_LoadWAV((MediaDir + file).c_str());
        ASSERT_TRUE(c) << Mix_GetError();
        EXPECT_GE(seconds(c), 30.0);
        EXPECT_LE(seconds(c), 120.0);
        // A loop that fades in or out, or starts with silence, is heard as a gap on repeat:
        // the last and the first 50 ms must sound about equally loud.
        const size_t n = c->alen / 2, win = 2205 * 2;
        const double head = rms(c, 0, win), tail = rms(c, n - win, win);
        const double whole = rms(c, 0, n);
        EXPECT_GT(head, whole * 0.2);
        EXPECT_GT(tail, whole * 0.2);
        EXPECT_LT(std::fabs(20 * std::log10(head / tail)), 6.0);
        Mix_FreeChunk(c);
    }
}

}  // namespace
