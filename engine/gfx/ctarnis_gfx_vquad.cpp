// The current quad and the quad batch: callers shape one screen-space quad and
// queue it; queued quads collect in the locked dynamic vertex buffer and are
// drawn with one indexed draw per batch of up to 500 quads.
#include <cmath>
#include <cstring>

#include "engine/core/ctarnis.h"

namespace {

constexpr int32_t kFileID = EHS_FILE_GFX_VQUAD;
constexpr UINT kQuadIndexCount = 3000;

// The fog colour (r, g, b, fog factor): r, g, b stay white; the fourth
// component carries the last placed z.
float g_fogColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};

// Colour component packing: × 255, truncated, low 8 bits kept.
uint32_t packComponent(float c)
{
    float v = c * 255.0f;
    if (!(v > -2.0e9f && v < 2.0e9f)) return 0;
    return uint32_t(int64_t(v)) & 0xFFu;
}

uint32_t fogByte(float f)
{
    if (f >= 1.0f) return 255;
    if (f > 0.0f) return uint32_t(f * 255.0f + 0.5f);
    return 0; // also NaN
}

D3DCOLOR fogSpecular(float z)
{
    g_fogColor[3] = z;
    return (fogByte(z) << 24) | (fogByte(g_fogColor[0]) << 16) | (fogByte(g_fogColor[1]) << 8) |
           fogByte(g_fogColor[2]);
}

bool validVertex(int32_t i)
{
    return i >= 0 && i < 4;
}

} // namespace

void CTarnis::GFX_VQuadSetPos(float x, float y, float width, float height, float z)
{
    const float xs[4] = {x, x + width, x + width, x};
    const float ys[4] = {y, y, y + height, y + height};
    for (int i = 0; i < 4; ++i) {
        TRSQUADVERTEX& v = m_QuadVertices[i];
        v.x = xs[i];
        v.y = ys[i];
        v.z = z;
        if (m_bFogOn) v.specular = fogSpecular(z);
    }
}

void CTarnis::GFX_VQuadSetPosByVertex(int32_t vertex, float x, float y, float z)
{
    if (!validVertex(vertex)) return;
    TRSQUADVERTEX& v = m_QuadVertices[vertex];
    v.x = x;
    v.y = y;
    v.z = z;
    if (m_bFogOn) v.specular = fogSpecular(z);
}

void CTarnis::GFX_VQuadRotate(float cx, float cy, float degrees)
{
    const float a = degrees * 0.017453292f;
    const float c = std::cos(a), s = std::sin(a);
    for (TRSQUADVERTEX& v : m_QuadVertices) {
        const float dx = v.x - cx, dy = v.y - cy;
        v.x = dx * c - dy * s + cx;
        v.y = dy * c + dx * s + cy;
    }
}

void CTarnis::GFX_VQuadScale(float cx, float cy, float factor)
{
    for (TRSQUADVERTEX& v : m_QuadVertices) {
        v.x = (v.x - cx) * factor + cx;
        v.y = (v.y - cy) * factor + cy;
    }
}

void CTarnis::GFX_VQuadMove(float dx, float dy, float dz)
{
    for (TRSQUADVERTEX& v : m_QuadVertices) {
        v.x += dx;
        v.y += dy;
        v.z += dz;
        // The fog factor follows z, as the placing operations derive it.
        if (m_bFogOn) v.specular = fogSpecular(v.z);
    }
}

void CTarnis::GFX_VQuadSetTexCoords(int32_t set, float left, float top, float right, float bottom)
{
    EHS_CHECKPOINT(kFileID);
    if (set != 1 && set != 2) EHS_THROW(EHS_TYPE_GAME, 0, "Wrong texture coordinates set number: must be 1 or 2");
    const float us[4] = {left, right, right, left};
    const float vs[4] = {top, top, bottom, bottom};
    for (int i = 0; i < 4; ++i) {
        TRSQUADVERTEX& v = m_QuadVertices[i];
        (set == 1 ? v.tu1 : v.tu2) = us[i];
        (set == 1 ? v.tv1 : v.tv2) = vs[i];
    }
}

void CTarnis::GFX_VQuadSetColor(float r, float g, float b, float a)
{
    for (int i = 0; i < 4; ++i) GFX_VQuadSetColorByVertex(i, r, g, b, a);
}

void CTarnis::GFX_VQuadSetColorByVertex(int32_t vertex, float r, float g, float b, float a)
{
    if (!validVertex(vertex)) return;
    m_QuadVertices[vertex].diffuse =
        (packComponent(a) << 24) | (packComponent(r) << 16) | (packComponent(g) << 8) | packComponent(b);
    m_fQuadAlpha[vertex] = a;
}

void CTarnis::GFX_VQuadFillIndexBuffer()
{
    EHS_CHECKPOINT(kFileID);
    BYTE* data = nullptr;
    if (!m_pQuadIB || FAILED(m_pQuadIB->Lock(0, kQuadIndexCount * 2, &data, 0)) || !data)
        EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot lock index buffer!");
    // Two triangles (0, 1, 2) and (0, 2, 3) per quad.
    for (uint32_t q = 0; q < uint32_t(TRS_QUADBATCHSIZE); ++q) {
        const uint16_t v = uint16_t(q * 4);
        const uint16_t six[6] = {v, uint16_t(v + 1), uint16_t(v + 2), v, uint16_t(v + 2), uint16_t(v + 3)};
        std::memcpy(data + q * sizeof(six), six, sizeof(six));
    }
    if (FAILED(m_pQuadIB->Unlock())) EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot unlock index buffer!");
}

void CTarnis::GFX_VQuadBatchBegin()
{
    EHS_CHECKPOINT(kFileID);
    m_iQuadsInBatch = 0;
    BYTE* data = nullptr;
    if (!m_pQuadVB || FAILED(m_pQuadVB->Lock(0, 0, &data, D3DLOCK_DISCARD)) || !data)
        EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot lock vertex buffer!");
    m_pQuadLocked = reinterpret_cast<TRSQUADVERTEX*>(data);
    if (FAILED(m_pD3DDevice->SetStreamSource(0, m_pQuadVB, sizeof(TRSQUADVERTEX))))
        EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot set stream source!");
}

void CTarnis::GFX_VQuadQueue()
{
    if (!m_pQuadLocked) return;
    // Pre-transformed pixel centres sit on integer coordinates: the half-pixel
    // shift puts texel centres on them. The current quad keeps the shift.
    for (TRSQUADVERTEX& v : m_QuadVertices) {
        v.x -= 0.5f;
        v.y -= 0.5f;
    }
    std::memcpy(m_pQuadLocked + m_iQuadsInBatch * 4, m_QuadVertices, sizeof(m_QuadVertices));
    if (++m_iQuadsInBatch == TRS_QUADBATCHSIZE) GFX_VQuadBatchFlush();
}

void CTarnis::GFX_VQuadBatchFlush()
{
    EHS_CHECKPOINT(kFileID);
    if (m_iQuadsInBatch == 0 || !m_pQuadLocked) return;
    if (FAILED(m_pQuadVB->Unlock())) EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot unlock vertex buffer!");
    m_pQuadLocked = nullptr;
    const UINT n = UINT(m_iQuadsInBatch);
    m_pD3DDevice->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, n * 4, 0, n * 2);
    m_iQuadsInBatch = 0;
    BYTE* data = nullptr;
    if (FAILED(m_pQuadVB->Lock(0, 0, &data, D3DLOCK_DISCARD)) || !data)
        EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot lock vertex buffer!");
    m_pQuadLocked = reinterpret_cast<TRSQUADVERTEX*>(data);
}

void CTarnis::GFX_VQuadBatchEnd()
{
    EHS_CHECKPOINT(kFileID);
    if (!m_pQuadLocked) return;
    m_pQuadVB->Unlock();
    m_pQuadLocked = nullptr;
    if (m_iQuadsInBatch > 0) {
        const UINT n = UINT(m_iQuadsInBatch);
        m_pD3DDevice->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, n * 4, 0, n * 2);
    }
    m_iQuadsInBatch = 0;
}
