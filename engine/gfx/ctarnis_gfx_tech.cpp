// Techniques: named bundles of render and texture-stage states read from
// techniques packs and pushed to the device in one call. Words in the packs map
// through one table per vocabulary; unknown words take the table's fallback.
#include <bit>
#include <new>
#include <string>
#include <string_view>

#include "engine/core/ctarnis.h"
#include "engine/gfx/ctarnis_gfx_items.h"
#include "engine/res/ctarnis_res_main.h"
#include "engine/res/ctarnis_utils_csmartid.h"
#include "engine/res/ctarnis_utils_cxmlparser.h"
#include "engine/res/ctarnis_utils_numtext.h"

namespace {

constexpr int32_t kFileID = EHS_FILE_GFX_TECH;

struct Word {
    const char* word;
    int32_t value;
};

constexpr Word kBlend[] = {{"ZERO", 1},         {"ONE", 2},          {"SRCCOLOR", 3},     {"INVSRCCOLOR", 4},
                           {"SRCALPHA", 5},     {"INVSRCALPHA", 6},  {"DESTALPHA", 7},    {"INVDESTALPHA", 8},
                           {"DESTCOLOR", 9},    {"INVDESTCOLOR", 10}, {"SRCALPHASAT", 11}};
constexpr Word kTextureOp[] = {{"DISABLE", 1}, {"SELECTARG1", 2}, {"SELECTARG2", 3}, {"MODULATE", 4},
                               {"ADD", 7},     {"SUBTRACT", 10},  {"DOTPRODUCT3", 24}};
constexpr Word kTextureArg[] = {{"CURRENT", 1}, {"DIFFUSE", 0}, {"SPECULAR", 4}, {"TEXTURE", 2}, {"TFACTOR", 3}};
constexpr Word kAddress[] = {{"WRAP", 1}, {"CLAMP", 3}};
constexpr Word kFilter[] = {{"NONE", 0}, {"POINT", 1}, {"LINEAR", 2}};
constexpr Word kLightMode[] = {{"DISABLED", 0}, {"VERTEX", 1}, {"DOT3", 2}};

// Exact, case-sensitive match; anything else gives the fallback.
template <size_t N>
int32_t lookup(const Word (&table)[N], const char* word, int32_t fallback)
{
    for (const Word& w : table)
        if (std::string_view(word) == w.word) return w.value;
    return fallback;
}

bool readSwitch(const CXMLNode* n, const char* name)
{
    return std::string_view(n->GetAttribute(name)) == "ON";
}

float readFloat(const CXMLNode* n, const std::string& name)
{
    float v = 0.0f;
    res::readDecimalFloat(n->GetAttribute(name), v);
    return v;
}

// Colour component packing: × 255, truncated, low 8 bits kept.
uint32_t packComponent(float c)
{
    const float v = c * 255.0f;
    if (!(v > -2.0e9f && v < 2.0e9f)) return 0;
    return uint32_t(int64_t(v)) & 0xFFu;
}

D3DCOLOR readColour(const CXMLNode* n, const std::string& prefix, const char* alphaName)
{
    const uint32_t a = alphaName ? packComponent(readFloat(n, alphaName)) : 0xFFu;
    return a << 24 | packComponent(readFloat(n, prefix + "r")) << 16 | packComponent(readFloat(n, prefix + "g")) << 8 |
           packComponent(readFloat(n, prefix + "b"));
}

bool present(const CXMLNode* n, const char* trigger)
{
    return *n->GetAttribute(trigger) != '\0';
}

void readTechnique(const CXMLNode* n, TRSTECHNIQUE& t)
{
    if ((t.bBlendingPresent = present(n, "alphablending"))) {
        t.bAlphaBlending = readSwitch(n, "alphablending");
        t.iSrcBlend = lookup(kBlend, n->GetAttribute("absrc"), 1);
        t.iDestBlend = lookup(kBlend, n->GetAttribute("abdest"), 1);
    }
    if ((t.bFogPresent = present(n, "fog"))) {
        t.bFog = readSwitch(n, "fog");
        t.fFogStart = readFloat(n, "fogstart");
        t.fFogEnd = readFloat(n, "fogend");
        t.dwFogColor = readColour(n, "fogcolor", nullptr);
    }
    if ((t.bTextureFactorPresent = present(n, "texturefactorr")))
        t.dwTextureFactor = readColour(n, "texturefactor", "texturefactora");
    if ((t.bStageStatesPresent = present(n, "s0_colorop"))) {
        for (int s = 0; s < 2; ++s) {
            const std::string p = "s" + std::to_string(s) + "_";
            t.iColorOp[s] = lookup(kTextureOp, n->GetAttribute(p + "colorop"), 1);
            t.iColorArg1[s] = lookup(kTextureArg, n->GetAttribute(p + "colorarg1"), 1);
            t.iColorArg2[s] = lookup(kTextureArg, n->GetAttribute(p + "colorarg2"), 1);
            t.iAlphaOp[s] = lookup(kTextureOp, n->GetAttribute(p + "alphaop"), 1);
            t.iAlphaArg1[s] = lookup(kTextureArg, n->GetAttribute(p + "alphaarg1"), 1);
            t.iAlphaArg2[s] = lookup(kTextureArg, n->GetAttribute(p + "alphaarg2"), 1);
            t.iAddressMode[s] = lookup(kAddress, n->GetAttribute(p + "address"), 1);
        }
    }
    if ((t.bFiltersPresent = present(n, "s0_minfilter"))) {
        for (int s = 0; s < 2; ++s) {
            const std::string p = "s" + std::to_string(s) + "_";
            t.iMinFilter[s] = lookup(kFilter, n->GetAttribute(p + "minfilter"), 0);
            t.iMagFilter[s] = lookup(kFilter, n->GetAttribute(p + "magfilter"), 0);
            t.iMipFilter[s] = lookup(kFilter, n->GetAttribute(p + "mipfilter"), 0);
        }
    }
    if ((t.bDynLightPresent = present(n, "dynlightmode"))) {
        t.iDynLightMode = lookup(kLightMode, n->GetAttribute("dynlightmode"), 0);
        t.dwDynLightAmbient = readColour(n, "dynlightambientcolor", nullptr);
    }
}

} // namespace

void CTarnis::GFX_TechLoadPack(const uint8_t* data, int32_t size)
{
    EHS_CHECKPOINT(kFileID);
    if (!m_pTechniquesManager) EHS_THROW(EHS_TYPE_GENERAL, 0, "D3DDevice object was not created!");
    CXMLParser parser;
    parser.LoadFromBuffer(data, size, m_bXMLEncryptMode);
    parser.Parse();
    res::warnIfIncomplete(parser);
    LOG_AddEmptyLines(1);
    LOG_AddLevelEntry("Processing techniques pack...", kLogItem);
    const CXMLNode* root = parser.GetRoot();
    if (!root || !*root->GetName()) EHS_THROW(EHS_TYPE_GENERAL, 0, "Error in XML parser: Root node is NULL!");
    if (std::string_view(root->GetName()) != "techniquespack")
        EHS_THROW(EHS_TYPE_GENERAL, 0, "Wrong XML root node name: must be techniquespack!");
    int32_t count = 0;
    for (int32_t i = 0; i < root->GetChildrenCount(); ++i) {
        const CXMLNode* child = root->GetChild(i);
        if (!child) EHS_THROW(EHS_TYPE_GENERAL, 0, "Error in XML parser - child node is NULL!");
        const std::string id = child->GetAttribute("id");
        if (id.empty()) EHS_THROW(EHS_TYPE_GENERAL, 0, "Ivanlid technique ID!");
        if (m_pTechniquesManager->FindByStrID(id) >= 0) continue; // the first definition stays
        TRSTECHNIQUE* technique = new (std::nothrow) TRSTECHNIQUE;
        if (!technique) EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot create TRSTECHNIQUE object!");
        readTechnique(child, *technique);
        int32_t tag = 0;
        res::readDecimalInt(child->GetAttribute("tag"), tag);
        const int32_t newID = m_pTechniquesManager->AddItem(technique, id, tag);
        CSmartID::SetIntID(id, newID);
        ++count;
    }
    LOG_AddLevelEntry(std::to_string(count) + " techniques loaded.", kLogDone);
    LOG_AddEmptyLines(1);
}

int32_t CTarnis::GFX_TechGetID(const char* strID)
{
    EHS_CHECKPOINT(kFileID);
    const int32_t found = gfx::FindSlot(m_pTechniquesManager, strID);
    if (found < 0)
        LOG_AddLevelEntry(std::string("Cannot find iID of technique with strID = ") + (strID ? strID : ""),
                          kLogWarning);
    return found;
}

void CTarnis::GFX_TechApply(int32_t id)
{
    EHS_CHECKPOINT(kFileID);
    if (id == m_iCurrentTechnique) return;
    // Queued quads keep the states they were queued under.
    GFX_VQuadBatchFlush();
    if (!m_pTechniquesManager || !m_pTechniquesManager->IsValidID(id))
        EHS_THROW(EHS_TYPE_GAME, 0, "Invalid technique ID! ID = " + std::to_string(id));
    const TRSTECHNIQUE& t = *m_pTechniquesManager->GetItem(id);
    IDirect3DDevice8* d = m_pD3DDevice;
    if (t.bBlendingPresent) {
        d->SetRenderState(D3DRS_ALPHABLENDENABLE, t.bAlphaBlending);
        d->SetRenderState(D3DRS_SRCBLEND, DWORD(t.iSrcBlend));
        d->SetRenderState(D3DRS_DESTBLEND, DWORD(t.iDestBlend));
    }
    if (t.bFogPresent) {
        m_bFogOn = t.bFog;
        d->SetRenderState(D3DRS_FOGENABLE, t.bFog);
        d->SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_LINEAR);
        d->SetRenderState(D3DRS_FOGSTART, std::bit_cast<DWORD>(t.fFogStart));
        d->SetRenderState(D3DRS_FOGEND, std::bit_cast<DWORD>(t.fFogEnd));
        d->SetRenderState(D3DRS_FOGCOLOR, t.dwFogColor);
    }
    if (t.bTextureFactorPresent) d->SetRenderState(D3DRS_TEXTUREFACTOR, t.dwTextureFactor);
    if (t.bStageStatesPresent) {
        for (DWORD s = 0; s < 2; ++s) {
            d->SetTextureStageState(s, D3DTSS_COLOROP, DWORD(t.iColorOp[s]));
            // A disabled stage 1 ends the cascade; its other states are not touched.
            if (s == 1 && t.iColorOp[1] == D3DTOP_DISABLE) break;
            d->SetTextureStageState(s, D3DTSS_COLORARG1, DWORD(t.iColorArg1[s]));
            d->SetTextureStageState(s, D3DTSS_COLORARG2, DWORD(t.iColorArg2[s]));
            d->SetTextureStageState(s, D3DTSS_ALPHAOP, DWORD(t.iAlphaOp[s]));
            d->SetTextureStageState(s, D3DTSS_ALPHAARG1, DWORD(t.iAlphaArg1[s]));
            d->SetTextureStageState(s, D3DTSS_ALPHAARG2, DWORD(t.iAlphaArg2[s]));
            d->SetTextureStageState(s, D3DTSS_ADDRESSU, DWORD(t.iAddressMode[s]));
            d->SetTextureStageState(s, D3DTSS_ADDRESSV, DWORD(t.iAddressMode[s]));
        }
    }
    if (t.bFiltersPresent) {
        for (DWORD s = 0; s < 2; ++s) {
            d->SetTextureStageState(s, D3DTSS_MINFILTER, DWORD(t.iMinFilter[s]));
            d->SetTextureStageState(s, D3DTSS_MAGFILTER, DWORD(t.iMagFilter[s]));
            d->SetTextureStageState(s, D3DTSS_MIPFILTER, DWORD(t.iMipFilter[s]));
        }
    }
    if (t.bDynLightPresent) {
        GFX_SetDynLightMode(t.iDynLightMode);
        constexpr float kByte = 1.0f / 255.0f;
        m_fAmbientR = float((t.dwDynLightAmbient >> 16) & 0xFF) * kByte;
        m_fAmbientG = float((t.dwDynLightAmbient >> 8) & 0xFF) * kByte;
        m_fAmbientB = float(t.dwDynLightAmbient & 0xFF) * kByte;
        m_fAmbientA = 1.0f;
    }
    m_iCurrentTechnique = id;
}

void CTarnis::GFX_TechApply(const char* strID)
{
    GFX_TechApply(gfx::FindSlot(m_pTechniquesManager, strID));
}

void CTarnis::GFX_TechApply(const CSmartID& id)
{
    GFX_TechApply(id.GetID());
}
