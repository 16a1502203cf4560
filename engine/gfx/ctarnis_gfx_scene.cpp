// The per-frame scene operations of the graphics subsystem: begin and end with
// the quad batch, clear, render the current quad, present, viewport, gamma ramp
// and the screenshot writer.
#include <cstdio>
#include <memory>
#include <new>
#include <string>

#include "engine/core/ctarnis.h"

namespace {

constexpr int32_t kFileID = EHS_FILE_GFX_SCENE;

// Colour component packing: × 255, truncated, low 8 bits kept (1.5 wraps).
uint32_t packComponent(float c)
{
    float v = c * 255.0f;
    if (!(v > -2.0e9f && v < 2.0e9f)) return 0;
    return uint32_t(int64_t(v)) & 0xFFu;
}

void put16(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void put32(uint8_t* p, uint32_t v)
{
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}

} // namespace

#define GFX_REQUIRE_DEVICE()                                                                \
    do {                                                                                    \
        EHS_CHECKPOINT(kFileID);                                                            \
        if (!m_pD3DDevice) EHS_THROW(EHS_TYPE_GENERAL, 0, "D3DDevice object was not created!"); \
    } while (0)

void CTarnis::GFX_SceneBegin()
{
    GFX_REQUIRE_DEVICE();
    m_pD3DDevice->BeginScene();
    GFX_VQuadBatchBegin();
}

void CTarnis::GFX_SceneEnd()
{
    GFX_REQUIRE_DEVICE();
    GFX_VQuadBatchEnd();
    m_pD3DDevice->EndScene();
}

void CTarnis::GFX_SceneClearScreen(float r, float g, float b)
{
    GFX_REQUIRE_DEVICE();
    D3DCOLOR color = 0xFF000000u | (packComponent(r) << 16) | (packComponent(g) << 8) | packComponent(b);
    m_pD3DDevice->Clear(0, nullptr, D3DCLEAR_TARGET, color, 0.0f, 0);
}

void CTarnis::GFX_SceneRender()
{
    GFX_ApplyDynLighting();
    GFX_VQuadQueue();
}

void CTarnis::GFX_ScenePresent()
{
    if (m_pD3DDevice) m_pD3DDevice->Present(nullptr, nullptr, nullptr, nullptr);
}

void CTarnis::GFX_SceneSetViewport(int32_t x, int32_t y, int32_t width, int32_t height)
{
    GFX_REQUIRE_DEVICE();
    int32_t bw = 0, bh = 0;
    GFX_GetResolution(&bw, &bh);
    // 64-bit sums: a huge width or height must clamp, not wrap.
    int64_t vx = x, vy = y, vw = width, vh = height;
    if (vx < 0) {
        vw += vx;
        vx = 0;
    }
    if (vy < 0) {
        vh += vy;
        vy = 0;
    }
    if (vx + vw > bw) vw = bw - vx;
    if (vy + vh > bh) vh = bh - vy;
    if (vw < 0) vw = 0;
    if (vh < 0) vh = 0;
    GFX_VQuadBatchFlush();
    D3DVIEWPORT8 vp{DWORD(vx), DWORD(vy), DWORD(vw), DWORD(vh), 0.0f, 1.0f};
    m_pD3DDevice->SetViewport(&vp);
}

void CTarnis::GFX_SceneSetGamma(float level, float bend)
{
    GFX_REQUIRE_DEVICE();
    float low = 0.0f, high = 1.0f;
    if (level > 1.0f) {
        low = level - 1.0f;
        if (low > 1.0f) low = 1.0f;
    }
    if (level < 1.0f) {
        high = level;
        if (high < 0.0f) high = 0.0f;
    }
    const float control = (1.0f - bend) * (low + (high - low) * 0.5f) + bend * high;
    D3DGAMMARAMP ramp{};
    for (int i = 0; i < 256; ++i) {
        float t = float(i) * (1.0f / 255.0f);
        float v = (1.0f - t) * (1.0f - t) * low + 2.0f * t * (1.0f - t) * control + t * t * high;
        if (!(v >= 0.0f)) v = 0.0f; // also a NaN from a NaN bend
        if (v > 1.0f) v = 1.0f;
        ramp.red[i] = ramp.green[i] = ramp.blue[i] = WORD(v * 65535.0f);
    }
    m_pD3DDevice->SetGammaRamp(m_VideoCardCaps.CalibrateGamma ? D3DSGR_CALIBRATE : D3DSGR_NO_CALIBRATION, &ramp);
}

void CTarnis::GFX_SceneMakeScreenshot()
{
    GFX_REQUIRE_DEVICE();
    if (m_bWindowed) {
        LOG_AddEmptyLines(1);
        LOG_AddLevelEntry("Cannot make a screenshot in windowed mode!", kLogWarning);
        LOG_AddEmptyLines(1);
        return;
    }
    ++m_iScreenshotCounter;
    int32_t width = 0, height = 0;
    GFX_GetResolution(&width, &height);

    IDirect3DSurface8* surface = nullptr;
    HRESULT hr = m_pD3DDevice->CreateImageSurface(UINT(width), UINT(height), D3DFMT_A8R8G8B8, &surface);
    if (FAILED(hr)) EHS_THROW(EHS_TYPE_GENERAL, hr, "Cannot create surface!");
    EHS_Assert(surface != nullptr);
    // The surface is released on every way out, so a failed shot leaves no
    // reference on the device.
    std::unique_ptr<IDirect3DSurface8, void (*)(IDirect3DSurface8*)> hold(surface,
                                                                         [](IDirect3DSurface8* s) { s->Release(); });
    hr = m_pD3DDevice->GetFrontBuffer(surface);
    if (FAILED(hr)) EHS_THROW(EHS_TYPE_GENERAL, hr, "Cannot get front buffer!");
    D3DLOCKED_RECT locked{};
    hr = surface->LockRect(&locked, nullptr, D3DLOCK_READONLY);
    if (FAILED(hr)) EHS_THROW(EHS_TYPE_GENERAL, hr, "Cannot lock surface!");

    // BMP rows are padded to a multiple of 4 bytes.
    const size_t rowBytes = (size_t(width) * 3 + 3) & ~size_t(3);
    const size_t imageBytes = rowBytes * size_t(height);
    std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[imageBytes]());
    if (!pixels) {
        surface->UnlockRect();
        EHS_Assert(false);
    }
    const auto* bits = static_cast<const uint8_t*>(locked.pBits);
    for (int32_t row = 0; row < height; ++row) {
        const uint8_t* src = bits + size_t(height - 1 - row) * size_t(locked.Pitch);
        uint8_t* dst = pixels.get() + size_t(row) * rowBytes;
        for (int32_t x = 0; x < width; ++x) {
            dst[x * 3 + 0] = src[x * 4 + 0];
            dst[x * 3 + 1] = src[x * 4 + 1];
            dst[x * 3 + 2] = src[x * 4 + 2];
        }
    }
    surface->UnlockRect();
    hold.reset();

    uint8_t header[54] = {'B', 'M'};
    put32(header + 2, uint32_t(54 + imageBytes));
    put32(header + 10, 54);
    put32(header + 14, 40);
    put32(header + 18, uint32_t(width));
    put32(header + 22, uint32_t(height));
    put16(header + 26, 1);
    put16(header + 28, 24);
    put32(header + 34, uint32_t(imageBytes));
    const std::string name = "screenshot" + std::to_string(m_iScreenshotCounter) + ".bmp";
    FILE* f = fopen(name.c_str(), "wb");
    bool written = f && fwrite(header, 1, sizeof(header), f) == sizeof(header) &&
                   fwrite(pixels.get(), 1, imageBytes, f) == imageBytes;
    if (f && fclose(f) != 0) written = false;
    LOG_AddEmptyLines(1);
    // A shot that could not be written is not reported as saved.
    LOG_AddLevelEntry(written ? "Screenshot saved." : "Failed.", written ? kLogDone : kLogWarning);
    LOG_AddEmptyLines(1);
}
