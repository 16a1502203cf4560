// Portable rasterizer core behind the software Direct3D 8 device: draws
// pre-transformed triangles into a plain 32-bit pixel buffer with two texture
// stages, alpha blending and vertex fog. Knows nothing of SDL or of the device.
#pragma once

#include <cstdint>

namespace tns::raster {

// The quad vertex format (XYZRHW | DIFFUSE | SPECULAR | TEX2), 40 bytes.
struct Vertex {
    float x, y, z, rhw;
    uint32_t diffuse;
    uint32_t specular;
    float u0, v0, u1, v1;
};
static_assert(sizeof(Vertex) == 40);

// Back-buffer pixels are stored as 32-bit ARGB; 16-bit targets keep only the
// values their format can hold (each write is quantised), so blending reads
// back exactly what a 16-bit buffer would hold.
enum class Quantise : uint8_t { None, R5G6B5, X1R5G5B5 };

struct Target {
    uint32_t* pixels = nullptr;
    int width = 0, height = 0;
    int pitch = 0; // in pixels
    Quantise quantise = Quantise::None;
};

struct Rect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0; // x1, y1 exclusive
};

constexpr int kMaxLevels = 14;

// A texture as the rasterizer samples it: every level expanded to 32-bit ARGB.
struct Texture {
    int levelCount = 0;
    struct Level {
        const uint32_t* argb = nullptr;
        int width = 0, height = 0;
    } levels[kMaxLevels];
};

// Stage operations and arguments, addressing modes, filters, blend factors and
// cull modes, in the Direct3D 8 values: the device hands its states through
// unchanged and checks these against its own names where it does.
inline constexpr uint32_t kTopDisable = 1, kTopSelect1 = 2, kTopSelect2 = 3, kTopModulate = 4, kTopModulate2x = 5,
    kTopModulate4x = 6, kTopAdd = 7, kTopAddSigned = 8, kTopSubtract = 10, kTopDot3 = 24;
inline constexpr uint32_t kTaDiffuse = 0, kTaCurrent = 1, kTaTexture = 2, kTaTFactor = 3, kTaSpecular = 4;
inline constexpr uint32_t kAddrWrap = 1, kAddrMirror = 2, kAddrClamp = 3, kAddrBorder = 4;
inline constexpr uint32_t kFilterNone = 0, kFilterPoint = 1, kFilterLinear = 2;
inline constexpr uint32_t kBlendZero = 1, kBlendOne = 2, kBlendSrcColor = 3, kBlendInvSrcColor = 4,
    kBlendSrcAlpha = 5, kBlendInvSrcAlpha = 6, kBlendDestAlpha = 7, kBlendInvDestAlpha = 8, kBlendDestColor = 9,
    kBlendInvDestColor = 10, kBlendSrcAlphaSat = 11;
inline constexpr uint32_t kCullNone = 1, kCullCW = 2, kCullCCW = 3;

struct Stage {
    uint32_t colorOp = 1, colorArg1 = 2, colorArg2 = 1;
    uint32_t alphaOp = 1, alphaArg1 = 2, alphaArg2 = 1;
    uint32_t addressU = 1, addressV = 1;
    uint32_t magFilter = 1, minFilter = 1, mipFilter = 0;
    uint32_t texCoordIndex = 0;
    const Texture* texture = nullptr; // null samples opaque white
};

// Device state as the rasterizer needs it, in Direct3D 8 values.
struct State {
    bool blend = false;
    uint32_t srcBlend = 2, destBlend = 1;
    bool fog = false;
    uint32_t fogColor = 0;
    bool specularAdd = false;
    uint32_t textureFactor = 0xFFFFFFFFu;
    uint32_t cullMode = 3;
    Stage stages[2];
    Rect clip;
};

// Fills the rectangle (clipped to the target) with one colour.
void Clear(const Target& target, Rect rect, uint32_t argb);

// Draws primCount triangles of the index list; indices at or beyond
// vertexCount drop their triangle. Triangles (a,b,c)(a,c,d) that form a
// parallelogram with consistent attributes are drawn as one polygon.
void DrawIndexedTriangles(const Target& target, const State& state, const Vertex* vertices, uint32_t vertexCount,
                          const uint16_t* indices, uint32_t primCount);

// Rounded a*b/255 for 0..255 operands; exposed for tests.
inline uint32_t Mul255(uint32_t a, uint32_t b)
{
    uint32_t t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}

} // namespace tns::raster
