// sprite.cpp: images loaded into power-of-two textures and drawn as quads in the 800 x 600 screen.
#include "gfx/sprite.h"

#include <GL/gl.h>

#include <algorithm>
#include <vector>

#include "SDL.h"
#include "base/config.h"
#include "base/platform.h"
#include "base/state.h"
#include "gfx/image.h"

// Every sprite lies on this plane of the perspective scene.
static const float SpriteDepth = -1.81f;

// The smallest power of two not below `side`.
static int32_t powerOfTwoAtLeast(int32_t side)
{
    int32_t size = 1;
    while (size < side && size < (1 << 30))
        size *= 2;
    return size;
}

// Whether a texture of this size can be loaded: the game takes no texture whose row would be
// longer than an SDL surface's 16-bit row length can say (more than 16383 texels).
static bool uploadSizeFits(int32_t width, int32_t height)
{
    int64_t rowBytes = static_cast<int64_t>(width) * 4;
    return rowBytes <= 0xFFFF && rowBytes * height <= INT32_MAX;
}

// A zero-filled RGBA surface whose bytes lie in memory as R, G, B, A; null when it cannot be made.
static SDL_Surface *createUploadSurface(int32_t width, int32_t height)
{
    SDL_Surface *surface = SDL_CreateRGBSurface(SDL_HWSURFACE, width, height, 32,
                                                0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
    if (surface && (surface->pitch != width * 4 || !surface->pixels)) {
        SDL_FreeSurface(surface);
        return nullptr;
    }
    // SDL clears the surfaces it makes in main memory itself; clearing them again would only
    // touch every page once more. Video memory is not cleared for us.
    if (surface && (surface->flags & SDL_HWSURFACE))
        SDL_FillRect(surface, nullptr, 0);
    return surface;
}

// The OpenGL pixel format that reads the image's bytes as they lie, or 0 when the image must be
// converted first: bytes R, G, B (and A) in this order, no colour key, and rows as long as
// OpenGL's 4-byte row alignment makes them. JPEGs decode to GL_RGB, PNGs with alpha to GL_RGBA.
static GLenum directPixelFormat(const SDL_Surface *image)
{
    const SDL_PixelFormat *format = image->format;
    if (SDL_BYTEORDER != SDL_LIL_ENDIAN || (image->flags & SDL_SRCCOLORKEY) || format->Rmask != 0x000000FF ||
        format->Gmask != 0x0000FF00 || format->Bmask != 0x00FF0000)
        return 0;
    int bytes = format->BytesPerPixel;
    if (image->pitch != ((image->w * bytes + 3) & ~3))
        return 0;
    if (bytes == 4 && format->Amask == 0xFF000000)
        return GL_RGBA;
    if (bytes == 3 && format->Amask == 0)
        return GL_RGB;
    return 0;
}

// The image copied into an RGBA surface of its own size, as SDL converts it: an image without an
// alpha channel arrives opaque, a colour key leaves its pixels transparent black. Null without memory.
static SDL_Surface *convertToRgba(SDL_Surface *image)
{
    // The copy must carry the image's own alpha values, not blend them.
    if (image->flags & SDL_SRCALPHA)
        SDL_SetAlpha(image, 0, 0);
    SDL_Surface *rgba = createUploadSurface(image->w, image->h);
    if (!rgba)
        return nullptr;
    SDL_Rect source = {0, 0, static_cast<Uint16>(image->w), static_cast<Uint16>(image->h)};
    SDL_Rect target = {0, 0, 0, 0};
    SDL_UpperBlit(image, &source, rgba, &target);
    return rgba;
}

// Copies the surface's pixels, read in `format`, into the bound texture's top-left corner.
static void copyIntoTexture(SDL_Surface *surface, GLenum format)
{
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    lockImage(surface);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, surface->w, surface->h, format, GL_UNSIGNED_BYTE, surface->pixels);
    unlockImage(surface);
}

// Makes a rectangle of the bound texture transparent black, a band of rows at a time.
static void clearTexels(const std::vector<Uint32> &zeros, int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0)
        return;
    int32_t bandRows = static_cast<int32_t>(zeros.size()) / width;
    for (int32_t top = y; top < y + height; top += bandRows)
        glTexSubImage2D(GL_TEXTURE_2D, 0, x, top, width, std::min(bandRows, y + height - top), GL_RGBA,
                        GL_UNSIGNED_BYTE, zeros.data());
}

// Uploads the image into the top-left corner of a new RGBA texture of the given size, the rest
// transparent black. 0 when OpenGL refused it, or when the image needed converting and no surface
// could be had for that (`noSurface`).
static GLuint uploadTexture(SDL_Surface *image, int32_t width, int32_t height, bool &noSurface)
{
    GLenum format = directPixelFormat(image);
    SDL_Surface *converted = nullptr;
    if (!format) {
        converted = convertToRgba(image);
        noSurface = !converted;
        if (!converted)
            return 0;
        format = GL_RGBA;
    }
    // Forget errors of earlier calls (OpenGL keeps only a few), so that the next check is this upload's.
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; i++) {
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    bool made = glGetError() == GL_NO_ERROR;
    if (made) {
        copyIntoTexture(converted ? converted : image, format);
        // A band of zeros of at least one texture row, about 64 KB, clears the rest.
        std::vector<Uint32> zeros(std::max(width, 16384), 0);
        clearTexels(zeros, image->w, 0, width - image->w, image->h);
        clearTexels(zeros, 0, image->h, width, height - image->h);
        made = glGetError() == GL_NO_ERROR;
    }
    if (converted)
        SDL_FreeSurface(converted);
    if (!made) {
        glDeleteTextures(1, &name);
        return 0;
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, TextureEdges);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, TextureEdges);
    return name;
}

// Runs on the picture worker: decodes every listed picture into a new surface.
static int decodeStartPictures(void *)
{
    StartLoading &loading = game.startLoading;
    for (int i = 0; i < StartPictureCount; i++)
        loading.pictures[i] = loadImage(loading.picturePaths[i]);
    return 0;
}

void startDecodingPictures()
{
    StartLoading &loading = game.startLoading;
    for (int i = 0; i < StartPictureCount; i++)
        loading.picturePaths[i] = game.programDir + game.mediaDir + PictureFiles[i];
    loading.pictureWorker = startWorker(decodeStartPictures);
    // No thread to be had (the browser has none): each load decodes its own picture, in its turn.
    if (!loading.pictureWorker)
        for (std::string &path : loading.picturePaths)
            path.clear();
}

// Waits for the picture worker, if one runs; after this the main thread owns its pictures.
static void joinPictureWorker()
{
    StartLoading &loading = game.startLoading;
    if (loading.pictureWorker) {
        SDL_WaitThread(loading.pictureWorker, nullptr);
        loading.pictureWorker = nullptr;
    }
}

// Hands over the picture decoded ahead from this path, once (null if it could not be decoded);
// false when none was decoded from it.
static bool takeStartPicture(const std::string &path, SDL_Surface *&image)
{
    joinPictureWorker();
    StartLoading &loading = game.startLoading;
    for (int i = 0; i < StartPictureCount; i++) {
        if (loading.picturePaths[i].empty() || loading.picturePaths[i] != path)
            continue;
        image = loading.pictures[i];
        loading.pictures[i] = nullptr;
        loading.picturePaths[i].clear();
        return true;
    }
    return false;
}

void dropStartPictures()
{
    joinPictureWorker();
    StartLoading &loading = game.startLoading;
    for (int i = 0; i < StartPictureCount; i++) {
        if (loading.pictures[i])
            SDL_FreeSurface(loading.pictures[i]);
        loading.pictures[i] = nullptr;
        loading.picturePaths[i].clear();
    }
}

void loadTexture(Sprite &sprite, const std::string &folder, const std::string &file)
{
    std::string path = game.programDir + folder + file;
    SDL_Surface *image = nullptr;
    if (!takeStartPicture(path, image))
        image = loadImage(path);
    if (!image) {
        game.logFile << "Texture " << file << " ERROR\n";
        return;
    }
    int32_t imageWidth = image->w;
    int32_t imageHeight = image->h;
    int32_t textureWidth = powerOfTwoAtLeast(imageWidth);
    int32_t textureHeight = powerOfTwoAtLeast(imageHeight);

    bool noSurface = !uploadSizeFits(textureWidth, textureHeight);
    GLuint name = noSurface ? 0 : uploadTexture(image, textureWidth, textureHeight, noSurface);
    SDL_FreeSurface(image);
    if (name == 0) {
        game.logFile << "Texture " << file << (noSurface ? " ERROR no upload surface of " : " ERROR no texture of ")
                     << textureWidth << "x" << textureHeight << "\n";
        return;
    }
    game.logFile << "Texture " << file << " loading ok\n";

    sprite.imageWidth = imageWidth;
    sprite.imageHeight = imageHeight;
    sprite.textureWidth = textureWidth;
    sprite.textureHeight = textureHeight;
    sprite.textureId = name;
    sprite.x = sprite.y = sprite.angle = 0.0f;
    sprite.flipX = sprite.flipY = 0;
    sprite.srcX0 = sprite.srcY0 = 0;
    sprite.srcX1 = imageWidth;
    sprite.srcY1 = imageHeight;
    sprite.width = static_cast<float>(imageWidth);
    sprite.height = static_cast<float>(imageHeight);
    sprite.texLeft = 0.0f;
    sprite.texRight = static_cast<float>(imageWidth) / static_cast<float>(textureWidth);
    sprite.texTop = 0.0f;
    sprite.texBottom = static_cast<float>(imageHeight) / static_cast<float>(textureHeight);
}

void updateTexCoords(Sprite &sprite)
{
    float tw = static_cast<float>(sprite.textureWidth);
    float th = static_cast<float>(sprite.textureHeight);
    float left = sprite.srcX0 / tw, right = sprite.srcX1 / tw;
    float top = sprite.srcY0 / th, bottom = sprite.srcY1 / th;
    sprite.texLeft = sprite.flipX == 1 ? right : left;
    sprite.texRight = sprite.flipX == 1 ? left : right;
    sprite.texTop = sprite.flipY == 1 ? bottom : top;
    sprite.texBottom = sprite.flipY == 1 ? top : bottom;
}

void drawSprite(const Sprite &sprite, Colour colour, Blend blend)
{
    glColor4f(colour.r, colour.g, colour.b, colour.a);
    if (blend == Replace) {
        glDisable(GL_BLEND);
    } else {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, blend == Light ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
    }
    // One pixel of the game's screen is 2 / D scene units on both axes, D being the screen's
    // width; the window's viewport scales the screen to the window.
    float d = static_cast<float>(ScreenWidth);
    glBindTexture(GL_TEXTURE_2D, sprite.textureId);
    glLoadIdentity();
    float w = sprite.width / d * 2.0f;
    float h = sprite.height / d * 2.0f;
    glTranslatef(sprite.x / d * 2.0f - 1.0f, sprite.y / d * -2.0f - h + 0.75f, 0.0f);
    glRotatef(sprite.angle, 0.0f, 0.0f, 1.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(sprite.texLeft, sprite.texTop);
    glVertex3f(0.0f, h, SpriteDepth);
    glTexCoord2f(sprite.texLeft, sprite.texBottom);
    glVertex3f(0.0f, 0.0f, SpriteDepth);
    glTexCoord2f(sprite.texRight, sprite.texBottom);
    glVertex3f(w, 0.0f, SpriteDepth);
    glTexCoord2f(sprite.texRight, sprite.texTop);
    glVertex3f(w, h, SpriteDepth);
    glEnd();
}

// A 64-bit value forced into 32 bits, so that absurd frame numbers cannot overflow.
static int32_t clampToInt32(int64_t value)
{
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

void drawSpriteFrame(Sprite &sprite, int32_t frame, Colour colour, Blend blend)
{
    int64_t frameWidth = static_cast<int64_t>(sprite.srcX1) - sprite.srcX0;
    int64_t frameHeight = static_cast<int64_t>(sprite.srcY1) - sprite.srcY0;
    // A sheet without a frame size cannot be cut into frames.
    if (frameWidth <= 0)
        return;
    int64_t cols = sprite.textureWidth / frameWidth;
    if (cols == 0)
        cols = 1;
    // The sheets are laid out with as many rows as the texture height holds frame widths.
    int64_t rows = sprite.textureHeight / frameWidth;
    if (rows == 0)
        rows = 1;
    int64_t left = (frame % cols) * frameWidth;
    int64_t top = (frame / rows) * frameHeight;
    sprite.srcX0 = clampToInt32(left);
    sprite.srcY0 = clampToInt32(top);
    sprite.srcX1 = clampToInt32(left + frameWidth);
    sprite.srcY1 = clampToInt32(top + frameHeight);
    updateTexCoords(sprite);
    drawSprite(sprite, colour, blend);
}

void setDrawingState()
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_CULL_FACE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1.0f, 1.0f, 1.0f);
}
