// The D3DX 8 utility subset the engine uses: creating a texture from an image
// file held in memory. Implemented over the image decoders (tns_image_*.cpp)
// and the device's texture interface. Limits: no dithering, the palette
// argument is ignored (textures are never palettised).
#pragma once

#include "engine/platform/d3d8/d3d8.h"

constexpr UINT D3DX_DEFAULT = 0xFFFFFFFFu;

constexpr DWORD D3DX_FILTER_NONE = 1;
constexpr DWORD D3DX_FILTER_POINT = 2;
constexpr DWORD D3DX_FILTER_LINEAR = 3;
constexpr DWORD D3DX_FILTER_TRIANGLE = 4;
constexpr DWORD D3DX_FILTER_BOX = 5;
constexpr DWORD D3DX_FILTER_MIRROR_U = 0x00010000;
constexpr DWORD D3DX_FILTER_MIRROR_V = 0x00020000;
constexpr DWORD D3DX_FILTER_MIRROR_W = 0x00040000;
constexpr DWORD D3DX_FILTER_MIRROR = 0x00070000;
constexpr DWORD D3DX_FILTER_DITHER = 0x00080000;

constexpr HRESULT D3DXERR_INVALIDDATA = MakeD3DHResult(2905);

enum D3DXIMAGE_FILEFORMAT : int32_t {
    D3DXIFF_BMP = 0,
    D3DXIFF_JPG = 1,
    D3DXIFF_TGA = 2,
    D3DXIFF_PNG = 3,
    D3DXIFF_DDS = 4,
};

struct D3DXIMAGE_INFO {
    UINT Width;
    UINT Height;
    UINT Depth;
    UINT MipLevels;
    D3DFORMAT Format;
    D3DRESOURCETYPE ResourceType;
    D3DXIMAGE_FILEFORMAT ImageFileFormat;
};

struct PALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
};

// Decodes the image (PNG, JPEG, BMP, TGA, DDS), scales it to width x height
// (D3DX_DEFAULT or 0: the image's size rounded up to a power of two), builds
// mipLevels levels (D3DX_DEFAULT or 0: down to 1 x 1) with mipFilter and stores
// them in format (D3DFMT_UNKNOWN: A8R8G8B8 with alpha, else X8R8G8B8). Pixels
// equal to a non-zero colorKey become transparent black. Sizes beyond the
// device's maximum are scaled down to it. D3DXERR_INVALIDDATA, with *texture
// null, for anything that cannot be decoded.
HRESULT D3DXCreateTextureFromFileInMemoryEx(IDirect3DDevice8* device, const void* data, UINT dataSize, UINT width,
                                            UINT height, UINT mipLevels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                            DWORD filter, DWORD mipFilter, D3DCOLOR colorKey,
                                            D3DXIMAGE_INFO* srcInfo, PALETTEENTRY* palette,
                                            IDirect3DTexture8** texture);
