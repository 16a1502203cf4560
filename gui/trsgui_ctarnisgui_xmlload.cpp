// GUI data resources: the three loaders (screens, enumerations, styles), the
// readers of their XML trees, and the text forms of parameter values.
#include <cstring>

#include "engine/core/ctarnis.h"
#include "engine/res/ctarnis_res_main.h"
#include "engine/res/ctarnis_utils_cxmlparser.h"
#include "engine/res/ctarnis_utils_numtext.h"
#include "gui/trsgui_ctarnisgui.h"
#include "gui/trsgui_fileids.h"

namespace {

// The loaders outlive the manager in the resource manager's table.
CTarnisGUI* requireManager()
{
    CTarnisGUI* gui = CTarnisGUI::Instance();
    if (!gui) EHS_THROW(EHS_TYPE_GAME, 0, "Cannot load GUI data: the GUI manager does not exist!");
    return gui;
}

template <class Reader>
void loadXML(const uint8_t* data, int32_t size, Reader read)
{
    CXMLParser parser;
    parser.LoadFromBuffer(data, size, CTarnis::Instance()->m_bXMLEncryptMode);
    parser.Parse();
    res::warnIfIncomplete(parser);
    read(parser.GetRoot());
}

void RESLOAD_GUIData(const uint8_t* data, int32_t size, const char*, int32_t, int32_t, int32_t, int32_t)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_XMLLOAD);
    CTarnisGUI* gui = requireManager();
    loadXML(data, size, [gui](CXMLNode* root) { gui->ReadGUIData(root); });
}

void RESLOAD_GUIEnumData(const uint8_t* data, int32_t size, const char* id, int32_t, int32_t, int32_t, int32_t)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_XMLLOAD);
    CTarnisGUI* gui = requireManager();
    const std::string strID = id ? id : "";
    loadXML(data, size, [gui, &strID](CXMLNode* root) { gui->ReadGUIEnumData(root, strID); });
}

void RESLOAD_GUIStyleData(const uint8_t* data, int32_t size, const char* id, int32_t, int32_t, int32_t, int32_t)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_XMLLOAD);
    CTarnisGUI* gui = requireManager();
    const std::string strID = id ? id : "";
    loadXML(data, size, [gui, &strID](CXMLNode* root) { gui->ReadGUIStyleData(root, strID); });
}

// A space followed by a non-space starts the next field; other spaces are
// skipped; characters past the last field are dropped. So runs of spaces are
// one separator, and a leading space leaves the first field empty.
template <size_t N>
void splitFields(const std::string& text, float (&out)[N])
{
    std::string fields[N];
    size_t field = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ') {
            if (i + 1 < text.size() && text[i + 1] != ' ') ++field;
            continue;
        }
        if (field < N) fields[field] += c;
    }
    // A field holding no number reads as 0.
    for (size_t i = 0; i < N; ++i) res::readDecimalFloat(fields[i].c_str(), out[i]);
}

} // namespace

void CTarnisGUI::registerLoaders()
{
    // Loaders registered by an earlier manager of this engine are already ours.
    CTarnis* trs = CTarnis::Instance();
    const std::pair<const char*, LoadResFunc> loaders[] = {
        {"GUIDATA", RESLOAD_GUIData}, {"GUIENUMDATA", RESLOAD_GUIEnumData}, {"GUISTYLEDATA", RESLOAD_GUIStyleData}};
    for (const auto& [type, fn] : loaders) {
        auto it = trs->m_mapLoadRes.find(type);
        if (it == trs->m_mapLoadRes.end() || it->second != fn) trs->RES_RegisterLoadResFunction(fn, type);
    }
}

CGUIValue CTarnisGUI::ParseParamValue(const std::string& name, const std::string& text, int32_t* paramID)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_XMLLOAD);
    const int32_t id = GetParamID(name);
    if (id < 0)
        EHS_THROW(EHS_TYPE_GAME, 0, "Cannot process GUI element param: invalid param name! Param name = " + name);
    *paramID = id;
    CGUIValue value;
    if (text.empty()) {
        CTarnis::LOG_AddLevelEntry("Cannot process GUI element param: value string is empty!", 5);
        return value;
    }
    switch (GetParamType(id)) {
    case GUIVAL_FLOAT: {
        float f = 0.0f;
        res::readDecimalFloat(text.c_str(), f);
        value.SetFloat(f);
        break;
    }
    case GUIVAL_BOOLEAN: value.SetBool(text == "1" || text == "true"); break;
    case GUIVAL_STRING: value.SetString(text); break;
    case GUIVAL_FUNCTION:
        if (TRSGUIACTION fn = FindAction(text))
            value.SetFunction(fn);
        else
            value.SetString(text);
        break;
    case GUIVAL_POINT: {
        float f[2];
        splitFields(text, f);
        value.SetPoint(GUIPOINT{f[0], f[1]});
        break;
    }
    case GUIVAL_RECT: {
        float f[4];
        splitFields(text, f);
        value.SetRect(GUIRECT{f[0], f[1], f[2], f[3]});
        break;
    }
    case GUIVAL_ENUM: {
        CGUIEnum* e = DemandEnum(text);
        if (!e) EHS_THROW(EHS_TYPE_GAME, 0, "Cannot find GUIENUM data! ID = " + text);
        value.SetEnum(e);
        break;
    }
    default: EHS_THROW(EHS_TYPE_GAME, 0, "Cannot process GUI element param: invalid param type id!");
    }
    return value;
}

void CTarnisGUI::ApplyStyle(const CGUIStyle& style, int32_t element)
{
    if (style.GetParams().empty()) {
        CTarnis::LOG_AddLevelEntry("Warning: an empty GUI style!", 5);
        return;
    }
    for (const auto& [param, value] : style.GetParams()) SetElementParam(element, param, value);
}

void CTarnisGUI::ReadGUIData(CXMLNode* root)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_XMLLOAD);
    if (std::strcmp(root->GetName(), "desktop") != 0)
        EHS_THROW(EHS_TYPE_GAME, 0, "Cannot load GUI data from XML file: invalid root node name!");
    for (int32_t i = 0; i < root->GetChildrenCount(); ++i) readElementNode(root->GetChild(i), 0);
}

void CTarnisGUI::readElementNode(CXMLNode* node, int32_t parent)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_XMLLOAD);
    const std::string id = node->GetAttribute("id");
    int32_t index = GetElementID(id);
    if (index < 0) index = AddNewElement(node->GetName(), id, parent);
    // Byte-wise name order: what sorts before a style reference may be
    // overwritten by the style, what sorts after it overrides the style.
    for (node->FirstAttribute(); const char* name = node->GetAttributeName(); node->NextAttribute()) {
        if (std::strcmp(name, "id") == 0) continue;
        const std::string text = node->GetAttribute(name);
        if (std::strncmp(name, "style", 5) == 0) {
            CGUIStyle* style = DemandStyle(text);
            if (!style) EHS_THROW(EHS_TYPE_GAME, 0, "Cannot find GUISTYLE data! ID = " + text);
            ApplyStyle(*style, index);
            continue;
        }
        int32_t param = 0;
        CGUIValue value = ParseParamValue(name, text, &param);
        SetElementParam(index, param, value);
    }
    for (int32_t i = 0; i < node->GetChildrenCount(); ++i) readElementNode(node->GetChild(i), index);
}

void CTarnisGUI::ReadGUIEnumData(CXMLNode* root, const std::string& id)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_XMLLOAD);
    if (std::strcmp(root->GetName(), "guienum") != 0)
        EHS_THROW(EHS_TYPE_GAME, 0, "Cannot load GUIENUM data from XML file: invalid root node name!");
    if (FindEnum(id)) return;
    auto* e = new CGUIEnum;
    for (root->FirstAttribute(); const char* name = root->GetAttributeName(); root->NextAttribute())
        e->AddItem(name, root->GetAttribute(name));
    m_pEnums->AddItem(e, id, 0);
}

void CTarnisGUI::ReadGUIStyleData(CXMLNode* root, const std::string& id)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_XMLLOAD);
    if (std::strcmp(root->GetName(), "guistyle") != 0)
        EHS_THROW(EHS_TYPE_GAME, 0, "Cannot load GUISTYLE data from XML file: invalid root node name!");
    if (FindStyle(id)) return;
    CGUIStyle style;
    for (root->FirstAttribute(); const char* name = root->GetAttributeName(); root->NextAttribute()) {
        int32_t param = 0;
        CGUIValue value = ParseParamValue(name, root->GetAttribute(name), &param);
        style.AddParam(param, value);
    }
    m_pStyles->AddItem(new CGUIStyle(std::move(style)), id, 0);
}

CGUIEnum* CTarnisGUI::FindEnum(const std::string& id) const
{
    return m_pEnums->GetItem(m_pEnums->FindByStrID(id));
}

CGUIStyle* CTarnisGUI::FindStyle(const std::string& id) const
{
    return m_pStyles->GetItem(m_pStyles->FindByStrID(id));
}

CGUIEnum* CTarnisGUI::DemandEnum(const std::string& id)
{
    if (CGUIEnum* e = FindEnum(id)) return e;
    CTarnis::Instance()->RES_LoadResource(id.c_str());
    return FindEnum(id);
}

CGUIStyle* CTarnisGUI::DemandStyle(const std::string& id)
{
    if (CGUIStyle* s = FindStyle(id)) return s;
    CTarnis::Instance()->RES_LoadResource(id.c_str());
    return FindStyle(id);
}
