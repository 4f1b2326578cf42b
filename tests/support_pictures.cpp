// support_pictures.cpp: test images, pixels read back from the window, and the game's own pictures.
#include "support.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <vector>
#include <sys/stat.h>

#include "SDL.h"
#include "SDL_image.h"
#include <zlib.h>

void saveOpaqueImage(const std::string &path, int width, int height, const PixelRule &rule)
{
    SDL_Surface *surface = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 24,
                                                0x0000FF, 0x00FF00, 0xFF0000, 0);
    if (!surface)
        throw std::runtime_error("no surface for a test image");
    SDL_LockSurface(surface);
    for (int y = 0; y < height; y++) {
        Uint8 *row = static_cast<Uint8 *>(surface->pixels) + y * surface->pitch;
        for (int x = 0; x < width; x++) {
            Rgb c = rule(x, y);
            row[3 * x] = static_cast<Uint8>(c.r);
            row[3 * x + 1] = static_cast<Uint8>(c.g);
            row[3 * x + 2] = static_cast<Uint8>(c.b);
        }
    }
    SDL_UnlockSurface(surface);
    int saved = SDL_SaveBMP(surface, path.c_str());
    SDL_FreeSurface(surface);
    if (saved != 0)
        throw std::runtime_error("writing a test image failed");
}

static void putBigEndian(std::string &out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

static uint32_t crc32(const std::string &bytes)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; bit++)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

static void putChunk(std::string &png, const std::string &type, const std::string &data)
{
    putBigEndian(png, static_cast<uint32_t>(data.size()));
    png += type + data;
    putBigEndian(png, crc32(type + data));
}

void savePng(const std::string &path, int width, int height, const PixelRule &rule,
             const std::function<int(int x, int y)> &alpha)
{
    const size_t pixelBytes = alpha ? 4 : 3, rowBytes = width * pixelBytes;
    std::string raw, rows, previous(rowBytes, '\0');
    for (int y = 0; y < height; y++) {
        raw.clear();
        for (int x = 0; x < width; x++) {
            Rgb c = rule(x, y);
            raw += {static_cast<char>(c.r), static_cast<char>(c.g), static_cast<char>(c.b)};
            if (alpha)
                raw += static_cast<char>(alpha(x, y));
        }
        rows += '\4';  // Paeth filter: each byte as its difference from the likeliest neighbour
        for (size_t i = 0; i < rowBytes; i++) {
            int a = i >= pixelBytes ? static_cast<unsigned char>(raw[i - pixelBytes]) : 0;
            int b = static_cast<unsigned char>(previous[i]);
            int c = i >= pixelBytes ? static_cast<unsigned char>(previous[i - pixelBytes]) : 0;
            int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
            int predicted = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            rows += static_cast<char>(static_cast<unsigned char>(raw[i]) - predicted);
        }
        previous = raw;
    }
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    std::string zlib(packedSize, '\0');
    if (compress2(reinterpret_cast<Bytef *>(&zlib[0]), &packedSize, reinterpret_cast<const Bytef *>(rows.data()),
                  static_cast<uLong>(rows.size()), 9) != Z_OK)
        throw std::runtime_error("compressing a PNG failed");
    zlib.resize(packedSize);

    std::string header;
    putBigEndian(header, static_cast<uint32_t>(width));
    putBigEndian(header, static_cast<uint32_t>(height));
    header += {8, static_cast<char>(alpha ? 6 : 2), 0, 0, 0};  // 8 bits per channel, RGBA or RGB
    std::string png = "\x89PNG\r\n\x1a\n";
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", zlib);
    putChunk(png, "IEND", "");
    writeFile(path, png);
}

PixelRule solid(Rgb colour)
{
    return [colour](int, int) { return colour; };
}

void clearTo(Rgb colour)
{
    glClearColor(colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

Rgb pixelAt(int x, int y)
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    unsigned char rgba[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, viewport[3] - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return Rgb{rgba[0], rgba[1], rgba[2]};
}

::testing::AssertionResult pixelIs(int x, int y, Rgb want)
{
    Rgb got = pixelAt(x, y);
    if (std::abs(got.r - want.r) <= 3 && std::abs(got.g - want.g) <= 3 && std::abs(got.b - want.b) <= 3)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "pixel (" << x << ", " << y << ") is (" << got.r << ", " << got.g << ", " << got.b
           << "), expected (" << want.r << ", " << want.g << ", " << want.b << ")";
}

Picture loadPicture(const std::string &file)
{
    return Picture(IMG_Load((std::string(TAVIREL_SOURCE_DIR) + "/media/" + file).c_str()));
}

Rgba pixel(SDL_Surface *s, int x, int y)
{
    const int bpp = s->format->BytesPerPixel;
    const uint8_t *p = static_cast<const uint8_t *>(s->pixels) + y * s->pitch + x * bpp;
    uint32_t value = 0;
    switch (bpp) {
    case 1: value = *p; break;
    case 2: value = *reinterpret_cast<const uint16_t *>(p); break;
    case 3:
        value = SDL_BYTEORDER == SDL_BIG_ENDIAN ? (p[0] << 16 | p[1] << 8 | p[2])
                                                : (p[0] | p[1] << 8 | p[2] << 16);
        break;
    default: value = *reinterpret_cast<const uint32_t *>(p); break;
    }
    Uint8 r, g, b, a;
    SDL_GetRGBA(value, s->format, &r, &g, &b, &a);
    return {r, g, b, a};
}

Rgb mediaPixel(const std::string &file, int x, int y)
{
    Picture picture = loadPicture(file);
    if (!picture)
        throw std::runtime_error("cannot read media/" + file);
    Rgba c = pixel(picture.get(), x, y);
    return Rgb{c.r, c.g, c.b};
}

std::vector<Rgb> windowPicture()
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const int width = viewport[2], height = viewport[3];
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    std::vector<Rgb> picture(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            const unsigned char *p = &rgb[(static_cast<size_t>(height - 1 - y) * width + x) * 3];
            picture[static_cast<size_t>(y) * width + x] = Rgb{p[0], p[1], p[2]};
        }
    return picture;
}

// The picture of a PNG file as rows of RGB, or empty when it cannot be read or is not 800 x 600.
static std::vector<Rgb> readPicture(const std::string &path)
{
    Picture png(IMG_Load(path.c_str()));
    if (!png || png->w != 800 || png->h != 600)
        return {};
    std::vector<Rgb> picture;
    for (int y = 0; y < png->h; y++)
        for (int x = 0; x < png->w; x++) {
            Rgba c = pixel(png.get(), x, y);
            picture.push_back(Rgb{c.r, c.g, c.b});
        }
    return picture;
}

static void writePicture(const std::string &path, const std::vector<Rgb> &picture)
{
    savePng(path, 800, 600, [&](int x, int y) { return picture[static_cast<size_t>(y) * 800 + x]; });
}

::testing::AssertionResult matchesReference(const std::string &name)
{
    const std::string reference = std::string(TAVIREL_SOURCE_DIR) + "/tests/pictures/" + name + ".png";
    std::vector<Rgb> got = windowPicture();
    if (got.size() != 800u * 600u)
        return ::testing::AssertionFailure() << name << ": the window is not 800 x 600";
    if (std::getenv("TAVIREL_WRITE_REFERENCES")) {
        writePicture(reference, got);
        return ::testing::AssertionSuccess() << name << ": reference written";
    }
    std::vector<Rgb> want = readPicture(reference);
    if (want.empty())
        return ::testing::AssertionFailure() << "no reference picture " << reference
                                             << " (tools/make-references.sh makes them)";
    // Pixels more than a few steps apart in some channel: a handful may be, for rounding. Pixels
    // apart at all: the other SDL library decodes a few hundred a step apart, but a faint wide
    // glow moved by a pixel moves tens of thousands by a step or a few.
    const int ChannelSteps = 8, StrayPixels = 16, FaintPixels = 800 * 600 / 100;
    int differing = 0, faint = 0, firstX = -1, firstY = -1;
    std::vector<Rgb> diff(got.size());
    for (size_t i = 0; i < got.size(); i++) {
        const Rgb &a = got[i], &b = want[i];
        int d = std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
        faint += d > 0;
        if (d > ChannelSteps && differing++ == 0)
            firstX = static_cast<int>(i % 800), firstY = static_cast<int>(i / 800);
        // The reference dimmed to a quarter, every far pixel in full red, every near one in blue.
        diff[i] = d > ChannelSteps ? Red : d > 0 ? Blue : Rgb{b.r / 4, b.g / 4, b.b / 4};
    }
    if (differing <= StrayPixels && faint <= FaintPixels)
        return ::testing::AssertionSuccess();
    const std::string out = std::string(TAVIREL_BUILD_DIR) + "/pictures/";
    mkdir(out.c_str(), 0755);
    writePicture(out + name + ".png", got);
    writePicture(out + name + "-diff.png", diff);
    return ::testing::AssertionFailure() << name << ": " << differing << " pixels differ from the reference by more than "
                                         << ChannelSteps << " steps, the first at (" << firstX << ", " << firstY
                                         << "), and " << faint << " by any step (at most " << FaintPixels
                                         << "); see " << out << name << ".png and " << name << "-diff.png";
}
