// Records of the graphics subsystem shared with the root object: the adapter
// survey (display modes and capabilities), the quad vertex and the items the
// graphics managers hold.
#pragma once

#include <cstdint>

#include "engine/platform/d3d8/d3d8.h"

// One candidate display mode; the first four fields have D3DDISPLAYMODE's layout.
struct TRSDISPLAYMODE {
    uint32_t Width;
    uint32_t Height;
    uint32_t RefreshRate;
    D3DFORMAT Format;
    D3DFORMAT TextureFormat01; // 16-bit, no alpha needed
    D3DFORMAT TextureFormat02; // 16-bit with alpha
    D3DFORMAT TextureFormat03; // 32-bit with alpha
    D3DFORMAT TextureFormat04; // 32-bit, no alpha needed
    bool valid;
};

struct TRSVIDEOCARDCAPS {
    TRSDISPLAYMODE Mode1; // requested size, 16-bit
    TRSDISPLAYMODE Mode2; // requested size, 32-bit
    TRSDISPLAYMODE Mode3; // the desktop
    bool CanRenderWindowed;
    uint32_t MaxTextureWidth;
    uint32_t MaxTextureHeight;
    uint32_t MaxTextureBlendStages;
    uint32_t MaxSimultaneousTextures;
    bool VertexFog;
    bool Dot3;
    bool MipMapping;
    bool AddressClamp;
    bool AddressWrap;
    bool FullScreenGamma;
    bool CalibrateGamma;
    int32_t Rating; // 0 unknown, else 1 to 5
};

// The quad vertex (40 bytes); with fog on, the specular alpha is the fog factor.
struct TRSQUADVERTEX {
    float x, y, z, rhw;
    D3DCOLOR diffuse;
    D3DCOLOR specular;
    float tu1, tv1;
    float tu2, tv2;
};
static_assert(sizeof(TRSQUADVERTEX) == 40);

constexpr DWORD TRS_QUADFVF = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX2;
constexpr int32_t TRS_QUADBATCHSIZE = 500;
constexpr int32_t TRS_TEXTURESTAGES = 8;

// A technique: groups of render states applied together; each group is applied
// only when its present flag is set.
struct TRSTECHNIQUE {
    bool bBlendingPresent = false;
    bool bAlphaBlending = false;
    int32_t iSrcBlend = D3DBLEND_ONE;
    int32_t iDestBlend = D3DBLEND_ZERO;
    bool bFogPresent = false;
    bool bFog = false;
    float fFogStart = 0.0f;
    float fFogEnd = 0.0f;
    D3DCOLOR dwFogColor = 0xFF000000u;
    bool bTextureFactorPresent = false;
    D3DCOLOR dwTextureFactor = 0;
    bool bStageStatesPresent = false;
    int32_t iColorOp[2] = {D3DTOP_DISABLE, D3DTOP_DISABLE};
    int32_t iColorArg1[2] = {D3DTA_CURRENT, D3DTA_CURRENT};
    int32_t iColorArg2[2] = {D3DTA_CURRENT, D3DTA_CURRENT};
    int32_t iAlphaOp[2] = {D3DTOP_DISABLE, D3DTOP_DISABLE};
    int32_t iAlphaArg1[2] = {D3DTA_CURRENT, D3DTA_CURRENT};
    int32_t iAlphaArg2[2] = {D3DTA_CURRENT, D3DTA_CURRENT};
    int32_t iAddressMode[2] = {D3DTADDRESS_WRAP, D3DTADDRESS_WRAP};
    bool bFiltersPresent = false;
    int32_t iMinFilter[2] = {D3DTEXF_NONE, D3DTEXF_NONE};
    int32_t iMagFilter[2] = {D3DTEXF_NONE, D3DTEXF_NONE};
    int32_t iMipFilter[2] = {D3DTEXF_NONE, D3DTEXF_NONE};
    bool bDynLightPresent = false;
    int32_t iDynLightMode = 0;
    D3DCOLOR dwDynLightAmbient = 0xFF000000u;
};

// A dynamic light; the lights manager holds none in the running system, so the
// record carries only what a light would need to tint a quad.
struct TRSLIGHT {
    float fX = 0.0f, fY = 0.0f, fRadius = 0.0f;
    float fR = 0.0f, fG = 0.0f, fB = 0.0f;
};

// A bitmap font: glyph sheet (16 x 16 cells for the byte values), technique,
// square cell size, a palette of ten colours and an advance per byte value.
struct TRSFONT {
    int32_t iTextureID = -1;
    int32_t iTechniqueID = -1;
    struct Colour {
        float r, g, b, a;
    } Colors[10] = {};
    float fCellSize = 0.0f;
    float fCharWidths[256] = {};
};
