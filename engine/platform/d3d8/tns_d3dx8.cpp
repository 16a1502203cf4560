// D3DX 8 texture creation from an image in memory, on the image core and the
// device's texture interface. Filters map onto the image core's; D3DX_DEFAULT
// means triangle for scaling and box for mips, as in D3DX. Limits: no
// dithering (conversion rounds each channel to the nearest level).
#include "engine/platform/d3d8/d3dx8.h"

#include <algorithm>
#include <cstring>

#include "engine/platform/image/tns_image.h"

namespace {

using tns::image::Filter;
using tns::image::Image;

Filter toFilter(DWORD d3dxFilter, Filter fallback)
{
    if (d3dxFilter == D3DX_DEFAULT) return fallback;
    switch (d3dxFilter & 0xFFFF) {
    case D3DX_FILTER_NONE:
        return Filter::None;
    case D3DX_FILTER_POINT:
        return Filter::Point;
    case D3DX_FILTER_LINEAR:
        return Filter::Linear;
    case D3DX_FILTER_TRIANGLE:
        return Filter::Triangle;
    case D3DX_FILTER_BOX:
        return Filter::Box;
    default:
        return fallback;
    }
}

// Writes one level in the texture's format through LockRect, honouring its pitch.
bool storeLevel(IDirect3DTexture8* texture, UINT level, D3DFORMAT format, const Image& img)
{
    const UINT bpp = TNS_D3DFormatBytes(format);
    D3DLOCKED_RECT locked;
    if (FAILED(texture->LockRect(level, &locked, nullptr, 0))) return false;
    for (int y = 0; y < img.height; ++y) {
        auto* row = static_cast<uint8_t*>(locked.pBits) + size_t(y) * size_t(locked.Pitch);
        for (int x = 0; x < img.width; ++x) {
            const uint32_t p = TNS_D3DPackPixel(format, img.at(x, y));
            std::memcpy(row + size_t(x) * bpp, &p, bpp);
        }
    }
    return SUCCEEDED(texture->UnlockRect(level));
}

UINT chosenSize(UINT asked, int imageSize, DWORD maximum)
{
    UINT size = asked == D3DX_DEFAULT || asked == 0 ? UINT(tns::image::RoundUpPow2(imageSize)) : asked;
    return std::min<UINT>(size, maximum ? maximum : size);
}

} // namespace

HRESULT D3DXCreateTextureFromFileInMemoryEx(IDirect3DDevice8* device, const void* data, UINT dataSize, UINT width,
                                            UINT height, UINT mipLevels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                            DWORD filter, DWORD mipFilter, D3DCOLOR colorKey,
                                            D3DXIMAGE_INFO* srcInfo, PALETTEENTRY*, IDirect3DTexture8** texture)
{
    if (!texture) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    if (!device || !data || dataSize == 0) return D3DERR_INVALIDCALL;

    Image img;
    tns::image::FileFormat fileFormat;
    if (!tns::image::Decode(static_cast<const uint8_t*>(data), dataSize, img, &fileFormat)) return D3DXERR_INVALIDDATA;
    if (srcInfo) {
        *srcInfo = D3DXIMAGE_INFO{UINT(img.width), UINT(img.height), 1, 1,
                                  img.hasAlpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8, D3DRTYPE_TEXTURE,
                                  D3DXIMAGE_FILEFORMAT(int(fileFormat))};
    }
    if (colorKey) {
        for (uint32_t& p : img.argb)
            if (p == colorKey) p = 0;
        img.hasAlpha = true;
    }

    D3DCAPS8 caps{};
    device->GetDeviceCaps(&caps);
    const UINT w = chosenSize(width, img.width, caps.MaxTextureWidth);
    const UINT h = chosenSize(height, img.height, caps.MaxTextureHeight);
    if (format == D3DFMT_UNKNOWN || UINT(format) == D3DX_DEFAULT || TNS_D3DFormatBytes(format) == 0)
        format = img.hasAlpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;

    Image level;
    if (img.width == int(w) && img.height == int(h)) {
        level = std::move(img); // the size the texture has: nothing to filter
    } else if (!tns::image::Resample(img, int(w), int(h), toFilter(filter, Filter::Triangle), level)) {
        return D3DXERR_INVALIDDATA;
    }
    img = Image(); // the source is no longer needed; keep peak memory down

    IDirect3DTexture8* created = nullptr;
    const UINT levels = mipLevels == D3DX_DEFAULT ? 0 : mipLevels;
    HRESULT hr = device->CreateTexture(w, h, levels, usage, format, pool, &created);
    if (FAILED(hr) || !created) return FAILED(hr) ? hr : D3DERR_INVALIDCALL;

    const Filter reduce = toFilter(mipFilter, Filter::Box);
    const UINT count = created->GetLevelCount();
    for (UINT i = 0; i < count; ++i) {
        if (i > 0) {
            Image next;
            if (!tns::image::Reduce(level, reduce == Filter::None ? Filter::Box : reduce, next)) {
                created->Release();
                return E_OUTOFMEMORY;
            }
            level = std::move(next);
        }
        if (!storeLevel(created, i, format, level)) {
            created->Release();
            return D3DERR_INVALIDCALL;
        }
    }
    *texture = created;
    return D3D_OK;
}
