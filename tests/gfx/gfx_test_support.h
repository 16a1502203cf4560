// Shared by the graphics tests: a fixture that brings the graphics subsystem
// up headless, a reader of the presented picture, and a device proxy that
// records draw calls while forwarding everything to the real device.
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

    CTarnis* m_t = nullptr;
};

// Forwards every call to the real device and records the draws.
class RecordingDevice final : public IDirect3DDevice8 {
public:
    explicit RecordingDevice(IDirect3DDevice8* real) : m_real(real) {}
    struct Draw {
        UINT numVertices, startIndex, primCount;
    };
    std::vector<Draw> draws;

    ULONG AddRef() override { return m_real->AddRef(); }
    ULONG Release() override { return m_real->Release(); }
    HRESULT TestCooperativeLevel() override { return m_real->TestCooperativeLevel(); }
    HRESULT Reset(D3DPRESENT_PARAMETERS* p) override { return m_real->Reset(p); }
    HRESULT GetDeviceCaps(D3DCAPS8* c) override { return m_real->GetDeviceCaps(c); }
    HRESULT BeginScene() override { return m_real->BeginScene(); }
    HRESULT EndScene() override { return m_real->EndScene(); }
    HRESULT Clear(DWORD n, const D3DRECT* r, DWORD f, D3DCOLOR c, float z, DWORD s) override
    {
        return m_real->Clear(n, r, f, c, z, s);
    }
    HRESULT Present(const RECT* a, const RECT* b, HWND w, const void* d) override { return m_real->Present(a, b, w, d); }
    HRESULT SetViewport(const D3DVIEWPORT8* v) override { return m_real->SetViewport(v); }
    HRESULT GetViewport(D3DVIEWPORT8* v) override { return m_real->GetViewport(v); }
    void SetGammaRamp(DWORD f, const D3DGAMMARAMP* r) override { m_real->SetGammaRamp(f, r); }
    void GetGammaRamp(D3DGAMMARAMP* r) override { m_real->GetGammaRamp(r); }
    HRESULT CreateImageSurface(UINT w, UINT h, D3DFORMAT f, IDirect3DSurface8** s) override
    {
        return m_real->CreateImageSurface(w, h, f, s);
    }
    HRESULT GetFrontBuffer(IDirect3DSurface8* s) override { return m_real->GetFrontBuffer(s); }
    HRESULT CreateTexture(UINT w, UINT h, UINT l, DWORD u, D3DFORMAT f, D3DPOOL p, IDirect3DTexture8** t) override
    {
        return m_real->CreateTexture(w, h, l, u, f, p, t);
    }
    HRESULT CreateVertexBuffer(UINT n, DWORD u, DWORD f, D3DPOOL p, IDirect3DVertexBuffer8** b) override
    {
        return m_real->CreateVertexBuffer(n, u, f, p, b);
    }
    HRESULT CreateIndexBuffer(UINT n, DWORD u, D3DFORMAT f, D3DPOOL p, IDirect3DIndexBuffer8** b) override
    {
        return m_real->CreateIndexBuffer(n, u, f, p, b);
    }
    HRESULT SetStreamSource(UINT s, IDirect3DVertexBuffer8* b, UINT st) override
    {
        return m_real->SetStreamSource(s, b, st);
    }
    HRESULT SetIndices(IDirect3DIndexBuffer8* b, UINT base) override { return m_real->SetIndices(b, base); }
    HRESULT SetVertexShader(DWORD h) override { return m_real->SetVertexShader(h); }
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE t, UINT mi, UINT nv, UINT si, UINT pc) override
    {
        draws.push_back(Draw{nv, si, pc});
        return m_real->DrawIndexedPrimitive(t, mi, nv, si, pc);
    }
    HRESULT SetRenderState(D3DRENDERSTATETYPE s, DWORD v) override { return m_real->SetRenderState(s, v); }
    HRESULT GetRenderState(D3DRENDERSTATETYPE s, DWORD* v) override { return m_real->GetRenderState(s, v); }
    HRESULT SetTextureStageState(DWORD st, D3DTEXTURESTAGESTATETYPE t, DWORD v) override
    {
        return m_real->SetTextureStageState(st, t, v);
    }
    HRESULT GetTextureStageState(DWORD st, D3DTEXTURESTAGESTATETYPE t, DWORD* v) override
    {
        return m_real->GetTextureStageState(st, t, v);
    }
    HRESULT SetTexture(DWORD s, IDirect3DBaseTexture8* t) override { return m_real->SetTexture(s, t); }
    HRESULT GetTexture(DWORD s, IDirect3DBaseTexture8** t) override { return m_real->GetTexture(s, t); }
    BOOL ShowCursor(BOOL s) override { return m_real->ShowCursor(s); }

private:
    IDirect3DDevice8* m_real;
};

} // namespace gfxtest
