// Textures, image surfaces, vertex and index buffers of the software Direct3D 8
// device. Textures keep their bits in their own format for LockRect and an ARGB
// copy per level for sampling, refreshed on unlock. Limits: no sub-rectangle
// dirty tracking (an unlock re-expands the whole level), 16-bit indices only.
#include <cstring>
#include <new>

#include "engine/platform/d3d8/tns_d3d8_internal.h"

namespace {

constexpr UINT kMaxTextureSize = 4096;
constexpr UINT kMaxSurfaceSize = 16384;

bool isTextureFormat(D3DFORMAT format)
{
    return TNS_D3DFormatBytes(format) != 0;
}

// Pointer and pitch of a locked rectangle; false when the rectangle is not
// inside the level.
bool lockedRect(uint8_t* bits, UINT width, UINT height, UINT bpp, const RECT* rect, D3DLOCKED_RECT* locked)
{
    UINT x = 0, y = 0;
    if (rect) {
        if (rect->left < 0 || rect->top < 0 || rect->right > LONG(width) || rect->bottom > LONG(height) ||
            rect->left >= rect->right || rect->top >= rect->bottom)
            return false;
        x = UINT(rect->left);
        y = UINT(rect->top);
    }
    locked->Pitch = INT(width * bpp);
    locked->pBits = bits + size_t(y) * width * bpp + size_t(x) * bpp;
    return true;
}

} // namespace

// ---------------------------------------------------------------- textures

TnsTexture* TnsTexture::Create(TnsD3DDevice* device, UINT width, UINT height, UINT levels, D3DFORMAT format,
                               D3DPOOL pool)
{
    if (width == 0 || height == 0 || width > kMaxTextureSize || height > kMaxTextureSize) return nullptr;
    if (!isTextureFormat(format) || pool == D3DPOOL_SCRATCH) return nullptr;
    UINT full = 1;
    for (UINT w = width, h = height; w > 1 || h > 1; w = w > 1 ? w / 2 : 1, h = h > 1 ? h / 2 : 1) ++full;
    if (levels == 0 || levels > full) levels = full;
    if (levels > UINT(tns::raster::kMaxLevels)) levels = tns::raster::kMaxLevels;
    TnsTexture* t = new (std::nothrow) TnsTexture(device, pool);
    if (!t) return nullptr;
    try {
        t->m_format = format;
        t->m_levels.resize(levels);
        UINT bpp = TNS_D3DFormatBytes(format);
        for (UINT i = 0, w = width, h = height; i < levels; ++i, w = w > 1 ? w / 2 : 1, h = h > 1 ? h / 2 : 1) {
            Level& l = t->m_levels[i];
            l.width = w;
            l.height = h;
            l.bits.assign(size_t(w) * h * bpp, 0);
            l.argb.assign(size_t(w) * h, 0);
            t->expandLevel(i);
        }
    } catch (const std::bad_alloc&) {
        t->Release();
        return nullptr;
    }
    t->m_raster.levelCount = int(levels);
    for (UINT i = 0; i < levels; ++i) {
        t->m_raster.levels[i].argb = t->m_levels[i].argb.data();
        t->m_raster.levels[i].width = int(t->m_levels[i].width);
        t->m_raster.levels[i].height = int(t->m_levels[i].height);
    }
    return t;
}

void TnsTexture::expandLevel(size_t level)
{
    Level& l = m_levels[level];
    const size_t count = size_t(l.width) * l.height;
    if (TNS_D3DFormatBytes(m_format) == 4) {
        const uint32_t keep = m_format == D3DFMT_X8R8G8B8 ? 0xFF000000u : 0;
        for (size_t i = 0; i < count; ++i) {
            uint32_t p;
            std::memcpy(&p, &l.bits[i * 4], 4);
            l.argb[i] = p | keep;
        }
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        uint16_t p;
        std::memcpy(&p, &l.bits[i * 2], 2);
        l.argb[i] = TNS_D3DUnpackPixel(m_format, p);
    }
}

HRESULT TnsTexture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc)
{
    if (level >= m_levels.size() || !desc) return D3DERR_INVALIDCALL;
    const Level& l = m_levels[level];
    *desc = D3DSURFACE_DESC{m_format, D3DRTYPE_SURFACE, 0, m_pool, UINT(l.bits.size()), D3DMULTISAMPLE_NONE,
                            l.width, l.height};
    return D3D_OK;
}

HRESULT TnsTexture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD)
{
    if (level >= m_levels.size() || !locked) return D3DERR_INVALIDCALL;
    Level& l = m_levels[level];
    if (l.locked) return D3DERR_INVALIDCALL;
    if (!lockedRect(l.bits.data(), l.width, l.height, TNS_D3DFormatBytes(m_format), rect, locked))
        return D3DERR_INVALIDCALL;
    l.locked = true;
    return D3D_OK;
}

HRESULT TnsTexture::UnlockRect(UINT level)
{
    if (level >= m_levels.size() || !m_levels[level].locked) return D3DERR_INVALIDCALL;
    m_levels[level].locked = false;
    expandLevel(level);
    return D3D_OK;
}

// ---------------------------------------------------------------- image surfaces

TnsSurface* TnsSurface::Create(TnsD3DDevice* device, UINT width, UINT height, D3DFORMAT format)
{
    if (width == 0 || height == 0 || width > kMaxSurfaceSize || height > kMaxSurfaceSize) return nullptr;
    if (!isTextureFormat(format)) return nullptr;
    TnsSurface* s = new (std::nothrow) TnsSurface(device);
    if (!s) return nullptr;
    try {
        s->m_bits.assign(size_t(width) * height * TNS_D3DFormatBytes(format), 0);
    } catch (const std::bad_alloc&) {
        s->Release();
        return nullptr;
    }
    s->m_format = format;
    s->m_width = width;
    s->m_height = height;
    return s;
}

HRESULT TnsSurface::GetDesc(D3DSURFACE_DESC* desc)
{
    if (!desc) return D3DERR_INVALIDCALL;
    *desc = D3DSURFACE_DESC{m_format, D3DRTYPE_SURFACE, 0, D3DPOOL_SYSTEMMEM, UINT(m_bits.size()),
                            D3DMULTISAMPLE_NONE, m_width, m_height};
    return D3D_OK;
}

HRESULT TnsSurface::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD)
{
    if (!locked || m_locked) return D3DERR_INVALIDCALL;
    if (!lockedRect(m_bits.data(), m_width, m_height, TNS_D3DFormatBytes(m_format), rect, locked))
        return D3DERR_INVALIDCALL;
    m_locked = true;
    return D3D_OK;
}

HRESULT TnsSurface::UnlockRect()
{
    if (!m_locked) return D3DERR_INVALIDCALL;
    m_locked = false;
    return D3D_OK;
}

bool TnsSurface::Fill(const uint32_t* argb, UINT width, UINT height, UINT pitchPixels)
{
    if (width != m_width || height != m_height || m_locked) return false;
    const UINT bpp = TNS_D3DFormatBytes(m_format);
    for (UINT y = 0; y < height; ++y) {
        const uint32_t* src = argb + size_t(y) * pitchPixels;
        uint8_t* dst = m_bits.data() + size_t(y) * width * bpp;
        for (UINT x = 0; x < width; ++x) {
            uint32_t p = bpp == 4 ? src[x] : TNS_D3DPackPixel(m_format, src[x]);
            std::memcpy(dst + size_t(x) * bpp, &p, bpp);
        }
    }
    return true;
}

// ---------------------------------------------------------------- buffers

template <class Interface, D3DRESOURCETYPE Type>
TnsBuffer<Interface, Type>* TnsBuffer<Interface, Type>::Create(TnsD3DDevice* device, UINT length, DWORD,
                                                               D3DPOOL pool, DWORD format)
{
    if (length == 0 || length > (64u << 20)) return nullptr;
    auto* b = new (std::nothrow) TnsBuffer(device, pool);
    if (!b) return nullptr;
    try {
        b->m_bytes.assign(length, 0);
    } catch (const std::bad_alloc&) {
        b->Release();
        return nullptr;
    }
    b->m_format = format;
    return b;
}

template <class Interface, D3DRESOURCETYPE Type>
HRESULT TnsBuffer<Interface, Type>::Lock(UINT offset, UINT size, BYTE** data, DWORD)
{
    if (!data) return D3DERR_INVALIDCALL;
    if (offset > m_bytes.size() || size > m_bytes.size() - offset) return D3DERR_INVALIDCALL;
    // Draws are executed at once, so a discarding lock can hand out the same
    // bytes. Locks nest, as Direct3D 8 buffer locks do.
    *data = m_bytes.data() + offset;
    ++m_locks;
    return D3D_OK;
}

template <class Interface, D3DRESOURCETYPE Type>
HRESULT TnsBuffer<Interface, Type>::Unlock()
{
    if (m_locks == 0) return D3DERR_INVALIDCALL;
    --m_locks;
    return D3D_OK;
}

template class TnsBuffer<IDirect3DVertexBuffer8, D3DRTYPE_VERTEXBUFFER>;
template class TnsBuffer<IDirect3DIndexBuffer8, D3DRTYPE_INDEXBUFFER>;
