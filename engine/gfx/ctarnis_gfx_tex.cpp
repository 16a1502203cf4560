// The textures manager: textures loaded from resource bytes through D3DX, found
// by string ID, unloaded, and bound to the device's texture stages (a texture's
// ID is its slot; binding the bound texture again costs nothing).
#include <string>

#include "engine/core/ctarnis.h"
#include "engine/gfx/ctarnis_gfx_items.h"
#include "engine/platform/d3d8/d3dx8.h"
#include "engine/res/ctarnis_utils_csmartid.h"

namespace {

constexpr int32_t kFileID = EHS_FILE_GFX_TEX;

const TRSDISPLAYMODE& selectedMode(const CTarnis& t)
{
    switch (t.m_iDisplayMode) {
    case kDisplayMode16Bit:
        return t.m_VideoCardCaps.Mode1;
    case kDisplayModeDesktop:
        return t.m_VideoCardCaps.Mode3;
    default:
        return t.m_VideoCardCaps.Mode2;
    }
}

D3DFORMAT classFormat(const TRSDISPLAYMODE& mode, int32_t formatClass)
{
    switch (formatClass) {
    case kTexClass16Alpha:
        return mode.TextureFormat02;
    case kTexClass32Alpha:
        return mode.TextureFormat03;
    case kTexClass32Opaque:
        return mode.TextureFormat04;
    default:
        return mode.TextureFormat01;
    }
}

// Stage numbers index the current-texture table; scripts may pass anything.
void checkStage(int32_t stage)
{
    if (stage < 0 || stage >= TRS_TEXTURESTAGES)
        EHS_THROW(EHS_TYPE_GAME, 0, "Invalid texture stage! Stage = " + std::to_string(stage));
}

// A texture still bound to a stage cannot be released, and freeing it ends the
// program. The manager's reference is given back first, so the slot the failed
// free keeps still owns one, and the shutdown that follows releases the
// texture once rather than twice.
void keepReferenceIfBound(IDirect3DDevice8* device, IDirect3DTexture8* texture)
{
    for (DWORD stage = 0; device && stage < DWORD(TRS_TEXTURESTAGES); ++stage) {
        IDirect3DBaseTexture8* bound = nullptr;
        if (FAILED(device->GetTexture(stage, &bound)) || !bound) continue;
        bound->Release();
        if (bound == texture) {
            texture->AddRef();
            return;
        }
    }
}

} // namespace

int32_t CTarnis::GFX_TexLoadFromMemory(const uint8_t* data, int32_t size, int32_t formatClass, const char* strID,
                                       int32_t mipLevels, int32_t tag, int32_t dimension)
{
    EHS_CHECKPOINT(kFileID);
    if (!m_pD3DDevice || !m_pTexturesManager) EHS_THROW(EHS_TYPE_GENERAL, 0, "D3DDevice object was not created!");
    const std::string id = strID ? strID : "";
    const int32_t existing = m_pTexturesManager->FindByStrID(id);
    if (existing >= 0) return existing;

    UINT dim = dimension > 0 ? UINT(dimension) : 0;
    if (dim > m_VideoCardCaps.MaxTextureWidth) dim = m_VideoCardCaps.MaxTextureWidth;
    if (dim == 0) dim = D3DX_DEFAULT;
    LOG_AddEmptyLines(1);
    LOG_AddLevelEntry("Loading texture from memory. ID = " + id, kLogStep);
    if (formatClass < 1 || formatClass > 4) formatClass = 1;
    const D3DFORMAT format = classFormat(selectedMode(*this), formatClass);
    const UINT levels = m_VideoCardCaps.MipMapping && mipLevels >= 1 ? UINT(mipLevels) : 1;

    IDirect3DTexture8* texture = nullptr;
    HRESULT hr = D3DERR_INVALIDCALL;
    if (data && size > 0)
        hr = D3DXCreateTextureFromFileInMemoryEx(m_pD3DDevice, data, UINT(size), dim, dim, levels, 0, format,
                                                 D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_FILTER_BOX, 0, nullptr, nullptr,
                                                 &texture);
    if (FAILED(hr) || !texture) EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot create texture object!");
    const int32_t newID = m_pTexturesManager->AddItem(texture, id, tag);
    LOG_AddLevelEntry("Done.", kLogStep);
    LOG_AddEmptyLines(1);
    CSmartID::SetIntID(id, newID);
    return newID;
}

int32_t CTarnis::GFX_TexGetID(const char* strID)
{
    EHS_CHECKPOINT(kFileID);
    const std::string id = strID ? strID : "";
    const int32_t found = m_pTexturesManager ? m_pTexturesManager->FindByStrID(id) : -1;
    if (found < 0) LOG_AddLevelEntry("Cannot find iID of texture with strID = " + id, kLogWarning);
    return found;
}

void CTarnis::GFX_TexUnloadByID(int32_t id)
{
    EHS_CHECKPOINT(kFileID);
    LOG_AddEmptyLines(1);
    LOG_AddLevelEntry("Unloading texture, iID = " + std::to_string(id), kLogStep);
    CSmartID::ResetIntID(id, TRS_RESTYPE_TEXTURE);
    if (!m_pTexturesManager || !m_pTexturesManager->IsValidID(id)) {
        LOG_AddLevelEntry("Failed.", kLogWarning);
        return;
    }
    keepReferenceIfBound(m_pD3DDevice, m_pTexturesManager->GetItem(id));
    m_pTexturesManager->FreeItem(id);
    LOG_AddLevelEntry("Done.", kLogDone);
}

void CTarnis::GFX_TexUnloadByID(const char* strID)
{
    EHS_CHECKPOINT(kFileID);
    const std::string id = strID ? strID : "";
    LOG_AddEmptyLines(1);
    LOG_AddLevelEntry("Unloading texture, strID = " + id, kLogStep);
    CSmartID::SetIntID(id, -1);
    const int32_t slot = gfx::FindSlot(m_pTexturesManager, strID);
    if (slot < 0) {
        LOG_AddLevelEntry("Failed.", kLogWarning);
        return;
    }
    keepReferenceIfBound(m_pD3DDevice, m_pTexturesManager->GetItem(slot));
    m_pTexturesManager->FreeItem(slot);
    LOG_AddLevelEntry("Done.", kLogDone);
}

void CTarnis::GFX_TexSet(int32_t id, int32_t stage)
{
    checkStage(stage);
    if (m_iCurrentTexture[stage] == id) return;
    // Queued quads must be drawn with the texture they were queued under.
    GFX_VQuadBatchFlush();
    if (!m_pTexturesManager || !m_pTexturesManager->IsValidID(id))
        EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot set texture - invalid ID!");
    m_pD3DDevice->SetTexture(DWORD(stage), m_pTexturesManager->GetItem(id));
    m_iCurrentTexture[stage] = id;
}

void CTarnis::GFX_TexSet(const char* strID, int32_t stage)
{
    GFX_TexSet(gfx::FindSlot(m_pTexturesManager, strID), stage);
}

void CTarnis::GFX_TexSet(const CSmartID& id, int32_t stage)
{
    GFX_TexSet(id.GetID(), stage);
}

void CTarnis::GFX_TexSetNoTexture(int32_t stage)
{
    checkStage(stage);
    GFX_VQuadBatchFlush();
    if (m_pD3DDevice) m_pD3DDevice->SetTexture(DWORD(stage), nullptr);
    m_iCurrentTexture[stage] = -1;
}
