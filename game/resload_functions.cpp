// Level packs: the XML board description read into the level description.
// Values stored before a rejected line stay stored; the error ends the program.
#include "game/resload_functions.h"

#include <cstring>

#include "engine/core/ctarnis.h"
#include "engine/res/ctarnis_res_main.h"
#include "engine/res/ctarnis_utils_cxmlparser.h"
#include "engine/res/ctarnis_utils_numtext.h"

LevelDescription g_LevelDesc;

namespace {

// The board is built, drawn and searched cell by cell every frame: a pack
// beyond this is refused like one too small, not left to exhaust memory.
constexpr int32_t kMaxLevelSize = 256;

// An absent attribute reads as empty; then the stream-style number ("12abc" is 12).
bool readNumber(CXMLNode* node, const char* name, int32_t& value)
{
    const char* text = node->GetAttribute(name);
    if (!*text) return false;
    res::readDecimalInt(text, value);
    return true;
}

} // namespace

void RESLOAD_Level(const uint8_t* data, int32_t size, const char*, int32_t, int32_t, int32_t, int32_t)
{
    EHS_CHECKPOINT(EHS_FILE_RESLOAD_FUNCTIONS);
    if (!data) EHS_THROW(EHS_TYPE_GAME, 0, "Error in RESLOAD_Level : Cannot load levelpack! (buffer is empty)");
    CTarnis* tarnis = CTarnis::Instance();
    CXMLParser parser;
    parser.LoadFromBuffer(data, size, tarnis && tarnis->m_bXMLEncryptMode);
    parser.Parse();
    res::warnIfIncomplete(parser);
    CXMLNode* root = parser.GetRoot();
    if (strcmp(root->GetName(), "boarddata") != 0)
        EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot load level data: invalid XML root node name!");

    LevelDescription& level = g_LevelDesc;
    if (!readNumber(root, "sizex", level.m_iSizeX))
        EHS_THROW(EHS_TYPE_GENERAL, 0, "Error in RESLOAD_Level : There is no level size X in XML!");
    if (level.m_iSizeX < 2 || level.m_iSizeX > kMaxLevelSize)
        EHS_THROW(EHS_TYPE_GENERAL, 0, "Error in RESLOAD_Level: invalid level size X!");
    if (!readNumber(root, "sizey", level.m_iSizeY))
        EHS_THROW(EHS_TYPE_GENERAL, 0, "Error in RESLOAD_Level : There is no level size Y in XML!");
    if (level.m_iSizeY < 2 || level.m_iSizeY > kMaxLevelSize)
        EHS_THROW(EHS_TYPE_GENERAL, 0, "Error in RESLOAD_Level: invalid level size Y!");

    for (int32_t i = 0; i < root->GetChildrenCount(); ++i) {
        CXMLNode* child = root->GetChild(i);
        if (!child) EHS_THROW(EHS_TYPE_GENERAL, 0, "Error in RESLOAD_Level: child pointer is null!");
        if (strcmp(child->GetName(), "barier") != 0)
            EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot load level data: invalid XML child node name!");
        LevelBarrier b{0, 0};
        if (!readNumber(child, "x", b.x))
            EHS_THROW(EHS_TYPE_GENERAL, 0, "Error in RESLOAD_Level : There is no barier param X in XML!");
        if (b.x < 1 || b.x > level.m_iSizeX) EHS_THROW(EHS_TYPE_GAME, 0, "Error in RESLOAD_Level: invalid barier X coord!");
        if (!readNumber(child, "y", b.y))
            EHS_THROW(EHS_TYPE_GENERAL, 0, "Error in RESLOAD_Level : There is no barier param Y in XML!");
        if (b.y < 1 || b.y > level.m_iSizeY) EHS_THROW(EHS_TYPE_GAME, 0, "Error in RESLOAD_Level: invalid barier Y coord!");
        level.m_vecBarriers.push_back(b);
    }
}
