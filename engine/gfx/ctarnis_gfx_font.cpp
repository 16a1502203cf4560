// Bitmap fonts: descriptions loaded from XML (glyph sheet, technique, cell
// size, palette, advances), text drawn glyph by glyph as batched quads, and
// text measured with the same advances.
#include <cmath>
#include <memory>
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

constexpr int32_t kFileID = EHS_FILE_GFX_FONT;
constexpr float kCellUV = 0.0625f; // one of 16 cells across the sheet

// Glyph cell of byte c: column c mod 16, row c div 16 of the sheet.
void setGlyph(CTarnis& t, uint32_t c)
{
    const float left = float(c % 16) * kCellUV;
    const float top = float(c - c % 16) * 0.00390625f;
    t.GFX_VQuadSetTexCoords(1, left, top, left + kCellUV, top + kCellUV);
}

bool isDigit(uint8_t c)
{
    return c >= '0' && c <= '9';
}

// The palette has ten entries; any other index leaves the quad's colours alone.
bool paletteIndex(int32_t colour)
{
    return colour >= 0 && colour <= 9;
}

// Loads the item named by id through the resource manager when the lookup
// misses (the lookup logs its own miss line).
template <class Lookup>
int32_t findOrLoad(CTarnis& t, const std::string& lookupID, const std::string& resourceID, Lookup lookup)
{
    int32_t found = lookup(lookupID.c_str());
    if (found < 0) {
        t.RES_LoadResource(resourceID.c_str());
        found = lookup(lookupID.c_str());
    }
    return found;
}

} // namespace

int32_t CTarnis::GFX_FontLoadFromMemory(const uint8_t* data, int32_t size)
{
    EHS_CHECKPOINT(kFileID);
    LOG_AddEmptyLines(1);
    LOG_AddLevelEntry("Loading font description from memory...", kLogItem);
    if (!m_pFontsManager) EHS_THROW(EHS_TYPE_GENERAL, 0, "D3DDevice object was not created!");
    CXMLParser parser;
    parser.LoadFromBuffer(data, size, m_bXMLEncryptMode);
    parser.Parse();
    res::warnIfIncomplete(parser);
    const CXMLNode* root = parser.GetRoot();
    if (!root || !*root->GetName()) EHS_THROW(EHS_TYPE_GENERAL, 0, "Parsing error during loading the font data!");
    if (std::string_view(root->GetName()) != "fontdesc")
        EHS_THROW(EHS_TYPE_GAME, 0, "XML file doesn't contain font description!");
    const std::string id = root->GetAttribute("id");
    if (id.empty()) EHS_THROW(EHS_TYPE_GENERAL, 0, "Invalid font ID");
    const int32_t existing = m_pFontsManager->FindByStrID(id);
    if (existing >= 0) {
        LOG_AddLevelEntry("Warning: Dublicated font!", kLogWarning);
        return existing;
    }
    // Owned here until the manager takes it, so a failure leaves no font behind.
    std::unique_ptr<TRSFONT> font(new (std::nothrow) TRSFONT);
    if (!font) EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot create font object!");

    const std::string textureID = root->GetAttribute("textureid");
    if (textureID.empty()) EHS_THROW(EHS_TYPE_GENERAL, 0, "Invalid font texture ID!");
    font->iTextureID = findOrLoad(*this, textureID, textureID, [this](const char* s) { return GFX_TexGetID(s); });
    if (font->iTextureID < 0) EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot load font texture!");

    const std::string techniqueID = root->GetAttribute("techniqueid");
    if (techniqueID.empty()) EHS_THROW(EHS_TYPE_GENERAL, 0, "Invalid font technique ID!");
    const std::string packID = root->GetAttribute("techpackid");
    if (packID.empty()) EHS_THROW(EHS_TYPE_GENERAL, 0, "Invalid font technique pack ID!");
    font->iTechniqueID = findOrLoad(*this, techniqueID, packID, [this](const char* s) { return GFX_TechGetID(s); });
    if (font->iTechniqueID < 0) EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot load font technique!");

    const char* cellSize = root->GetAttribute("cellsize");
    if (!*cellSize) EHS_THROW(EHS_TYPE_GENERAL, 0, "Invalid font cell size!");
    res::readDecimalFloat(cellSize, font->fCellSize);
    for (int i = 0; i < 10; ++i) {
        const std::string p = "color" + std::to_string(i);
        TRSFONT::Colour& c = font->Colors[i];
        res::readDecimalFloat(root->GetAttribute(p + "r"), c.r);
        res::readDecimalFloat(root->GetAttribute(p + "g"), c.g);
        res::readDecimalFloat(root->GetAttribute(p + "b"), c.b);
        c.a = 1.0f;
    }
    for (int c = 0; c < 256; ++c) {
        const char* width = root->GetAttribute("cs" + std::to_string(c));
        if (!*width) EHS_THROW(EHS_TYPE_GENERAL, 0, "Invalid character length!");
        res::readDecimalFloat(width, font->fCharWidths[c]);
    }
    int32_t tag = 0;
    res::readDecimalInt(root->GetAttribute("tag"), tag);

    const int32_t newID = m_pFontsManager->AddItem(font.release(), id, tag);
    CSmartID::SetIntID(id, newID);
    if (newID == 0) m_iCurrentFont = 0;
    LOG_AddLevelEntry("Done.", kLogDone);
    LOG_AddEmptyLines(1);
    return newID;
}

int32_t CTarnis::GFX_FontGetID(const char* strID)
{
    EHS_CHECKPOINT(kFileID);
    const int32_t found = gfx::FindSlot(m_pFontsManager, strID);
    if (found < 0)
        LOG_AddLevelEntry(std::string("Cannot find iID of font with strID = ") + (strID ? strID : ""), kLogWarning);
    return found;
}

void CTarnis::GFX_FontSet(int32_t id)
{
    if (!m_pFontsManager || !m_pFontsManager->IsValidID(id))
        EHS_THROW(EHS_TYPE_GAME, 0, "Cannot set current font: invalid ID. ID = " + std::to_string(id));
    m_iCurrentFont = id;
}

void CTarnis::GFX_FontSet(const char* strID)
{
    const int32_t id = gfx::FindSlot(m_pFontsManager, strID);
    if (id < 0)
        EHS_THROW(EHS_TYPE_GAME, 0, std::string("Cannot set current font: invalid ID. strID = ") + (strID ? strID : ""));
    m_iCurrentFont = id;
}

void CTarnis::GFX_FontSet(const CSmartID& id)
{
    m_iCurrentFont = id.GetID();
}

void CTarnis::GFX_FontDrawText(const char* text, float x, float y, int32_t maxChars, int32_t colour, float alpha)
{
    EHS_CHECKPOINT(kFileID);
    if (m_iCurrentFont == -1) m_iCurrentFont = 0;
    if (!m_pFontsManager || !m_pFontsManager->IsValidID(m_iCurrentFont))
        EHS_THROW(EHS_TYPE_GAME, 0, "Cannot draw text: invalid current font id. ID = " + std::to_string(m_iCurrentFont));
    const TRSFONT& f = *m_pFontsManager->GetItem(m_iCurrentFont);
    GFX_TexSet(f.iTextureID, 0);
    GFX_TechApply(f.iTechniqueID);
    if (paletteIndex(colour)) GFX_VQuadSetColor(f.Colors[colour].r, f.Colors[colour].g, f.Colors[colour].b, alpha);
    if (!text) return;
    float penX = x, penY = y;
    for (int32_t i = 0; maxChars <= 0 || i < maxChars; ++i) {
        const uint8_t c = uint8_t(text[i]);
        if (c == 0) break;
        if (c >= 0x21) {
            setGlyph(*this, c);
            GFX_VQuadSetPos(penX, penY, f.fCellSize, f.fCellSize, 0.5f);
            GFX_SceneRender();
            penX += f.fCharWidths[c];
        } else if (c == 0x0A) {
            penY = std::floor(f.fCellSize * 1.1f) + penY;
            penX = x;
        } else if (c == 0x20 || c == 0x09) {
            penX = std::floor(f.fCharWidths[c]) + penX;
        }
    }
}

void CTarnis::GFX_FontDrawTextEx(const char* text, float x, float y, int32_t maxChars, int32_t colour, float alpha,
                                 bool applyTechnique, float scale, float extraAdvance, float extraLineSpacing)
{
    EHS_CHECKPOINT(kFileID);
    if (m_iCurrentFont == -1) m_iCurrentFont = 0;
    if (!m_pFontsManager || !m_pFontsManager->IsValidID(m_iCurrentFont))
        EHS_THROW(EHS_TYPE_GAME, 0, "Cannot draw text: invalid current font id. ID = " + std::to_string(m_iCurrentFont));
    const TRSFONT& f = *m_pFontsManager->GetItem(m_iCurrentFont);
    GFX_TexSet(f.iTextureID, 0);
    if (applyTechnique) GFX_TechApply(f.iTechniqueID);
    const bool coloured = paletteIndex(colour);
    if (coloured) GFX_VQuadSetColor(f.Colors[colour].r, f.Colors[colour].g, f.Colors[colour].b, alpha);
    if (!text) return;
    const float cell = scale * f.fCellSize;
    float penX = x, penY = y;
    // A colour code consumes two bytes, so the limit is a bound, not an exact stop.
    for (int32_t i = 0; maxChars <= 0 || i < maxChars; ++i) {
        const uint8_t c = uint8_t(text[i]);
        if (c == 0) break;
        if (c == '%' && colour != -1 && isDigit(uint8_t(text[i + 1]))) {
            if (coloured) {
                const TRSFONT::Colour& p = f.Colors[text[i + 1] - '0'];
                GFX_VQuadSetColor(p.r, p.g, p.b, alpha);
            }
            ++i;
        } else if (c >= 0x21) {
            setGlyph(*this, c);
            GFX_VQuadSetPos(penX, penY, cell, cell, 0.5f);
            GFX_SceneRender();
            penX = std::floor(scale * f.fCharWidths[c] + extraAdvance) + penX;
        } else if (c == 0x0A) {
            penY = std::floor(cell * 1.1f + extraLineSpacing) + penY;
            penX = x;
        } else if (c == 0x20 || c == 0x09) {
            penX = std::floor(scale * f.fCharWidths[c] + extraAdvance) + penX;
        }
    }
}

float CTarnis::GFX_FontGetStringWidth(const char* text, int32_t fontID, float scale, float extraAdvance)
{
    EHS_CHECKPOINT(kFileID);
    if (!m_pFontsManager || !m_pFontsManager->IsValidID(fontID))
        EHS_THROW(EHS_TYPE_GAME, 0, "Cannot calculate string width: invalid font id. ID = " + std::to_string(fontID));
    const TRSFONT& f = *m_pFontsManager->GetItem(fontID);
    float width = 0.0f;
    // Only the first line is measured.
    for (size_t i = 0; text && text[i] != 0 && text[i] != 0x0A; ++i) {
        const uint8_t c = uint8_t(text[i]);
        if (c == '%' && isDigit(uint8_t(text[i + 1]))) {
            ++i;
        } else if (c >= 0x20 || c == 0x09) {
            width = std::floor(scale * f.fCharWidths[c] + extraAdvance) + width;
        }
    }
    return width;
}
