// CSmartID and the process-wide map of identifiers.
#include "engine/res/ctarnis_utils_csmartid.h"

#include <new>

#include "engine/core/ctarnis_ehs.h"

CSmartID::CSmartID(const char* fp_pszID, int32_t fp_iResType) : strID(fp_pszID ? fp_pszID : ""), iResType(fp_iResType)
{
    EHS_CHECKPOINT(EHS_FILE_CSMARTID);
    if (iResType == TRS_RESTYPE_DETECT) DetectResType();
    if (!s_pIDsMap) CreateIDsMap();
    if (s_pIDsMap->count(strID))
        EHS_THROW(EHS_TYPE_GAME, 0,
                  "Error in CSmartID::CSmartID(const char* fp_pszID, int fp_iResType). An object with same strID "
                  "already exists! strID = " +
                      strID);
    (*s_pIDsMap)[strID] = this;
}

CSmartID::~CSmartID()
{
    // Only this identifier's entry goes: identifiers that live on must keep
    // following their items. The map itself goes with the last identifier.
    if (!s_pIDsMap) return;
    auto it = s_pIDsMap->find(strID);
    if (it != s_pIDsMap->end() && it->second == this) s_pIDsMap->erase(it);
    if (s_pIDsMap->empty()) DestroyIDsMap();
}

void CSmartID::DetectResType()
{
    EHS_CHECKPOINT(EHS_FILE_CSMARTID);
    if (strID.size() <= 3)
        EHS_THROW(EHS_TYPE_GENERAL, 0, "Error in CSmartID::DetectResType : strID length is too small (<4)!");
    static constexpr struct {
        const char* prefix;
        int32_t type;
    } kPrefixes[] = {
        {"TEX", TRS_RESTYPE_TEXTURE},
        {"TEQ", TRS_RESTYPE_TECHNIQUE},
        {"FNT", TRS_RESTYPE_FONT},
        {"SND", TRS_RESTYPE_SOUND},
    };
    for (const auto& p : kPrefixes) {
        if (strID.compare(0, 3, p.prefix) == 0) {
            iResType = p.type;
            return;
        }
    }
    EHS_THROW(EHS_TYPE_GAME, 0, "Error in CSmartID::DetectResType : cannot detect res type! strID = " + strID);
}

void CSmartID::CreateIDsMap()
{
    if (s_pIDsMap) return;
    s_pIDsMap = new (std::nothrow) std::map<std::string, CSmartID*>;
    if (!s_pIDsMap) EHS_THROW(EHS_TYPE_GENERAL, 0, "Error in CSmartID::CreateIDsMap(). Cannot create IDs map!");
}

void CSmartID::DestroyIDsMap()
{
    delete s_pIDsMap;
    s_pIDsMap = nullptr;
}

void CSmartID::SetIntID(const std::string& strID, int32_t id)
{
    if (!s_pIDsMap) return;
    auto it = s_pIDsMap->find(strID);
    if (it != s_pIDsMap->end()) it->second->iID = id;
}

void CSmartID::ResetIntID(int32_t id, int32_t resType)
{
    if (!s_pIDsMap) return;
    for (auto& [key, ident] : *s_pIDsMap) {
        if (ident->iID == id && ident->iResType == resType) {
            ident->iID = -1;
            return;
        }
    }
}
