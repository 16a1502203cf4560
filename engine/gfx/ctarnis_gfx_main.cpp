// Graphics subsystem start and end: the Direct3D object and the adapter survey,
// the window and the device, the quad buffers and the graphics managers, the
// per-frame lost-device check and the reset.
#include <cstring>
#include <new>
#include <string>

#include "engine/core/ctarnis.h"
#include "engine/core/tns_window.h"

namespace {

constexpr int32_t kFileID = EHS_FILE_GFX_MAIN;
constexpr UINT kQuadVBBytes = 80000; // 2000 vertices = 500 quads
constexpr UINT kQuadIBBytes = 6000;  // 3000 16-bit indices

using T = CTarnis;

void logLine(const std::string& text)
{
    T::LOG_AddEntry(text);
}

// Each class takes the first candidate the adapter supports in the mode's format.
void chooseTextureFormats(IDirect3D8* d3d, TRSDISPLAYMODE& mode)
{
    static constexpr D3DFORMAT kClass1[] = {D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5, D3DFMT_X4R4G4B4,
                                            D3DFMT_A4R4G4B4};
    static constexpr D3DFORMAT kClass2[] = {D3DFMT_A4R4G4B4, D3DFMT_A1R5G5B5, D3DFMT_A8R3G3B2};
    static constexpr D3DFORMAT kClass3[] = {D3DFMT_A8R8G8B8, D3DFMT_A4R4G4B4};
    static constexpr D3DFORMAT kClass4[] = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_X4R4G4B4, D3DFMT_A4R4G4B4};
    auto pick = [&](const auto& candidates) {
        if (mode.Format == D3DFMT_UNKNOWN) return D3DFMT_UNKNOWN;
        for (D3DFORMAT f : candidates) {
            if (SUCCEEDED(d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, mode.Format, 0, D3DRTYPE_TEXTURE, f))) return f;
        }
        return D3DFMT_UNKNOWN;
    };
    mode.TextureFormat01 = pick(kClass1);
    mode.TextureFormat02 = pick(kClass2);
    mode.TextureFormat03 = pick(kClass3);
    mode.TextureFormat04 = pick(kClass4);
}

void logMode(const char* title, const TRSDISPLAYMODE& m)
{
    logLine(title);
    logLine("          Display Mode:");
    logLine(std::string("               Surface format: ") + T::GFX_GetFormatName(m.Format));
    logLine("                        Width: " + std::to_string(m.Width));
    logLine("                       Height: " + std::to_string(m.Height));
    logLine("                 Refresh Rate: " + std::to_string(m.RefreshRate));
    logLine("          Texture Formats:");
    logLine(std::string("               TextureFormat01: ") + T::GFX_GetFormatName(m.TextureFormat01));
    logLine(std::string("               TextureFormat02: ") + T::GFX_GetFormatName(m.TextureFormat02));
    logLine(std::string("               TextureFormat03: ") + T::GFX_GetFormatName(m.TextureFormat03));
    logLine(std::string("               TextureFormat04: ") + T::GFX_GetFormatName(m.TextureFormat04));
}

void logAvailable(bool on, const char* subject, const char* yes, const char* no)
{
    logLine(std::string(subject) + (on ? yes : no));
}

void surveyAdapter(IDirect3D8* d3d, TRSVIDEOCARDCAPS& caps, int32_t width, int32_t height)
{
    T::LOG_AddLevelEntry("Getting videoadapter capabilities...", kLogItem);
    D3DADAPTER_IDENTIFIER8 id{};
    if (FAILED(d3d->GetAdapterIdentifier(0, D3DENUM_NO_WHQL_LEVEL, &id)))
        EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot get videoadapter identifier");
    id.Description[sizeof(id.Description) - 1] = '\0';
    logLine(std::string("     Videocard: ") + id.Description);
    logLine("       VendorID: " + std::to_string(id.VendorId));
    logLine("       DeviceID: " + std::to_string(id.DeviceId));
    caps.Rating = T::GFX_RateAdapter(id.VendorId, id.DeviceId);
    logLine(caps.Rating == 0 ? std::string("       Rating: Unknown") : "       Rating: " + std::to_string(caps.Rating));
    T::LOG_AddEmptyLines(1);

    T::LOG_AddLevelEntry("Enumerating videomodes...", kLogStep);
    caps.Mode1 = caps.Mode2 = caps.Mode3 = TRSDISPLAYMODE{};
    D3DDISPLAYMODE dm{};
    if (SUCCEEDED(d3d->GetAdapterDisplayMode(0, &dm)))
        caps.Mode3 = TRSDISPLAYMODE{dm.Width, dm.Height, dm.RefreshRate, dm.Format, {}, {}, {}, {}, false};
    bool found1 = false, found2 = false;
    // The count is asked again every step, as the adapter may change it.
    for (UINT i = 0; i < d3d->GetAdapterModeCount(0); ++i) {
        if (FAILED(d3d->EnumAdapterModes(0, i, &dm))) continue;
        if (dm.Width != UINT(width) || dm.Height != UINT(height)) continue;
        TRSDISPLAYMODE m{dm.Width, dm.Height, dm.RefreshRate, dm.Format, {}, {}, {}, {}, false};
        if (!found1 && (dm.Format == D3DFMT_R5G6B5 || dm.Format == D3DFMT_X1R5G5B5)) {
            caps.Mode1 = m;
            found1 = true;
        } else if (!found2 && (dm.Format == D3DFMT_X8R8G8B8 || dm.Format == D3DFMT_A8R8G8B8)) {
            caps.Mode2 = m;
            found2 = true;
        }
    }
    T::LOG_AddLevelEntry("Done.", kLogDone);

    T::LOG_AddLevelEntry("Enumerating texture formats...", kLogStep);
    chooseTextureFormats(d3d, caps.Mode1);
    chooseTextureFormats(d3d, caps.Mode2);
    chooseTextureFormats(d3d, caps.Mode3);
    T::LOG_AddLevelEntry("Done.", kLogDone);
    T::LOG_AddEmptyLines(1);

    logMode("     Mode1:", caps.Mode1);
    T::LOG_AddEmptyLines(1);
    logMode("     Mode2:", caps.Mode2);
    T::LOG_AddEmptyLines(1);
    logMode("     Mode3:", caps.Mode3);
    T::LOG_AddEmptyLines(2);

    TRSDISPLAYMODE* modes[3] = {&caps.Mode1, &caps.Mode2, &caps.Mode3};
    for (int i = 0; i < 3; ++i) {
        TRSDISPLAYMODE& m = *modes[i];
        m.valid = m.Format && m.TextureFormat01 && m.TextureFormat02 && m.TextureFormat03 && m.TextureFormat04;
        if (m.valid) logLine("          Display Mode " + std::to_string(i + 1) + " is valid.");
    }
    T::LOG_AddEmptyLines(2);

    D3DCAPS8 dc{};
    d3d->GetDeviceCaps(0, D3DDEVTYPE_HAL, &dc);
    caps.CanRenderWindowed = (dc.Caps2 & D3DCAPS2_CANRENDERWINDOWED) && uint32_t(width) < caps.Mode3.Width &&
                             uint32_t(height) < caps.Mode3.Height && caps.Mode3.Format != D3DFMT_P8 &&
                             caps.Mode3.Format != D3DFMT_A8P8;
    logLine(caps.CanRenderWindowed ? "          Device can render in windowed mode"
                                   : "          Device cannot render in windowed mode");
    T::LOG_AddEmptyLines(2);

    caps.MaxTextureWidth = dc.MaxTextureWidth;
    caps.MaxTextureHeight = dc.MaxTextureHeight;
    caps.MaxTextureBlendStages = dc.MaxTextureBlendStages;
    caps.MaxSimultaneousTextures = dc.MaxSimultaneousTextures;
    logLine("     MaxTextureWidth         = " + std::to_string(caps.MaxTextureWidth));
    logLine("     MaxTextureHeight        = " + std::to_string(caps.MaxTextureHeight));
    logLine("     MaxTextureBlendStages   = " + std::to_string(caps.MaxTextureBlendStages));
    logLine("     MaxSimultaneousTextures = " + std::to_string(caps.MaxSimultaneousTextures));
    T::LOG_AddEmptyLines(2);

    caps.VertexFog = (dc.RasterCaps & D3DPRASTERCAPS_FOGVERTEX) != 0;
    caps.MipMapping = (dc.TextureCaps & D3DPTEXTURECAPS_MIPMAP) != 0;
    caps.Dot3 = (dc.TextureOpCaps & D3DTEXOPCAPS_DOTPRODUCT3) != 0;
    logAvailable(caps.VertexFog, "     Vertex Fog is", " available.", " not available.");
    logAvailable(caps.MipMapping, "     MipMapping is", " available.", " not available.");
    logAvailable(caps.Dot3, "     Dot3 Bump Mapping is", " available.", " not available.");
    T::LOG_AddEmptyLines(2);

    caps.AddressClamp = (dc.TextureAddressCaps & D3DPTADDRESSCAPS_CLAMP) != 0;
    caps.AddressWrap = (dc.TextureAddressCaps & D3DPTADDRESSCAPS_WRAP) != 0;
    logAvailable(caps.AddressClamp, "     Texture addr. mode: Clamp is", " available.", " not available.");
    logAvailable(caps.AddressWrap, "     Texture addr. mode: Wrap is", " available.", " not available.");
    T::LOG_AddEmptyLines(2);

    caps.FullScreenGamma = (dc.Caps2 & D3DCAPS2_FULLSCREENGAMMA) != 0;
    caps.CalibrateGamma = (dc.Caps2 & D3DCAPS2_CANCALIBRATEGAMMA) != 0;
    logAvailable(caps.FullScreenGamma, "     Dynamic gamma adjusting in full screen is", " supported.",
                 " not supported.");
    logAvailable(caps.CalibrateGamma, "     Gamma calibrating is", " supported.", " not supported.");
}

// Creates one manager with the log lines every manager gets.
template <class Manager>
Manager* createManager(const char* title, const char* failure, bool last)
{
    T::LOG_AddLevelEntry(title, kLogStep);
    Manager* m = new (std::nothrow) Manager;
    if (!m) EHS_THROW(EHS_TYPE_GENERAL, 0, failure);
    T::LOG_AddEmptyLines(1);
    T::LOG_AddLevelEntry("Done.", kLogDone);
    if (!last) T::LOG_AddEmptyLines(1);
    return m;
}

template <class Manager>
void destroyManager(Manager*& m, const char* title)
{
    T::LOG_AddLevelEntry(title, kLogStep);
    if (!m) {
        T::LOG_AddLevelEntry("Failed.", kLogDone);
        return;
    }
    m->FreeAll();
    delete m;
    m = nullptr;
    T::LOG_AddLevelEntry("Done.", kLogDone);
}

} // namespace

const char* CTarnis::GFX_GetFormatName(D3DFORMAT format)
{
    static constexpr struct {
        D3DFORMAT format;
        const char* name;
    } kNames[] = {
        {D3DFMT_UNKNOWN, "D3DFMT_UNKNOWN"},         {D3DFMT_R8G8B8, "D3DFMT_R8G8B8"},
        {D3DFMT_A8R8G8B8, "D3DFMT_A8R8G8B8"},       {D3DFMT_X8R8G8B8, "D3DFMT_X8R8G8B8"},
        {D3DFMT_R5G6B5, "D3DFMT_R5G6B5"},           {D3DFMT_X1R5G5B5, "D3DFMT_X1R5G5B5"},
        {D3DFMT_A1R5G5B5, "D3DFMT_A1R5G5B5"},       {D3DFMT_A4R4G4B4, "D3DFMT_A4R4G4B4"},
        {D3DFMT_R3G3B2, "D3DFMT_R3G3B2"},           {D3DFMT_A8, "D3DFMT_A8"},
        {D3DFMT_A8R3G3B2, "D3DFMT_A8R3G3B2"},       {D3DFMT_X4R4G4B4, "D3DFMT_X4R4G4B4"},
        {D3DFMT_A8P8, "D3DFMT_A8P8"},               {D3DFMT_P8, "D3DFMT_P8"},
        {D3DFMT_L8, "D3DFMT_L8"},                   {D3DFMT_A8L8, "D3DFMT_A8L8"},
        {D3DFMT_A4L4, "D3DFMT_A4L4"},               {D3DFMT_V8U8, "D3DFMT_V8U8"},
        {D3DFMT_L6V5U5, "D3DFMT_L6V5U5"},           {D3DFMT_X8L8V8U8, "D3DFMT_X8L8V8U8"},
        {D3DFMT_Q8W8V8U8, "D3DFMT_Q8W8V8U8"},       {D3DFMT_V16U16, "D3DFMT_V16U16"},
        {D3DFMT_W11V11U10, "D3DFMT_W11V11U10"},     {D3DFMT_D16_LOCKABLE, "D3DFMT_D16_LOCKABLE"},
        {D3DFMT_D32, "D3DFMT_D32"},                 {D3DFMT_D15S1, "D3DFMT_D15S1"},
        {D3DFMT_D24S8, "D3DFMT_D24S8"},             {D3DFMT_D24X8, "D3DFMT_D24X8"},
        {D3DFMT_D24X4S4, "D3DFMT_D24X4S4"},         {D3DFMT_D16, "D3DFMT_D16"},
        {D3DFMT_VERTEXDATA, "D3DFMT_VERTEXDATA"},   {D3DFMT_INDEX16, "D3DFMT_INDEX16"},
        {D3DFMT_INDEX32, "D3DFMT_INDEX32"},
    };
    for (const auto& n : kNames)
        if (n.format == format) return n.name;
    return "Unknown format!";
}

void CTarnis::GFX_Preinit(int32_t width, int32_t height)
{
    EHS_CHECKPOINT(kFileID);
    LOG_AddSeparator(kSeparatorDash);
    LOG_AddLevelEntry("Preinitializing Graphics Subsystem...", kLogSection);
    m_bGraphicsCreated = true;
    m_iRequestedWidth = width;
    m_iRequestedHeight = height;
    m_pD3D = Direct3DCreate8(D3D_SDK_VERSION);
    if (!m_pD3D) EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot create Direct3D object!");
    LOG_AddLevelEntry("Direct3D object created.", kLogDone);
    surveyAdapter(m_pD3D, m_VideoCardCaps, width, height);
    LOG_AddSeparator(kSeparatorDash);
    LOG_AddEmptyLines(1);
}

void CTarnis::GFX_GetVideoCardCaps(TRSVIDEOCARDCAPS* caps) const
{
    EHS_CHECKPOINT(kFileID);
    if (!m_bGraphicsCreated)
        EHS_THROW(EHS_TYPE_GAME, 0, "Cannot provide videocard caps - GFX system was not initialized!");
    if (caps) *caps = m_VideoCardCaps;
}

void CTarnis::GFX_GetResolution(int32_t* width, int32_t* height) const
{
    int32_t w = 0, h = 0;
    if (m_iDisplayMode == kDisplayModeDesktop && !m_bWindowed) {
        w = int32_t(m_VideoCardCaps.Mode3.Width);
        h = int32_t(m_VideoCardCaps.Mode3.Height);
    } else {
        // Display modes 1 and 2 and windowed rendering use the requested size.
        w = m_iRequestedWidth;
        h = m_iRequestedHeight;
    }
    if (width) *width = w;
    if (height) *height = h;
}

void CTarnis::GFX_Init(int32_t displayMode, bool windowed)
{
    EHS_CHECKPOINT(kFileID);
    LOG_AddSeparator(kSeparatorDash);
    LOG_AddLevelEntry("Initializing Graphics Subsystem...", kLogSection);
    if (!m_pD3D) EHS_THROW(EHS_TYPE_GENERAL, 0, "Direct3D object was not created!");
    if (windowed) {
        if (!m_VideoCardCaps.CanRenderWindowed) EHS_THROW(EHS_TYPE_GAME, 0, "Cannot switch to windowed rendering.");
        if (displayMode == kDisplayMode16Bit || displayMode == kDisplayMode32Bit)
            EHS_THROW(EHS_TYPE_GAME, 0, "Wrong combination of display mode params.");
    }
    const TRSDISPLAYMODE* modes[3] = {&m_VideoCardCaps.Mode1, &m_VideoCardCaps.Mode2, &m_VideoCardCaps.Mode3};
    // Only modes 1 to 3 exist; anything else would index past the survey.
    if (displayMode < kDisplayMode16Bit || displayMode > kDisplayModeDesktop)
        EHS_THROW(EHS_TYPE_GAME, 0, "Wrong combination of display mode params.");
    const TRSDISPLAYMODE& mode = *modes[displayMode - kDisplayMode16Bit];
    m_iDisplayMode = displayMode;
    m_bWindowed = windowed;

    LOG_AddEmptyLines(1);
    LOG_AddLevelEntry("Creating window...", kLogStep);
    int32_t width = 0, height = 0;
    GFX_GetResolution(&width, &height);
    CreateGameWindow(&m_hGameWindow, width, height, windowed);
    SYS_ProcessMessages();
    LOG_AddLevelEntry("Done.", kLogDone);
    LOG_AddEmptyLines(1);

    m_PresentParams = D3DPRESENT_PARAMETERS{};
    m_PresentParams.BackBufferWidth = UINT(width);
    m_PresentParams.BackBufferHeight = UINT(height);
    m_PresentParams.BackBufferFormat = mode.Format;
    m_PresentParams.BackBufferCount = 1;
    m_PresentParams.MultiSampleType = D3DMULTISAMPLE_NONE;
    m_PresentParams.SwapEffect = windowed ? D3DSWAPEFFECT_COPY : D3DSWAPEFFECT_FLIP;
    m_PresentParams.hDeviceWindow = m_hGameWindow;
    m_PresentParams.Windowed = windowed ? TRUE : FALSE;
    m_PresentParams.EnableAutoDepthStencil = FALSE;
    m_PresentParams.Flags = 0;
    m_PresentParams.FullScreen_RefreshRateInHz = 0;
    m_PresentParams.FullScreen_PresentationInterval = 0;
    LOG_AddEmptyLines(1);

    LOG_AddLevelEntry("Creating D3DDevice...", kLogStep);
    HRESULT hr = m_pD3D->CreateDevice(0, D3DDEVTYPE_HAL, m_hGameWindow, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                      &m_PresentParams, &m_pD3DDevice);
    if (FAILED(hr) || !m_pD3DDevice) EHS_THROW(EHS_TYPE_GENERAL, hr, "Cannot create D3DDevice!");
    LOG_AddLevelEntry("Done.", kLogDone);
    LOG_AddEmptyLines(1);

    hr = m_pD3DDevice->CreateIndexBuffer(kQuadIBBytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED,
                                         &m_pQuadIB);
    if (FAILED(hr) || !m_pQuadIB) EHS_THROW(EHS_TYPE_GENERAL, hr, "Cannot create Index Buffer!");
    GFX_VQuadFillIndexBuffer();

    LOG_AddSeparator(kSeparatorDash);
    LOG_AddEmptyLines(1);
    GFX_SetupDevice();
    LOG_AddEmptyLines(1);

    m_pTexturesManager = createManager<TItemsManagerCOM<IDirect3DTexture8>>(
        "Creating Textures Manager...", "Cannot create Textures Manager!", false);
    m_pLightsManager = createManager<TItemsManager<TRSLIGHT>>("Creating Lights Manager...",
                                                              "Cannot create Lights Manager!", false);
    m_pTechniquesManager = createManager<TItemsManager<TRSTECHNIQUE>>("Creating Techniques Manager...",
                                                                      "Cannot create Techniques Manager!", false);
    m_pFontsManager =
        createManager<TItemsManager<TRSFONT>>("Creating Fonts Manager...", "Cannot create Fonts Manager!", true);
    m_bGraphicsDeviceReady = true;
}

void CTarnis::GFX_SetupDevice()
{
    EHS_CHECKPOINT(kFileID);
    m_pD3DDevice->SetVertexShader(TRS_QUADFVF);
    m_pD3DDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
    m_pD3DDevice->ShowCursor(FALSE);
    for (TRSQUADVERTEX& v : m_QuadVertices) v.z = v.rhw = 0.5f;
    m_iDynLightMode = 0;
    m_fAmbientR = m_fAmbientG = m_fAmbientB = 0.0f;
    m_fAmbientA = 1.0f;
    for (int32_t& t : m_iCurrentTexture) t = -1;
    HRESULT hr = m_pD3DDevice->CreateVertexBuffer(kQuadVBBytes, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, TRS_QUADFVF,
                                                  D3DPOOL_DEFAULT, &m_pQuadVB);
    if (FAILED(hr) || !m_pQuadVB) EHS_THROW(EHS_TYPE_GAME, 0, "Cannot create Vertex Buffer!");
    m_pQuadLocked = nullptr;
    m_iQuadsInBatch = 0;
    m_iCurrentTechnique = -1;
    m_iCurrentFont = -1;
    if (FAILED(m_pD3DDevice->SetIndices(m_pQuadIB, 0)))
        EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot process index buffer!");
}

bool CTarnis::GFX_DeviceExists() const
{
    return m_pD3DDevice != nullptr;
}

bool CTarnis::GFX_CheckDevice()
{
    EHS_CHECKPOINT(kFileID);
    HRESULT hr = m_pD3DDevice->TestCooperativeLevel();
    if (hr == D3DERR_DEVICELOST) {
        LOG_AddLevelEntry("Device is lost and currently cannot be restored.", kLogDone);
        return false;
    }
    if (hr == D3DERR_DEVICENOTRESET) {
        LOG_AddLevelEntry("D3DDevice is lost. Trying to reset...", kLogStep);
        // The vertex buffer lives in the default pool, which a reset gives up;
        // no batch may point into it afterwards.
        if (m_pQuadVB) m_pQuadVB->Release();
        m_pQuadVB = nullptr;
        m_pQuadLocked = nullptr;
        m_iQuadsInBatch = 0;
        m_pD3DDevice->SetStreamSource(0, nullptr, 0);
        if (FAILED(m_pD3DDevice->Reset(&m_PresentParams))) {
            LOG_AddLevelEntry("Failed.", kLogWarning);
            return false;
        }
        LOG_AddLevelEntry("Done.", kLogDone);
        GFX_SetupDevice();
        return true;
    }
    return SUCCEEDED(hr);
}

void CTarnis::GFX_VQuadReleaseLock()
{
    if (m_pQuadVB && m_pQuadLocked) {
        m_pQuadVB->Unlock();
        m_pQuadLocked = nullptr;
        m_iQuadsInBatch = 0;
    }
}

void CTarnis::GFX_Deinit()
{
    EHS_CHECKPOINT(kFileID);
    LOG_AddSeparator(kSeparatorDash);
    LOG_AddLevelEntry("Deinitializing Graphics Subsystem...", kLogSection);
    if (m_bGraphicsDeviceReady) {
        m_pD3DDevice->SetStreamSource(0, nullptr, 0);
        m_pD3DDevice->SetIndices(nullptr, 0);
        if (m_pQuadVB) m_pQuadVB->Release();
        if (m_pQuadIB) m_pQuadIB->Release();
        m_pQuadVB = nullptr;
        m_pQuadIB = nullptr;
        m_pQuadLocked = nullptr;
        m_iQuadsInBatch = 0;
        // A bound stage holds a reference to its texture: unbind all stages so
        // that freeing the textures finds the manager holding the last one.
        for (DWORD stage = 0; stage < DWORD(TRS_TEXTURESTAGES); ++stage) {
            m_pD3DDevice->SetTexture(stage, nullptr);
            m_iCurrentTexture[stage] = -1;
        }
        destroyManager(m_pTexturesManager, "Destroying Textures Manager...");
        destroyManager(m_pLightsManager, "Destroying Lights Manager...");
        destroyManager(m_pTechniquesManager, "Destroying Techniques Manager...");
        destroyManager(m_pFontsManager, "Destroying Fonts Manager...");
        if (m_pD3DDevice->Release() > 0) LOG_AddLevelEntry("pD3Device references left!", kLogSevere);
        m_pD3DDevice = nullptr;
        DestroyGameWindow(m_hGameWindow);
        m_hGameWindow = nullptr;
        m_bGraphicsDeviceReady = false;
    }
    if (m_pD3D) {
        if (m_pD3D->Release() > 0) LOG_AddLevelEntry("pD3D references left!", kLogSevere);
        m_pD3D = nullptr;
    }
    m_bGraphicsCreated = false;
    LOG_AddLevelEntry("Done.", kLogSection);
    LOG_AddSeparator(kSeparatorDash);
    LOG_AddEmptyLines(1);
}
