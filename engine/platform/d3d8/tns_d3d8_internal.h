// Shared between the software Direct3D 8 modules only: the device and resource
// classes and the adapter description (the presenters have tns_d3d8_presenter.h).
// Nothing outside engine/platform includes this.
#pragma once

#include <string>
#include <vector>

#include "engine/platform/d3d8/d3d8.h"
#include "engine/platform/raster/tns_raster.h"
#include "engine/platform/win32/tns_com_object.h"

class TnsD3DDevice;

// A resource keeps its device alive, as the device it was created by must
// outlive it; default-pool resources are counted so Reset can refuse them.
class TnsResourceLink {
public:
    TnsResourceLink(TnsD3DDevice* device, D3DPOOL pool);
    ~TnsResourceLink();
    TnsResourceLink(const TnsResourceLink&) = delete;
    TnsResourceLink& operator=(const TnsResourceLink&) = delete;

private:
    TnsD3DDevice* m_device;
    D3DPOOL m_pool;
};

class TnsTexture final : public TnsComObject<IDirect3DTexture8> {
public:
    // Null when the arguments are invalid or memory runs out.
    static TnsTexture* Create(TnsD3DDevice* device, UINT width, UINT height, UINT levels, D3DFORMAT format,
                              D3DPOOL pool);
    DWORD GetLevelCount() override { return DWORD(m_levels.size()); }
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;
    const tns::raster::Texture& Raster() const { return m_raster; }

private:
    TnsTexture(TnsD3DDevice* device, D3DPOOL pool) : m_link(device, pool), m_pool(pool) {}
    void expandLevel(size_t level);

    struct Level {
        UINT width, height;
        std::vector<uint8_t> bits; // in the texture's format
        std::vector<uint32_t> argb; // what the rasterizer samples
        bool locked = false;
    };
    TnsResourceLink m_link;
    D3DPOOL m_pool;
    D3DFORMAT m_format = D3DFMT_UNKNOWN;
    std::vector<Level> m_levels;
    tns::raster::Texture m_raster;
};

class TnsSurface final : public TnsComObject<IDirect3DSurface8> {
public:
    static TnsSurface* Create(TnsD3DDevice* device, UINT width, UINT height, D3DFORMAT format);
    HRESULT GetDesc(D3DSURFACE_DESC* desc) override;
    HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect() override;
    // Stores 32-bit ARGB rows in the surface's format.
    bool Fill(const uint32_t* argb, UINT width, UINT height, UINT pitchPixels);

private:
    explicit TnsSurface(TnsD3DDevice* device) : m_link(device, D3DPOOL_SYSTEMMEM) {}
    TnsResourceLink m_link;
    D3DFORMAT m_format = D3DFMT_UNKNOWN;
    UINT m_width = 0, m_height = 0;
    std::vector<uint8_t> m_bits;
    bool m_locked = false;
};

// Vertex and index buffers: plain bytes with a lock flag.
template <class Interface, D3DRESOURCETYPE Type>
class TnsBuffer final : public TnsComObject<Interface> {
public:
    static TnsBuffer* Create(TnsD3DDevice* device, UINT length, DWORD usage, D3DPOOL pool, DWORD format);
    HRESULT Lock(UINT offset, UINT size, BYTE** data, DWORD flags) override;
    HRESULT Unlock() override;
    const uint8_t* Data() const { return m_bytes.data(); }
    UINT Length() const { return UINT(m_bytes.size()); }
    DWORD Format() const { return m_format; }
    D3DPOOL Pool() const { return m_pool; }

private:
    TnsBuffer(TnsD3DDevice* device, D3DPOOL pool) : m_link(device, pool), m_pool(pool) {}
    TnsResourceLink m_link;
    D3DPOOL m_pool;
    DWORD m_format = 0;
    std::vector<uint8_t> m_bytes;
    uint32_t m_locks = 0;
};
using TnsVertexBuffer = TnsBuffer<IDirect3DVertexBuffer8, D3DRTYPE_VERTEXBUFFER>;
using TnsIndexBuffer = TnsBuffer<IDirect3DIndexBuffer8, D3DRTYPE_INDEXBUFFER>;

// The adapter as the Direct3D object reports it (built-in or a test's stand-in).
struct TnsAdapterInfo {
    std::string description;
    DWORD vendorId = 0, deviceId = 0;
    std::vector<D3DDISPLAYMODE> modes;
    D3DDISPLAYMODE desktop{};
    DWORD caps2 = 0;
    std::vector<D3DFORMAT> textureFormats;
};
const TnsAdapterInfo& TnsCurrentAdapter();
void TnsFillDeviceCaps(D3DCAPS8* caps);
bool TnsIsBackBufferFormat(D3DFORMAT format);

IDirect3DDevice8* TnsCreateDevice(IDirect3D8* d3d, HWND window, const D3DPRESENT_PARAMETERS& params,
                                  HRESULT* result);
