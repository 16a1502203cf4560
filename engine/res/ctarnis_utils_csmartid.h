// Resource identifiers: a long-lived object naming one item by its string ID,
// kept up to date with the item's integer ID by the managers, so per-frame code
// can address the item without a string lookup.
#pragma once

#include <cstdint>
#include <map>
#include <string>

enum : int32_t {
    TRS_RESTYPE_DETECT = 0,
    TRS_RESTYPE_TEXTURE = 1,
    TRS_RESTYPE_TECHNIQUE = 2,
    TRS_RESTYPE_FONT = 3,
    TRS_RESTYPE_SOUND = 4,
};

class CSmartID {
public:
    // fp_iResType 0 detects the type from the "TEX"/"TEQ"/"FNT"/"SND" prefix.
    explicit CSmartID(const char* fp_pszID, int32_t fp_iResType = TRS_RESTYPE_DETECT);
    ~CSmartID();
    CSmartID(const CSmartID&) = delete;
    CSmartID& operator=(const CSmartID&) = delete;

    int32_t GetID() const { return iID; }
    const std::string& GetStrID() const { return strID; }
    int32_t GetResType() const { return iResType; }

    void DetectResType();

    static void CreateIDsMap();
    static void DestroyIDsMap();
    static bool IDsMapExists() { return s_pIDsMap != nullptr; }
    // Binds the identifier named strID (if any) to the integer ID.
    static void SetIntID(const std::string& strID, int32_t id);
    // Unbinds the first identifier (in strID order) bound to id with that type.
    static void ResetIntID(int32_t id, int32_t resType);

private:
    std::string strID;
    int32_t iID = -1;
    int32_t iResType = TRS_RESTYPE_DETECT;

    static inline std::map<std::string, CSmartID*>* s_pIDsMap = nullptr;
};
