// support_pictures.cpp: test images, pixels read back from the window, and the game's own pictures.
#include "support.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "SDL.h"
#include "SDL_image.h"

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
    std::string rows;
    for (int y = 0; y < height; y++) {
        rows += '\0';  // no filter
        for (int x = 0; x < width; x++) {
            Rgb c = rule(x, y);
            rows += {static_cast<char>(c.r), static_cast<char>(c.g), static_cast<char>(c.b)};
            if (alpha)
                rows += static_cast<char>(alpha(x, y));
        }
    }
    // A zlib stream of stored (uncompressed) blocks.
    std::string zlib = "\x78\x01";
    for (size_t at = 0; at < rows.size() || at == 0; at += 65535) {
        size_t length = std::min<size_t>(65535, rows.size() - at);
        zlib += static_cast<char>(at + length >= rows.size() ? 1 : 0);
        zlib += {static_cast<char>(length & 0xFF), static_cast<char>(length >> 8),
                 static_cast<char>(~length & 0xFF), static_cast<char>((~length >> 8) & 0xFF)};
        zlib += rows.substr(at, length);
    }
    uint32_t a = 1, b = 0;
    for (unsigned char byte : rows) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    putBigEndian(zlib, (b << 16) | a);

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
