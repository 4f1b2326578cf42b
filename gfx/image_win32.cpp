// image_win32.cpp: pictures decoded by the Windows Imaging Component, into the surfaces SDL_image gives.
#include "gfx/image.h"

#include <windows.h>
#include <wincodec.h>

#include "base/wide_win32.h"

// Releases a COM interface when it goes out of scope.
template <typename T> struct Held {
    T *p = nullptr;
    ~Held()
    {
        if (p)
            p->Release();
    }
};

// Whether pixels of the WIC format carry transparency: an alpha channel, or a palette with one.
static bool hasAlpha(IWICImagingFactory *factory, IWICBitmapFrameDecode *frame, const WICPixelFormatGUID &format)
{
    if (IsEqualGUID(format, GUID_WICPixelFormat8bppIndexed) || IsEqualGUID(format, GUID_WICPixelFormat4bppIndexed) ||
        IsEqualGUID(format, GUID_WICPixelFormat2bppIndexed) || IsEqualGUID(format, GUID_WICPixelFormat1bppIndexed)) {
        Held<IWICPalette> palette;
        BOOL paletteAlpha = TRUE;
        if (SUCCEEDED(factory->CreatePalette(&palette.p)) &&
            SUCCEEDED(frame->CopyPalette(palette.p)))
            palette.p->HasAlpha(&paletteAlpha);
        return paletteAlpha;
    }
    Held<IWICComponentInfo> info;
    Held<IWICPixelFormatInfo2> pixels;
    BOOL transparent = TRUE;
    if (SUCCEEDED(factory->CreateComponentInfo(format, &info.p)) &&
        SUCCEEDED(info.p->QueryInterface(IID_IWICPixelFormatInfo2, reinterpret_cast<void **>(&pixels.p))))
        pixels.p->SupportsTransparency(&transparent);
    return transparent;
}

// Decodes with the factory; the surface, or null with SDL's error set.
static SDL_Surface *decode(IWICImagingFactory *factory, const std::string &path)
{
    Held<IWICBitmapDecoder> decoder;
    Held<IWICBitmapFrameDecode> frame;
    Held<IWICFormatConverter> converter;
    WICPixelFormatGUID format;
    std::wstring name = widePath(path);
    if (FAILED(factory->CreateDecoderFromFilename(name.c_str(), nullptr, GENERIC_READ,
                                                            WICDecodeMetadataCacheOnDemand, &decoder.p)) ||
        FAILED(decoder.p->GetFrame(0, &frame.p)) ||
        FAILED(frame.p->GetPixelFormat(&format))) {
        SDL_SetError("Couldn't decode %s", path.c_str());
        return nullptr;
    }
    bool alpha = hasAlpha(factory, frame.p, format);
    UINT width = 0, height = 0;
    frame.p->GetSize(&width, &height);
    const WICPixelFormatGUID &wanted = alpha ? GUID_WICPixelFormat32bppRGBA : GUID_WICPixelFormat24bppRGB;
    if (width == 0 || height == 0 || width > 16384 || height > 16384 ||
        FAILED(factory->CreateFormatConverter(&converter.p)) ||
        FAILED(converter.p->Initialize(frame.p, wanted,
                                              WICBitmapDitherTypeNone, nullptr, 0.0, WICBitmapPaletteTypeCustom))) {
        SDL_SetError("Couldn't convert %s", path.c_str());
        return nullptr;
    }
    SDL_Surface *surface = SDL_CreateRGBSurface(SDL_SWSURFACE, static_cast<int>(width), static_cast<int>(height),
                                                alpha ? 32 : 24, 0x000000FF, 0x0000FF00, 0x00FF0000,
                                                alpha ? 0xFF000000 : 0);
    if (!surface)
        return nullptr;
    if (FAILED(converter.p->CopyPixels(nullptr, surface->pitch, surface->pitch * surface->h,
                                              static_cast<BYTE *>(surface->pixels)))) {
        SDL_FreeSurface(surface);
        SDL_SetError("Couldn't read the pixels of %s", path.c_str());
        return nullptr;
    }
    return surface;
}

// A factory of this thread's, and the picture decoded with it.
static SDL_Surface *decodeWithFactory(const std::string &path)
{
    Held<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void **>(&factory.p)))) {
        SDL_SetError("No Windows Imaging Component to decode %s", path.c_str());
        return nullptr;
    }
    return decode(factory.p, path);
}

SDL_Surface *loadImage(const std::string &path)
{
    // Each thread that decodes needs COM; a thread that has it already in another mode keeps it.
    HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    SDL_Surface *surface = decodeWithFactory(path);
    if (SUCCEEDED(com))
        CoUninitialize();
    return surface;
}
