// The software Direct3D 8 device: back and front buffers, render and texture
// stage states, scene calls, the lost-device cycle (lost while the window is
// minimised, not reset until Reset), and indexed drawing through the rasterizer.
// Limits: triangle lists of the XYZRHW quad vertex format only; no depth buffer.
#include <algorithm>
#include <cstring>
#include <new>

#include "engine/platform/d3d8/d3d8_testing.h"
#include "engine/platform/d3d8/tns_d3d8_internal.h"
#include "engine/platform/d3d8/tns_d3d8_presenter.h"

namespace {

constexpr DWORD kQuadFVF = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX2;
constexpr UINT kQuadStride = 40;
constexpr UINT kMaxBackBuffer = 8192;

DWORD asDword(float f)
{
    DWORD d;
    std::memcpy(&d, &f, 4);
    return d;
}

tns::raster::Quantise quantiseFor(D3DFORMAT format)
{
    switch (format) {
    case D3DFMT_R5G6B5: return tns::raster::Quantise::R5G6B5;
    case D3DFMT_X1R5G5B5: return tns::raster::Quantise::X1R5G5B5;
    default: return tns::raster::Quantise::None;
    }
}

} // namespace

class TnsD3DDevice final : public TnsComObject<IDirect3DDevice8> {
public:
    TnsD3DDevice(IDirect3D8* d3d, HWND window) : m_d3d(d3d), m_window(window) { m_d3d->AddRef(); }
    ~TnsD3DDevice() override
    {
        releaseBindings();
        m_presenter.reset();
        m_d3d->Release();
    }

    // Allocates the buffers for the parameters; false when they are unusable.
    HRESULT Configure(const D3DPRESENT_PARAMETERS& params);
    void NoteDefaultPool(int delta) { m_defaultPoolResources += delta; }

    HRESULT TestCooperativeLevel() override;
    HRESULT Reset(D3DPRESENT_PARAMETERS* params) override;
    HRESULT GetDeviceCaps(D3DCAPS8* caps) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override;
    HRESULT Present(const RECT* src, const RECT* dst, HWND window, const void* dirty) override;
    HRESULT SetViewport(const D3DVIEWPORT8* viewport) override;
    HRESULT GetViewport(D3DVIEWPORT8* viewport) override;
    void SetGammaRamp(DWORD flags, const D3DGAMMARAMP* ramp) override;
    void GetGammaRamp(D3DGAMMARAMP* ramp) override;
    HRESULT CreateImageSurface(UINT width, UINT height, D3DFORMAT format, IDirect3DSurface8** surface) override;
    HRESULT GetFrontBuffer(IDirect3DSurface8* dest) override;
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DTexture8** texture) override;
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                               IDirect3DVertexBuffer8** buffer) override;
    HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DIndexBuffer8** buffer) override;
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) override;
    HRESULT SetIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex) override;
    HRESULT SetVertexShader(DWORD handle) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT minIndex, UINT numVertices, UINT startIndex,
                                 UINT primCount) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) override;
    HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture8** texture) override;
    BOOL ShowCursor(BOOL show) override;
    TnsDrawStats drawStats() const { return m_draws; }

private:
    enum class Coop { Ok, Lost, NotReset };

    void setDefaultStates();
    void releaseBindings();
    void buildRasterState(tns::raster::State& st) const;
    uint32_t* backPixels() { return m_buffers[m_back].data(); }
    uint32_t* frontPixels() { return m_buffers[1 - m_back].data(); }
    // Lost while the window is minimised; once restored, not reset until Reset.
    Coop updateCoop()
    {
        const bool minimised = m_presenter && m_presenter->isMinimised();
        if (m_coop == Coop::Ok && minimised) m_coop = Coop::Lost;
        if (m_coop == Coop::Lost && !minimised) m_coop = Coop::NotReset;
        return m_coop;
    }

    IDirect3D8* m_d3d;
    HWND m_window;
    D3DPRESENT_PARAMETERS m_params{};
    Coop m_coop = Coop::Ok;
    std::vector<uint32_t> m_buffers[2];
    int m_back = 0;
    tns::raster::Target m_target;
    std::unique_ptr<TnsPresenter> m_presenter;
    DWORD m_rs[kTnsRenderStateCount]{};
    DWORD m_tss[kTnsMaxTextureStages][kTnsStageStateCount]{};
    TnsTexture* m_textures[kTnsMaxTextureStages]{};
    TnsVertexBuffer* m_stream = nullptr;
    UINT m_stride = 0;
    TnsIndexBuffer* m_indices = nullptr;
    UINT m_baseVertex = 0;
    DWORD m_fvf = 0;
    D3DVIEWPORT8 m_viewport{};
    D3DGAMMARAMP m_gamma{};
    uint8_t m_lut[3][256]{};
    bool m_gammaIdentity = true;
    bool m_inScene = false;
    bool m_cursorShown = false;
    int m_defaultPoolResources = 0;
    TnsDrawStats m_draws{};
};

// ---------------------------------------------------------------- resource links

TnsResourceLink::TnsResourceLink(TnsD3DDevice* device, D3DPOOL pool) : m_device(device), m_pool(pool)
{
    m_device->AddRef();
    if (m_pool == D3DPOOL_DEFAULT) m_device->NoteDefaultPool(1);
}

TnsResourceLink::~TnsResourceLink()
{
    if (m_pool == D3DPOOL_DEFAULT) m_device->NoteDefaultPool(-1);
    m_device->Release();
}

// ---------------------------------------------------------------- set-up

IDirect3DDevice8* TnsCreateDevice(IDirect3D8* d3d, HWND window, const D3DPRESENT_PARAMETERS& params,
                                  HRESULT* result)
{
    auto* device = new (std::nothrow) TnsD3DDevice(d3d, window);
    if (!device) {
        *result = E_OUTOFMEMORY;
        return nullptr;
    }
    *result = device->Configure(params);
    if (FAILED(*result)) {
        device->Release();
        return nullptr;
    }
    return device;
}

HRESULT TnsD3DDevice::Configure(const D3DPRESENT_PARAMETERS& params)
{
    D3DPRESENT_PARAMETERS p = params;
    if (p.Windowed && (p.BackBufferWidth == 0 || p.BackBufferHeight == 0)) {
        int w = 0, h = 0;
        if (!TNS_GetWindowBackBufferSize(m_window, &w, &h)) return D3DERR_INVALIDCALL;
        p.BackBufferWidth = UINT(w);
        p.BackBufferHeight = UINT(h);
    }
    if (p.BackBufferWidth == 0 || p.BackBufferHeight == 0 || p.BackBufferWidth > kMaxBackBuffer ||
        p.BackBufferHeight > kMaxBackBuffer || !TnsIsBackBufferFormat(p.BackBufferFormat) ||
        p.BackBufferCount > 1 || p.EnableAutoDepthStencil)
        return D3DERR_INVALIDCALL;
    if (p.BackBufferCount == 0) p.BackBufferCount = 1;
    const size_t pixels = size_t(p.BackBufferWidth) * p.BackBufferHeight;
    try {
        for (auto& b : m_buffers) b.assign(pixels, 0xFF000000u);
    } catch (const std::bad_alloc&) {
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    m_params = p;
    m_back = 0;
    m_target = tns::raster::Target{nullptr, int(p.BackBufferWidth), int(p.BackBufferHeight),
                                   int(p.BackBufferWidth), quantiseFor(p.BackBufferFormat)};
    m_presenter = TnsOpenSdlPresenter(m_window, int(p.BackBufferWidth), int(p.BackBufferHeight));
    if (!m_presenter) m_presenter = TnsOpenNullPresenter();
    m_viewport = D3DVIEWPORT8{0, 0, p.BackBufferWidth, p.BackBufferHeight, 0.0f, 1.0f};
    setDefaultStates();
    m_coop = Coop::Ok;
    return D3D_OK;
}

void TnsD3DDevice::setDefaultStates()
{
    std::fill(std::begin(m_rs), std::end(m_rs), 0);
    m_rs[D3DRS_FILLMODE] = 3;
    m_rs[D3DRS_SHADEMODE] = 2;
    m_rs[D3DRS_LASTPIXEL] = TRUE;
    m_rs[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    m_rs[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    m_rs[D3DRS_CULLMODE] = D3DCULL_CCW;
    m_rs[D3DRS_ZFUNC] = 4;
    m_rs[D3DRS_ALPHAFUNC] = 8;
    m_rs[D3DRS_FOGEND] = asDword(1.0f);
    m_rs[D3DRS_FOGDENSITY] = asDword(1.0f);
    m_rs[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFFu;
    m_rs[D3DRS_LIGHTING] = TRUE;
    m_rs[D3DRS_COLORVERTEX] = TRUE;
    for (DWORD s = 0; s < kTnsMaxTextureStages; ++s) {
        DWORD* t = m_tss[s];
        std::fill(t, t + kTnsStageStateCount, 0);
        t[D3DTSS_COLOROP] = s == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        t[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        t[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        t[D3DTSS_ALPHAOP] = s == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        t[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        t[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        t[D3DTSS_TEXCOORDINDEX] = s;
        t[D3DTSS_ADDRESSU] = t[D3DTSS_ADDRESSV] = t[D3DTSS_ADDRESSW] = D3DTADDRESS_WRAP;
        t[D3DTSS_MAGFILTER] = t[D3DTSS_MINFILTER] = D3DTEXF_POINT;
        t[D3DTSS_MIPFILTER] = D3DTEXF_NONE;
        t[D3DTSS_MAXANISOTROPY] = 1;
    }
    for (int c = 0; c < 256; ++c) {
        m_gamma.red[c] = m_gamma.green[c] = m_gamma.blue[c] = WORD(c * 257);
        m_lut[0][c] = m_lut[1][c] = m_lut[2][c] = uint8_t(c);
    }
    m_gammaIdentity = true;
    m_fvf = 0;
    m_inScene = false;
}

void TnsD3DDevice::releaseBindings()
{
    for (auto& t : m_textures) {
        if (t) t->Release();
        t = nullptr;
    }
    if (m_stream) m_stream->Release();
    if (m_indices) m_indices->Release();
    m_stream = nullptr;
    m_indices = nullptr;
}

HRESULT TnsD3DDevice::TestCooperativeLevel()
{
    switch (updateCoop()) {
    case Coop::Lost: return D3DERR_DEVICELOST;
    case Coop::NotReset: return D3DERR_DEVICENOTRESET;
    default: return D3D_OK;
    }
}

HRESULT TnsD3DDevice::Reset(D3DPRESENT_PARAMETERS* params)
{
    if (!params) return D3DERR_INVALIDCALL;
    if (updateCoop() == Coop::Lost) return D3DERR_DEVICELOST;
    // Default-pool resources live in video memory that a reset gives up.
    if (m_defaultPoolResources > 0) return D3DERR_INVALIDCALL;
    releaseBindings();
    return Configure(*params);
}

HRESULT TnsD3DDevice::GetDeviceCaps(D3DCAPS8* caps)
{
    if (!caps) return D3DERR_INVALIDCALL;
    TnsFillDeviceCaps(caps);
    return D3D_OK;
}

// ---------------------------------------------------------------- scene

HRESULT TnsD3DDevice::BeginScene()
{
    if (m_inScene) return D3DERR_INVALIDCALL;
    m_inScene = true;
    return D3D_OK;
}

HRESULT TnsD3DDevice::EndScene()
{
    if (!m_inScene) return D3DERR_INVALIDCALL;
    m_inScene = false;
    return D3D_OK;
}

HRESULT TnsD3DDevice::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float, DWORD)
{
    if (flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) return D3DERR_INVALIDCALL;
    if (count > 0 && !rects) return D3DERR_INVALIDCALL;
    if (!(flags & D3DCLEAR_TARGET) || m_coop != Coop::Ok) return D3D_OK;
    m_target.pixels = backPixels();
    const tns::raster::Rect vp{int(m_viewport.X), int(m_viewport.Y), int(m_viewport.X + m_viewport.Width),
                               int(m_viewport.Y + m_viewport.Height)};
    if (count == 0) {
        tns::raster::Clear(m_target, vp, color);
        return D3D_OK;
    }
    for (DWORD i = 0; i < count; ++i) {
        tns::raster::Rect r{std::max(int(rects[i].x1), vp.x0), std::max(int(rects[i].y1), vp.y0),
                            std::min(int(rects[i].x2), vp.x1), std::min(int(rects[i].y2), vp.y1)};
        tns::raster::Clear(m_target, r, color);
    }
    return D3D_OK;
}

HRESULT TnsD3DDevice::Present(const RECT*, const RECT*, HWND, const void*)
{
    if (updateCoop() != Coop::Ok) return D3DERR_DEVICELOST;
    if (m_params.SwapEffect == D3DSWAPEFFECT_COPY || m_params.SwapEffect == D3DSWAPEFFECT_COPY_VSYNC) {
        std::copy(m_buffers[m_back].begin(), m_buffers[m_back].end(), m_buffers[1 - m_back].begin());
    } else {
        m_back = 1 - m_back;
    }
    if (m_presenter) {
        const bool gamma = !m_gammaIdentity;
        m_presenter->show(frontPixels(), m_target.pitch, gamma ? m_lut[0] : nullptr, gamma ? m_lut[1] : nullptr,
                          gamma ? m_lut[2] : nullptr);
        // Every present keeps to the display's refresh, a window's as well as
        // full screen's default interval: drawing faster than the display shows
        // only burns a core. An immediate full-screen interval does not wait.
        if (m_params.Windowed || m_params.FullScreen_PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE)
            m_presenter->waitForRetrace();
    }
    return D3D_OK;
}

HRESULT TnsD3DDevice::SetViewport(const D3DVIEWPORT8* vp)
{
    if (!vp) return D3DERR_INVALIDCALL;
    const uint64_t right = uint64_t(vp->X) + vp->Width, bottom = uint64_t(vp->Y) + vp->Height;
    // An empty viewport draws nothing wherever it sits; others must fit the buffer.
    const bool empty = vp->Width == 0 || vp->Height == 0;
    if (!empty && (right > m_params.BackBufferWidth || bottom > m_params.BackBufferHeight)) return D3DERR_INVALIDCALL;
    if (!(vp->MinZ >= 0.0f && vp->MaxZ <= 1.0f && vp->MinZ <= vp->MaxZ)) return D3DERR_INVALIDCALL;
    m_viewport = *vp;
    return D3D_OK;
}

HRESULT TnsD3DDevice::GetViewport(D3DVIEWPORT8* vp)
{
    if (!vp) return D3DERR_INVALIDCALL;
    *vp = m_viewport;
    return D3D_OK;
}

void TnsD3DDevice::SetGammaRamp(DWORD, const D3DGAMMARAMP* ramp)
{
    if (!ramp) return;
    m_gamma = *ramp;
    m_gammaIdentity = true;
    for (int c = 0; c < 256; ++c) {
        m_lut[0][c] = uint8_t(ramp->red[c] >> 8);
        m_lut[1][c] = uint8_t(ramp->green[c] >> 8);
        m_lut[2][c] = uint8_t(ramp->blue[c] >> 8);
        m_gammaIdentity &= m_lut[0][c] == c && m_lut[1][c] == c && m_lut[2][c] == c;
    }
}

void TnsD3DDevice::GetGammaRamp(D3DGAMMARAMP* ramp)
{
    if (ramp) *ramp = m_gamma;
}

// ---------------------------------------------------------------- resources

HRESULT TnsD3DDevice::CreateImageSurface(UINT width, UINT height, D3DFORMAT format, IDirect3DSurface8** surface)
{
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = TnsSurface::Create(this, width, height, format);
    return *surface ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT TnsD3DDevice::GetFrontBuffer(IDirect3DSurface8* dest)
{
    auto* s = dynamic_cast<TnsSurface*>(dest);
    if (!s) return D3DERR_INVALIDCALL;
    return s->Fill(frontPixels(), m_params.BackBufferWidth, m_params.BackBufferHeight, UINT(m_target.pitch))
               ? D3D_OK
               : D3DERR_INVALIDCALL;
}

HRESULT TnsD3DDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                    D3DPOOL pool, IDirect3DTexture8** texture)
{
    if (!texture || (usage & (D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL))) return D3DERR_INVALIDCALL;
    *texture = TnsTexture::Create(this, width, height, levels, format, pool);
    return *texture ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT TnsD3DDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                         IDirect3DVertexBuffer8** buffer)
{
    if (!buffer) return D3DERR_INVALIDCALL;
    *buffer = TnsVertexBuffer::Create(this, length, usage, pool, fvf);
    return *buffer ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT TnsD3DDevice::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                        IDirect3DIndexBuffer8** buffer)
{
    if (!buffer || format != D3DFMT_INDEX16) return D3DERR_INVALIDCALL;
    *buffer = TnsIndexBuffer::Create(this, length, usage, pool, format);
    return *buffer ? D3D_OK : D3DERR_INVALIDCALL;
}

// Bindings hold a reference to what they bind.
template <class T>
static void rebind(T*& slot, T* object)
{
    if (object) object->AddRef();
    if (slot) slot->Release();
    slot = object;
}

HRESULT TnsD3DDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride)
{
    if (stream != 0) return D3DERR_INVALIDCALL;
    auto* vb = dynamic_cast<TnsVertexBuffer*>(buffer);
    if (buffer && !vb) return D3DERR_INVALIDCALL;
    rebind(m_stream, vb);
    m_stride = stride;
    return D3D_OK;
}

HRESULT TnsD3DDevice::SetIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex)
{
    auto* ib = dynamic_cast<TnsIndexBuffer*>(buffer);
    if (buffer && !ib) return D3DERR_INVALIDCALL;
    rebind(m_indices, ib);
    m_baseVertex = baseVertexIndex;
    return D3D_OK;
}

HRESULT TnsD3DDevice::SetVertexShader(DWORD handle)
{
    m_fvf = handle;
    return D3D_OK;
}

HRESULT TnsD3DDevice::SetTexture(DWORD stage, IDirect3DBaseTexture8* texture)
{
    if (stage >= kTnsMaxTextureStages) return D3DERR_INVALIDCALL;
    auto* t = dynamic_cast<TnsTexture*>(texture);
    if (texture && !t) return D3DERR_INVALIDCALL;
    rebind(m_textures[stage], t);
    return D3D_OK;
}

HRESULT TnsD3DDevice::GetTexture(DWORD stage, IDirect3DBaseTexture8** texture)
{
    if (stage >= kTnsMaxTextureStages || !texture) return D3DERR_INVALIDCALL;
    *texture = m_textures[stage];
    if (*texture) (*texture)->AddRef();
    return D3D_OK;
}

// ---------------------------------------------------------------- states

HRESULT TnsD3DDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value)
{
    if (state >= kTnsRenderStateCount) return D3DERR_INVALIDCALL;
    m_rs[state] = value;
    return D3D_OK;
}

HRESULT TnsD3DDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value)
{
    if (state >= kTnsRenderStateCount || !value) return D3DERR_INVALIDCALL;
    *value = m_rs[state];
    return D3D_OK;
}

HRESULT TnsD3DDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value)
{
    if (stage >= kTnsMaxTextureStages || type >= kTnsStageStateCount) return D3DERR_INVALIDCALL;
    m_tss[stage][type] = value;
    return D3D_OK;
}

HRESULT TnsD3DDevice::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value)
{
    if (stage >= kTnsMaxTextureStages || type >= kTnsStageStateCount || !value) return D3DERR_INVALIDCALL;
    *value = m_tss[stage][type];
    return D3D_OK;
}

BOOL TnsD3DDevice::ShowCursor(BOOL show)
{
    // The device draws no cursor of its own; only the setting is kept.
    BOOL previous = m_cursorShown ? TRUE : FALSE;
    m_cursorShown = show != FALSE;
    return previous;
}

// ---------------------------------------------------------------- drawing

// The rasterizer takes the device's states unchanged: its values are these.
namespace rs = tns::raster;
static_assert(rs::kTopDisable == D3DTOP_DISABLE && rs::kTopSelect1 == D3DTOP_SELECTARG1 &&
              rs::kTopSelect2 == D3DTOP_SELECTARG2 && rs::kTopModulate == D3DTOP_MODULATE &&
              rs::kTopModulate2x == D3DTOP_MODULATE2X && rs::kTopModulate4x == D3DTOP_MODULATE4X &&
              rs::kTopAdd == D3DTOP_ADD && rs::kTopAddSigned == D3DTOP_ADDSIGNED &&
              rs::kTopSubtract == D3DTOP_SUBTRACT && rs::kTopDot3 == D3DTOP_DOTPRODUCT3);
static_assert(rs::kTaDiffuse == D3DTA_DIFFUSE && rs::kTaCurrent == D3DTA_CURRENT && rs::kTaTexture == D3DTA_TEXTURE &&
              rs::kTaTFactor == D3DTA_TFACTOR && rs::kTaSpecular == D3DTA_SPECULAR);
static_assert(rs::kAddrWrap == D3DTADDRESS_WRAP && rs::kAddrMirror == D3DTADDRESS_MIRROR &&
              rs::kAddrClamp == D3DTADDRESS_CLAMP && rs::kAddrBorder == D3DTADDRESS_BORDER);
static_assert(rs::kFilterNone == D3DTEXF_NONE && rs::kFilterPoint == D3DTEXF_POINT &&
              rs::kFilterLinear == D3DTEXF_LINEAR);
static_assert(rs::kBlendZero == D3DBLEND_ZERO && rs::kBlendOne == D3DBLEND_ONE &&
              rs::kBlendSrcColor == D3DBLEND_SRCCOLOR && rs::kBlendInvSrcColor == D3DBLEND_INVSRCCOLOR &&
              rs::kBlendSrcAlpha == D3DBLEND_SRCALPHA && rs::kBlendInvSrcAlpha == D3DBLEND_INVSRCALPHA &&
              rs::kBlendDestAlpha == D3DBLEND_DESTALPHA && rs::kBlendInvDestAlpha == D3DBLEND_INVDESTALPHA &&
              rs::kBlendDestColor == D3DBLEND_DESTCOLOR && rs::kBlendInvDestColor == D3DBLEND_INVDESTCOLOR &&
              rs::kBlendSrcAlphaSat == D3DBLEND_SRCALPHASAT);
static_assert(rs::kCullNone == D3DCULL_NONE && rs::kCullCW == D3DCULL_CW && rs::kCullCCW == D3DCULL_CCW);

void TnsD3DDevice::buildRasterState(tns::raster::State& st) const
{
    st.blend = m_rs[D3DRS_ALPHABLENDENABLE] != 0;
    st.srcBlend = m_rs[D3DRS_SRCBLEND];
    st.destBlend = m_rs[D3DRS_DESTBLEND];
    // Pre-transformed vertices carry their fog factor: vertex fog applies when
    // no table fog is chosen.
    st.fog = m_rs[D3DRS_FOGENABLE] != 0 && m_rs[D3DRS_FOGTABLEMODE] == D3DFOG_NONE;
    st.fogColor = m_rs[D3DRS_FOGCOLOR];
    st.specularAdd = m_rs[D3DRS_SPECULARENABLE] != 0;
    st.textureFactor = m_rs[D3DRS_TEXTUREFACTOR];
    st.cullMode = m_rs[D3DRS_CULLMODE];
    for (int s = 0; s < 2; ++s) {
        const DWORD* t = m_tss[s];
        tns::raster::Stage& g = st.stages[s];
        g.colorOp = t[D3DTSS_COLOROP];
        g.colorArg1 = t[D3DTSS_COLORARG1];
        g.colorArg2 = t[D3DTSS_COLORARG2];
        g.alphaOp = t[D3DTSS_ALPHAOP];
        g.alphaArg1 = t[D3DTSS_ALPHAARG1];
        g.alphaArg2 = t[D3DTSS_ALPHAARG2];
        g.addressU = t[D3DTSS_ADDRESSU];
        g.addressV = t[D3DTSS_ADDRESSV];
        g.magFilter = t[D3DTSS_MAGFILTER];
        g.minFilter = t[D3DTSS_MINFILTER];
        g.mipFilter = t[D3DTSS_MIPFILTER];
        g.texCoordIndex = t[D3DTSS_TEXCOORDINDEX] & 1;
        g.texture = m_textures[s] ? &m_textures[s]->Raster() : nullptr;
    }
    st.clip = tns::raster::Rect{int(m_viewport.X), int(m_viewport.Y), int(m_viewport.X + m_viewport.Width),
                                int(m_viewport.Y + m_viewport.Height)};
}

HRESULT TnsD3DDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT, UINT numVertices, UINT startIndex,
                                           UINT primCount)
{
    m_draws = TnsDrawStats{m_draws.calls + 1, numVertices, startIndex, primCount};
    if (type != D3DPT_TRIANGLELIST || !m_inScene || !m_stream || !m_indices) return D3DERR_INVALIDCALL;
    if (m_fvf != kQuadFVF || m_stride != kQuadStride) return D3DERR_INVALIDCALL;
    const uint64_t indexCount = m_indices->Length() / 2;
    if (uint64_t(startIndex) + uint64_t(primCount) * 3 > indexCount) return D3DERR_INVALIDCALL;
    if (m_coop != Coop::Ok || primCount == 0) return D3D_OK;
    const uint32_t vertexCount = m_stream->Length() / kQuadStride;
    if (m_baseVertex >= vertexCount) return D3DERR_INVALIDCALL;
    tns::raster::State st;
    buildRasterState(st);
    m_target.pixels = backPixels();
    const auto* vertices = reinterpret_cast<const tns::raster::Vertex*>(m_stream->Data()) + m_baseVertex;
    const auto* indices = reinterpret_cast<const uint16_t*>(m_indices->Data()) + startIndex;
    tns::raster::DrawIndexedTriangles(m_target, st, vertices, vertexCount - m_baseVertex, indices, primCount);
    return D3D_OK;
}

TnsDrawStats TNS_D3D8DrawStats(IDirect3DDevice8* device)
{
    return static_cast<TnsD3DDevice*>(device)->drawStats();
}
