// XML variables: the process-wide map of IDs, assignments, and the XMLDATA loader.
#include "engine/res/ctarnis_utils_cxmlvar.h"

#include <new>

#include "engine/core/ctarnis.h"
#include "engine/res/ctarnis_res_main.h"
#include "engine/res/ctarnis_res_types.h"
#include "engine/res/ctarnis_utils_cxmlparser.h"
#include "engine/res/ctarnis_utils_numtext.h"

CXMLVar::CXMLVar(const char* fp_pszID)
{
    EHS_CHECKPOINT(EHS_FILE_CXMLVAR);
    std::string id = fp_pszID ? fp_pszID : "";
    if (!s_pXMLVarsMap) CreateXMLVarsMap();
    if (s_pXMLVarsMap->count(id))
        EHS_THROW(EHS_TYPE_GAME, 0,
                  "Error in CXMLVar::CXMLVar(const char* fp_pszID). An object with same ID already exists! ID = " + id);
    (*s_pXMLVarsMap)[id] = this;
}

CXMLVar::~CXMLVar()
{
    // Only this variable's entry goes, so variables that live on keep receiving
    // their values; the map goes with the last variable.
    if (!s_pXMLVarsMap) return;
    for (auto it = s_pXMLVarsMap->begin(); it != s_pXMLVarsMap->end(); ++it) {
        if (it->second == this) {
            s_pXMLVarsMap->erase(it);
            break;
        }
    }
    if (s_pXMLVarsMap->empty()) DestroyXMLVarsMap();
}

void CXMLVar::CreateXMLVarsMap()
{
    EHS_CHECKPOINT(EHS_FILE_CXMLVAR);
    if (s_pXMLVarsMap) return;
    s_pXMLVarsMap = new (std::nothrow) std::map<std::string, CXMLVar*>;
    if (!s_pXMLVarsMap)
        EHS_THROW(EHS_TYPE_GENERAL, 0, "Error in CXMLVar::CreateXMLVarsMap(). Cannot create IDs map!");
}

void CXMLVar::DestroyXMLVarsMap()
{
    delete s_pXMLVarsMap;
    s_pXMLVarsMap = nullptr;
}

void CXMLVar::SetXMLVar(const char* id, const char* value)
{
    EHS_CHECKPOINT(EHS_FILE_CXMLVAR);
    if (!s_pXMLVarsMap || !id) return;
    auto it = s_pXMLVarsMap->find(id);
    if (it == s_pXMLVarsMap->end()) {
        CTarnis::LOG_AddLevelEntry(std::string("Warning: unused xml variable: ") + id, 5);
        return;
    }
    it->second->SetValue(value ? value : "");
}

void CXMLVarInt::SetValue(const char* value)
{
    res::readDecimalInt(value, m_iValue);
}

void CXMLVarFloat::SetValue(const char* value)
{
    res::readDecimalFloat(value, m_fValue);
}

void RESLOAD_XMLData(const uint8_t* data, int32_t size, const char*, int32_t, int32_t, int32_t, int32_t)
{
    EHS_CHECKPOINT(EHS_FILE_CXMLVAR);
    CTarnis* tarnis = CTarnis::Instance();
    CXMLParser parser;
    parser.LoadFromBuffer(data, size, tarnis && tarnis->m_bXMLEncryptMode);
    parser.Parse();
    res::warnIfIncomplete(parser);
    CXMLNode* root = parser.GetRoot();
    if (std::string(root->GetName()) != "xmldata")
        EHS_THROW(EHS_TYPE_GENERAL, 0, "Error in loading XMLData: invalid root node name!");
    if (root->GetChildrenCount() == 0) {
        CTarnis::LOG_AddLevelEntry("Warning: empty xmldata file!", 5);
        return;
    }
    for (int32_t i = 0; i < root->GetChildrenCount(); ++i) {
        CXMLNode* child = root->GetChild(i);
        child->FirstAttribute();
        for (const char* name = child->GetAttributeName(); name; name = child->GetAttributeName()) {
            CXMLVar::SetXMLVar(name, child->GetAttribute(name));
            child->NextAttribute();
        }
    }
}
