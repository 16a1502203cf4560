// The Direct3D 8 object of the software layer: one adapter that describes
// itself honestly (a software rasterizer, vendor and device 0), offers the
// standard display sizes in 16 and 32 bits and creates the device.
// Limits: adapter 0 only; the HAL, REF and SW device types are the same device.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "engine/platform/d3d8/d3d8_testing.h"
#include "engine/platform/d3d8/tns_d3d8_internal.h"
#include "engine/platform/d3d8/tns_d3d8_presenter.h"

namespace {

constexpr const char* kDescription = "Tarnis software rasterizer";
constexpr const char* kDriver = "tarnis_d3d8";
constexpr UINT kRefreshRate = 60;

constexpr UINT kStandardSizes[][2] = {
    {640, 480},   {800, 600},   {1024, 768},  {1152, 864},  {1280, 720},  {1280, 800},  {1280, 1024},
    {1366, 768},  {1440, 900},  {1600, 900},  {1600, 1200}, {1680, 1050}, {1920, 1080},
};
constexpr D3DFORMAT kModeFormats[] = {D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_X8R8G8B8};
constexpr D3DFORMAT kTextureFormats[] = {D3DFMT_R5G6B5,   D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5, D3DFMT_X4R4G4B4,
                                         D3DFMT_A4R4G4B4, D3DFMT_A8R3G3B2, D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8};
constexpr D3DDISPLAYMODE kHeadlessDesktop{1024, 768, kRefreshRate, D3DFMT_X8R8G8B8};

bool g_overridden = false;
TnsAdapterInfo g_override;
TnsAdapterInfo g_current;

TnsAdapterInfo builtInAdapter()
{
    TnsAdapterInfo a;
    a.description = kDescription;
    for (const auto& s : kStandardSizes)
        for (D3DFORMAT f : kModeFormats) a.modes.push_back(D3DDISPLAYMODE{s[0], s[1], kRefreshRate, f});
    if (!TnsQueryDesktopMode(&a.desktop)) a.desktop = kHeadlessDesktop;
    a.caps2 = D3DCAPS2_CANRENDERWINDOWED | D3DCAPS2_FULLSCREENGAMMA | D3DCAPS2_CANMANAGERESOURCE |
              D3DCAPS2_DYNAMICTEXTURES;
    a.textureFormats.assign(std::begin(kTextureFormats), std::end(kTextureFormats));
    return a;
}

class TnsDirect3D final : public TnsComObject<IDirect3D8> {
public:
    UINT GetAdapterCount() override { return 1; }

    HRESULT GetAdapterIdentifier(UINT adapter, DWORD, D3DADAPTER_IDENTIFIER8* id) override
    {
        if (adapter != 0 || !id) return D3DERR_INVALIDCALL;
        std::memset(id, 0, sizeof(*id));
        const TnsAdapterInfo& a = TnsCurrentAdapter();
        std::snprintf(id->Driver, sizeof(id->Driver), "%s", kDriver);
        std::snprintf(id->Description, sizeof(id->Description), "%s", a.description.c_str());
        id->VendorId = a.vendorId;
        id->DeviceId = a.deviceId;
        return D3D_OK;
    }

    UINT GetAdapterModeCount(UINT adapter) override
    {
        return adapter == 0 ? UINT(TnsCurrentAdapter().modes.size()) : 0;
    }

    HRESULT EnumAdapterModes(UINT adapter, UINT mode, D3DDISPLAYMODE* out) override
    {
        const TnsAdapterInfo& a = TnsCurrentAdapter();
        if (adapter != 0 || !out || mode >= a.modes.size()) return D3DERR_INVALIDCALL;
        *out = a.modes[mode];
        return D3D_OK;
    }

    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* out) override
    {
        if (adapter != 0 || !out) return D3DERR_INVALIDCALL;
        *out = TnsCurrentAdapter().desktop;
        return D3D_OK;
    }

    HRESULT CheckDeviceFormat(UINT adapter, D3DDEVTYPE, D3DFORMAT adapterFormat, DWORD usage,
                              D3DRESOURCETYPE type, D3DFORMAT check) override
    {
        if (adapter != 0) return D3DERR_INVALIDCALL;
        if (!TnsIsBackBufferFormat(adapterFormat)) return D3DERR_NOTAVAILABLE;
        if (usage & (D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL)) return D3DERR_NOTAVAILABLE;
        if (type != D3DRTYPE_TEXTURE && type != D3DRTYPE_SURFACE) return D3DERR_NOTAVAILABLE;
        const auto& f = TnsCurrentAdapter().textureFormats;
        return std::find(f.begin(), f.end(), check) != f.end() ? D3D_OK : D3DERR_NOTAVAILABLE;
    }

    HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE, D3DCAPS8* caps) override
    {
        if (adapter != 0 || !caps) return D3DERR_INVALIDCALL;
        TnsFillDeviceCaps(caps);
        return D3D_OK;
    }

    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE, HWND window, DWORD, D3DPRESENT_PARAMETERS* params,
                         IDirect3DDevice8** device) override
    {
        if (!device) return D3DERR_INVALIDCALL;
        *device = nullptr;
        if (adapter != 0 || !params) return D3DERR_INVALIDCALL;
        HWND target = params->hDeviceWindow ? params->hDeviceWindow : window;
        if (!TNS_GetWindowBackBufferSize(target, nullptr, nullptr)) return D3DERR_INVALIDCALL;
        HRESULT hr = D3D_OK;
        *device = TnsCreateDevice(this, target, *params, &hr);
        return hr;
    }
};

} // namespace

const TnsAdapterInfo& TnsCurrentAdapter()
{
    return g_overridden ? g_override : g_current;
}

bool TnsIsBackBufferFormat(D3DFORMAT format)
{
    return format == D3DFMT_R5G6B5 || format == D3DFMT_X1R5G5B5 || format == D3DFMT_X8R8G8B8 ||
           format == D3DFMT_A8R8G8B8;
}

void TnsFillDeviceCaps(D3DCAPS8* caps)
{
    std::memset(caps, 0, sizeof(*caps));
    caps->DeviceType = D3DDEVTYPE_HAL;
    caps->Caps2 = TnsCurrentAdapter().caps2;
    caps->RasterCaps = D3DPRASTERCAPS_FOGVERTEX;
    caps->TextureCaps = D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_MIPMAP;
    caps->TextureFilterCaps = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MIPFPOINT |
                              D3DPTFILTERCAPS_MIPFLINEAR | D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;
    caps->TextureAddressCaps = D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_MIRROR | D3DPTADDRESSCAPS_CLAMP;
    caps->MaxTextureWidth = caps->MaxTextureHeight = 4096;
    caps->MaxTextureRepeat = 8192;
    caps->TextureOpCaps = D3DTEXOPCAPS_DISABLE | D3DTEXOPCAPS_SELECTARG1 | D3DTEXOPCAPS_SELECTARG2 |
                          D3DTEXOPCAPS_MODULATE | D3DTEXOPCAPS_ADD | D3DTEXOPCAPS_SUBTRACT |
                          D3DTEXOPCAPS_DOTPRODUCT3;
    caps->MaxTextureBlendStages = 2;
    caps->MaxSimultaneousTextures = 2;
    caps->MaxPrimitiveCount = 0xFFFFF;
    caps->MaxVertexIndex = 0xFFFF;
    caps->MaxStreams = 1;
    caps->MaxStreamStride = 40;
}

IDirect3D8* Direct3DCreate8(UINT sdkVersion)
{
    if (sdkVersion != D3D_SDK_VERSION) return nullptr;
    // The adapter is surveyed once per Direct3D object, as a driver would be.
    if (!g_overridden) g_current = builtInAdapter();
    return new (std::nothrow) TnsDirect3D;
}

void TNS_D3D8SetAdapter(const TnsAdapterDesc* desc)
{
    g_overridden = desc != nullptr;
    if (!desc) return;
    TnsAdapterInfo a = builtInAdapter();
    if (desc->description) a.description = desc->description;
    a.vendorId = desc->vendorId;
    a.deviceId = desc->deviceId;
    if (desc->modes) a.modes.assign(desc->modes, desc->modes + desc->modeCount);
    if (desc->desktop) a.desktop = *desc->desktop;
    if (desc->useCaps2) a.caps2 = desc->caps2;
    if (desc->textureFormats)
        a.textureFormats.assign(desc->textureFormats, desc->textureFormats + desc->textureFormatCount);
    g_override = a;
}
