// Shared by the graphics tests: a fixture that brings the graphics subsystem
// up headless, a reader of the presented picture and of the draws it received.
#pragma once

#include <string>
#include <vector>

#include "engine/platform/d3d8/d3d8_testing.h"
#include "engine/core/ctarnis.h"
#include "tests/support/test_support.h"

namespace gfxtest {

// The picture last presented, as 32-bit ARGB rows.
inline std::vector<uint32_t> frontPixels(IDirect3DDevice8* device, int width, int height)
{
    std::vector<uint32_t> out;
    IDirect3DSurface8* s = nullptr;
    if (FAILED(device->CreateImageSurface(UINT(width), UINT(height), D3DFMT_A8R8G8B8, &s))) return out;
    if (SUCCEEDED(device->GetFrontBuffer(s))) {
        D3DLOCKED_RECT r{};
        if (SUCCEEDED(s->LockRect(&r, nullptr, D3DLOCK_READONLY))) {
            for (int y = 0; y < height; ++y) {
                const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(r.pBits) + y * r.Pitch);
                out.insert(out.end(), row, row + width);
            }
            s->UnlockRect();
        }
    }
    s->Release();
    return out;
}

class GfxTest : public tst::InScratchDir {
protected:
    void SetUp() override
    {
        g_bWindowActive = false;
        m_t = new CTarnis;
        m_t->LOG_WriteHeader("Gfx Test", "v.1");
    }
    void TearDown() override
    {
        delete m_t;
        TNS_D3D8SetAdapter(nullptr);
    }
    void start(int32_t mode = 2, bool windowed = false, int32_t width = 800, int32_t height = 600)
    {
        m_t->GFX_Preinit(width, height);
        m_t->GFX_Init(mode, windowed);
    }
    std::vector<uint32_t> picture()
    {
        int32_t w = 0, h = 0;
        m_t->GFX_GetResolution(&w, &h);
        return frontPixels(m_t->m_pD3DDevice, w, h);
    }
    // The draw calls the device has received, and the last one's counts.
    TnsDrawStats draws() { return TNS_D3D8DrawStats(m_t->m_pD3DDevice); }

    CTarnis* m_t = nullptr;
};

} // namespace gfxtest
