// The GUI manager: creation and destruction, the registries, the element
// table and its operations, delayed commands, tip timing and the frame.
#include "gui/trsgui_ctarnisgui.h"

#include <algorithm>
#include <new>

#include "engine/core/ctarnis.h"
#include "gui/classes/trsgui_stdclasses.h"
#include "gui/trsgui_fileids.h"
#include "gui/trsgui_glue_main.h"

namespace {

const GUIRECT kWhite{1.0f, 1.0f, 1.0f, 1.0f};

} // namespace

CTarnisGUI::CTarnisGUI()
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_MAIN);
    EHS_Assert(s_pInstance == nullptr);
    s_pInstance = this;
    try {
        CTarnis* trs = CTarnis::Instance();
        EHS_Assert(trs != nullptr);
        registerLoaders();
        int32_t width = 0, height = 0;
        trs->GFX_GetResolution(&width, &height);
        s_iScreenWidth = width;
        s_iScreenHeight = height;
        m_rcViewport = GUIRECT{0.0f, 0.0f, float(width), float(height)};
        s_fFrameTime = 0.1f;
        registerStandardClasses();
        registerStandardParams();
        CGUIElement* desktop = TRSGUI_CreateDesktop("DESKTOP");
        m_vecElements.push_back(desktop);
        m_vecElementClasses.emplace_back("desktop");
        m_mapElementIDs.emplace("DESKTOP", 0);
        m_fTipAppearDelay = 1.0f;
        m_fTipCountdown = m_fPrevTipCountdown = m_fTipAppearDelay;
        m_pEnums = new (std::nothrow) CGUIEnumsManager;
        if (!m_pEnums) EHS_THROW(EHS_TYPE_GAME, 0, "Cannot create GUIEnums manager!");
        m_pStyles = new (std::nothrow) CGUIStylesManager;
        if (!m_pStyles) EHS_THROW(EHS_TYPE_GAME, 0, "Cannot create GUIStyles manager!");
        // A host without scripting still gets a working GUI (script handlers then fail when run).
        if (trs->SCR_GetLuaState()) TRSGUI_RegisterScriptFunctions();
    } catch (...) {
        for (CGUIElement* e : m_vecElements) delete e;
        delete m_pEnums;
        delete m_pStyles;
        s_pInstance = nullptr;
        throw;
    }
}

CTarnisGUI::~CTarnisGUI()
{
    for (CGUIElement* e : m_vecElements) delete e;
    m_vecElements.clear();
    m_vecDelayed.clear();
    if (m_pEnums) m_pEnums->FreeAll();
    delete m_pEnums;
    if (m_pStyles) m_pStyles->FreeAll();
    delete m_pStyles;
    m_vecActionArgs.clear();
    // The loaders and script functions stay registered with the engine; they
    // find no manager from here on and say so.
    s_pInstance = nullptr;
}

void CTarnisGUI::RegisterAction(const std::string& name, TRSGUIACTION fn)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_MAIN);
    if (m_mapActions.count(name)) EHS_THROW(EHS_TYPE_GAME, 0, "Dublicated C++ Action function! ID = " + name);
    m_mapActions.emplace(name, fn);
}

void CTarnisGUI::RegisterClass(GUIELEMENTFACTORY factory, const std::string& name)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_MAIN);
    if (m_mapClasses.count(name)) EHS_THROW(EHS_TYPE_GAME, 0, "Dublicated GUI Element class !ID = " + name);
    m_mapClasses.emplace(name, factory);
}

void CTarnisGUI::RegisterParam(const std::string& name, int32_t id, int32_t type)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_MAIN);
    const std::string rest = name + " iID = " + std::to_string(id);
    if (m_mapParamIDs.count(name))
        EHS_THROW(EHS_TYPE_GAME, 0, "Dublicated GUI Element parameter(strID)! strID = " + rest);
    if (m_mapParamTypes.count(id))
        EHS_THROW(EHS_TYPE_GAME, 0, "Dublicated GUI Element parameter(iID)! strID = " + rest);
    m_mapParamIDs.emplace(name, id);
    m_mapParamTypes.emplace(id, type);
}

TRSGUIACTION CTarnisGUI::FindAction(const std::string& name) const
{
    auto it = m_mapActions.find(name);
    return it == m_mapActions.end() ? nullptr : it->second;
}

int32_t CTarnisGUI::GetParamID(const std::string& name) const
{
    auto it = m_mapParamIDs.find(name);
    return it == m_mapParamIDs.end() ? -1 : it->second;
}

int32_t CTarnisGUI::GetParamType(int32_t id) const
{
    auto it = m_mapParamTypes.find(id);
    return it == m_mapParamTypes.end() ? GUIVAL_NONE : it->second;
}

int32_t CTarnisGUI::GetElementID(const std::string& id) const
{
    auto it = m_mapElementIDs.find(id);
    return it == m_mapElementIDs.end() ? -1 : it->second;
}

CGUIElement* CTarnisGUI::GetElement(int32_t index) const
{
    return index >= 0 && index < GetElementCount() ? m_vecElements[size_t(index)] : nullptr;
}

const std::string& CTarnisGUI::GetElementClass(int32_t index) const
{
    static const std::string none;
    return index >= 0 && index < GetElementCount() ? m_vecElementClasses[size_t(index)] : none;
}

int32_t CTarnisGUI::AddNewElement(const std::string& className, const std::string& id, int32_t parent)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_MAIN);
    CGUIElement* parentElement = GetElement(parent);
    if (!parentElement)
        EHS_THROW(EHS_TYPE_GAME, 0,
                  "Cannot add GUI element: invalid parent ID! Parent ID = " + std::to_string(parent) +
                      " Element ID = " + id);
    auto cls = m_mapClasses.find(className);
    if (cls == m_mapClasses.end())
        EHS_THROW(EHS_TYPE_GAME, 0,
                  "Cannot add GUI element: invalid class! Class ID = " + className + " Element ID = " + id);
    if (GetElementID(id) != -1)
        EHS_THROW(EHS_TYPE_GAME, 0, "Cannot add GUI element: dublicated element ID! Element ID = " + id);
    if (id.empty()) EHS_THROW(EHS_TYPE_GAME, 0, "Cannot add GUI element: element ID is null string!");

    CGUIElement* element = cls->second(id);
    m_vecElements.reserve(m_vecElements.size() + 1);
    m_vecElementClasses.reserve(m_vecElementClasses.size() + 1);
    m_vecElements.push_back(element);
    m_vecElementClasses.push_back(className);
    const int32_t index = GetElementCount() - 1;
    m_mapElementIDs.emplace(id, index);
    element->SetParent(parentElement);
    return index;
}

int32_t CTarnisGUI::AddNewElement(const std::string& className, const std::string& id, const std::string& parent)
{
    return AddNewElement(className, id, GetElementID(parent));
}

int32_t CTarnisGUI::elementForSet(const std::string& element) const
{
    const int32_t index = GetElementID(element);
    if (index < 0) EHS_THROW(EHS_TYPE_GAME, 0, "Cannot set element param: invalid element ID! Element ID = " + element);
    return index;
}

int32_t CTarnisGUI::elementForGet(const std::string& element) const
{
    const int32_t index = GetElementID(element);
    if (index < 0) EHS_THROW(EHS_TYPE_GAME, 0, "Cannot get element param: invalid element ID! Element ID = " + element);
    return index;
}

void CTarnisGUI::SetElementParam(int32_t element, int32_t param, const CGUIValue& value)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_MAIN);
    CGUIElement* e = GetElement(element);
    if (!e)
        EHS_THROW(EHS_TYPE_GAME, 0,
                  "Cannot set element param: invalid element ID! Element ID = " + std::to_string(element));
    e->SetParam(param, value);
}

void CTarnisGUI::SetElementParam(int32_t element, const std::string& param, const CGUIValue& value)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_MAIN);
    if (!GetElement(element))
        EHS_THROW(EHS_TYPE_GAME, 0,
                  "Cannot set element param: invalid element ID! Element ID = " + std::to_string(element));
    const int32_t id = GetParamID(param);
    if (id < 0) EHS_THROW(EHS_TYPE_GAME, 0, "Cannot set element param: invalid param ID! Param ID = " + param);
    SetElementParam(element, id, value);
}

void CTarnisGUI::SetElementParam(const std::string& element, int32_t param, const CGUIValue& value)
{
    SetElementParam(elementForSet(element), param, value);
}

void CTarnisGUI::SetElementParam(const std::string& element, const std::string& param, const CGUIValue& value)
{
    SetElementParam(elementForSet(element), param, value);
}

CGUIValue CTarnisGUI::GetElementParam(int32_t element, int32_t param)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_MAIN);
    CGUIElement* e = GetElement(element);
    if (!e)
        EHS_THROW(EHS_TYPE_GAME, 0,
                  "Cannot get element param: invalid element ID! Element ID = " + std::to_string(element));
    return e->GetParam(param);
}

CGUIValue CTarnisGUI::GetElementParam(int32_t element, const std::string& param)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_MAIN);
    if (!GetElement(element))
        EHS_THROW(EHS_TYPE_GAME, 0,
                  "Cannot get element param: invalid element ID! Element ID = " + std::to_string(element));
    const int32_t id = GetParamID(param);
    if (id < 0) EHS_THROW(EHS_TYPE_GAME, 0, "Cannot get element param: invalid param ID! Param ID = " + param);
    return GetElementParam(element, id);
}

CGUIValue CTarnisGUI::GetElementParam(const std::string& element, int32_t param)
{
    return GetElementParam(elementForGet(element), param);
}

CGUIValue CTarnisGUI::GetElementParam(const std::string& element, const std::string& param)
{
    return GetElementParam(elementForGet(element), param);
}

void CTarnisGUI::ExecuteElementCommand(int32_t element, int32_t command, float delay)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_MAIN);
    CGUIElement* e = GetElement(element);
    if (!e)
        EHS_THROW(EHS_TYPE_GAME, 0,
                  "Cannot pass command to element: invalid element ID! Element ID = " + std::to_string(element));
    if (delay > 0.0f)
        m_vecDelayed.push_back(DelayedCommand{element, command, delay});
    else
        e->ExecuteCommand(command);
}

void CTarnisGUI::ExecuteElementCommand(const std::string& element, int32_t command, float delay)
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_MAIN);
    const int32_t index = GetElementID(element);
    if (index < 0)
        EHS_THROW(EHS_TYPE_GAME, 0, "Cannot pass command to element: invalid element ID! Element ID = " + element);
    ExecuteElementCommand(index, command, delay);
}

void CTarnisGUI::SetCurTip(int32_t element)
{
    if (GetElement(element)) m_iCurTip = element;
}

void CTarnisGUI::SetCurTip(const std::string& element)
{
    SetCurTip(GetElementID(element));
}

void CTarnisGUI::Update()
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_MAIN);
    s_fFrameTime = CTarnis::Instance()->SYS_TimerGetDelta();
    m_iCurTip = -1;

    // Due records leave the queue before any of them runs: commands they queue
    // (through handlers) wait for the next frame, and the walk never sees the
    // queue change under it.
    m_vecDue.clear();
    size_t kept = 0;
    for (size_t i = 0; i < m_vecDelayed.size(); ++i) {
        DelayedCommand& d = m_vecDelayed[i];
        d.delay -= s_fFrameTime;
        if (d.delay <= 0.0f)
            m_vecDue.push_back(d);
        else
            m_vecDelayed[kept++] = d;
    }
    m_vecDelayed.resize(kept);
    for (const DelayedCommand& d : m_vecDue) m_vecElements[size_t(d.element)]->ExecuteCommand(d.command);

    m_vecElements[0]->Update(GUIRECT{}, kWhite, true, true, 0.0f, 0.0f);
    updateTip();
}

void CTarnisGUI::updateTip()
{
    CTarnis* trs = CTarnis::Instance();
    const float appear = m_fTipAppearDelay;
    if (m_iCurTip != m_iPrevTip) m_fTipCountdown = appear;
    if (m_iCurTip == -1) {
        m_fTipCountdown = appear;
    } else {
        if (trs->INP_MouseGetDeltaX() != 0 || trs->INP_MouseGetDeltaY() != 0) m_fTipCountdown = appear;
        if (trs->INP_MouseIsKeyPressed(2)) m_fTipCountdown = 0.0f;
        m_fTipCountdown -= s_fFrameTime;
        if (m_fTipCountdown < 0.0f) m_fTipCountdown = 0.0f;
        if (m_fTipCountdown == 0.0f) {
            CGUIElement* tip = m_vecElements[size_t(m_iCurTip)];
            if (m_fPrevTipCountdown > 0.0f || (m_iCurTip != m_iPrevTip && m_iPrevTip != -1))
                tip->ExecuteCommand(GUICMD_SHOW);
            tip->Update(GUIRECT{}, kWhite, true, true, 0.0f, 0.0f);
        }
    }
    m_iPrevTip = m_iCurTip;
    m_fPrevTipCountdown = m_fTipCountdown;
}

void CTarnisGUI::Render()
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_MAIN);
    m_rcViewport = GUIRECT{0.0f, 0.0f, float(s_iScreenWidth), float(s_iScreenHeight)};
    m_vecElements[0]->Render();
    if (m_iCurTip != -1 && m_fTipCountdown == 0.0f) m_vecElements[size_t(m_iCurTip)]->Render();
}

GUIRECT CTarnisGUI::ClipViewport(const GUIRECT& rect)
{
    const GUIRECT previous = m_rcViewport;
    // Whole pixels first, so the clip is exactly the truncated rect when it lies inside.
    const float x = float(GUIFloatToInt(rect.x)), y = float(GUIFloatToInt(rect.y));
    const float x0 = std::max(x, previous.x);
    const float y0 = std::max(y, previous.y);
    const float x1 = std::min(x + float(GUIFloatToInt(rect.width)), previous.x + previous.width);
    const float y1 = std::min(y + float(GUIFloatToInt(rect.height)), previous.y + previous.height);
    m_rcViewport = GUIRECT{x0, y0, std::max(0.0f, x1 - x0), std::max(0.0f, y1 - y0)};
    CTarnis::Instance()->GFX_SceneSetViewport(int32_t(m_rcViewport.x), int32_t(m_rcViewport.y),
                                              int32_t(m_rcViewport.width), int32_t(m_rcViewport.height));
    return previous;
}

void CTarnisGUI::RestoreViewport(const GUIRECT& previous)
{
    m_rcViewport = previous;
    CTarnis::Instance()->GFX_SceneSetViewport(int32_t(previous.x), int32_t(previous.y), int32_t(previous.width),
                                              int32_t(previous.height));
}
