// The GUI manager: owns every element (index 0 is the root "DESKTOP"), the
// registries of classes, parameters and native actions, the enumeration and
// style stores, the tip timing, the delayed-command queue and the argument
// list of native actions. One instance per process, made after the engine's
// subsystems are up; Update runs before the game logic, Render inside the scene.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <unordered_map>
#include <vector>

#include "gui/trsgui_cguielement.h"
#include "gui/trsgui_datatypes.h"
#include "gui/trsgui_stores.h"

class CXMLNode;

class CTarnisGUI {
public:
    CTarnisGUI();
    ~CTarnisGUI();
    CTarnisGUI(const CTarnisGUI&) = delete;
    CTarnisGUI& operator=(const CTarnisGUI&) = delete;

    // The manager, or null when none exists (before creation, after destruction).
    static CTarnisGUI* Instance() { return s_pInstance; }
    // Seconds of the current frame (0.1 before the first Update), read by every element.
    static float GetFrameTime() { return s_fFrameTime; }
    // The screen size taken from the graphics subsystem at creation.
    static int32_t GetScreenWidth() { return s_iScreenWidth; }
    static int32_t GetScreenHeight() { return s_iScreenHeight; }

    // ---- registries ----
    void RegisterAction(const std::string& name, TRSGUIACTION fn);
    void RegisterClass(GUIELEMENTFACTORY factory, const std::string& name);
    void RegisterParam(const std::string& name, int32_t id, int32_t type);
    // Null when no action has that name.
    TRSGUIACTION FindAction(const std::string& name) const;
    // The parameter's ID, or -1 for an unknown name.
    int32_t GetParamID(const std::string& name) const;
    // The parameter's type tag, or GUIVAL_NONE for an unknown ID.
    int32_t GetParamType(int32_t id) const;

    // ---- elements (by integer index or string ID; parameters by ID or name) ----
    // Exact, case-sensitive match; -1 when absent.
    int32_t GetElementID(const std::string& id) const;
    int32_t GetElementCount() const { return int32_t(m_vecElements.size()); }
    // Null for an index outside the table.
    CGUIElement* GetElement(int32_t index) const;
    // The class name the element was made with ("" outside the table).
    const std::string& GetElementClass(int32_t index) const;

    int32_t AddNewElement(const std::string& className, const std::string& id, int32_t parent);
    int32_t AddNewElement(const std::string& className, const std::string& id, const std::string& parent);

    void SetElementParam(int32_t element, int32_t param, const CGUIValue& value);
    void SetElementParam(int32_t element, const std::string& param, const CGUIValue& value);
    void SetElementParam(const std::string& element, int32_t param, const CGUIValue& value);
    void SetElementParam(const std::string& element, const std::string& param, const CGUIValue& value);
    CGUIValue GetElementParam(int32_t element, int32_t param);
    CGUIValue GetElementParam(int32_t element, const std::string& param);
    CGUIValue GetElementParam(const std::string& element, int32_t param);
    CGUIValue GetElementParam(const std::string& element, const std::string& param);

    // Runs the command now (delay <= 0) or queues it for a later Update.
    void ExecuteElementCommand(int32_t element, int32_t command, float delay);
    void ExecuteElementCommand(const std::string& element, int32_t command, float delay);

    // The element becomes this frame's tip; an index outside the table is ignored.
    void SetCurTip(int32_t element);
    void SetCurTip(const std::string& element);
    int32_t GetCurTip() const { return m_iCurTip; }

    // ---- per frame ----
    void Update();
    // Draws the tree (the viewport starts as the whole screen), then the current tip.
    void Render();

    // ---- clipping, for elements that draw only inside their rect ----
    // Narrows the scene viewport to the intersection of rect (each value
    // truncated to whole pixels) with the viewport set now, and returns the
    // viewport to hand back to RestoreViewport after drawing, so clipped
    // elements nest inside each other.
    GUIRECT ClipViewport(const GUIRECT& rect);
    void RestoreViewport(const GUIRECT& previous);
    const GUIRECT& GetViewport() const { return m_rcViewport; }

    // ---- handlers and their arguments ----
    // Runs a set handler (an unset one is skipped) with its arguments. A script
    // handler gets them appended to the script host's parameter list (a point
    // as two numbers, a rect as four); a native one finds them in the action
    // arguments. Each native call gets a list of its own: the caller's
    // arguments are kept aside and restored, so nested handlers never see or
    // clear each other's.
    void RunAction(const CGUIAction& action, std::initializer_list<CGUIValue> args = {});

    // The arguments of the native action running now. ClearActionArgs and
    // PushActionArg work on that call's list only.
    void ClearActionArgs();
    void PushActionArg(float value);
    void PushActionArg(bool value);
    void PushActionArg(const GUIPOINT& value);
    void PushActionArg(const GUIRECT& value);
    int32_t GetActionArgCount() const { return int32_t(m_vecActionArgs.size() - m_uActionArgsBase); }
    // A missing index raises "Cannot read GUI action argument: invalid index! Index = " + index;
    // the typed readers raise the CGUIValue type error for another type.
    const CGUIValue& GetActionArg(int32_t index) const;
    float GetActionArgFloat(int32_t index) const { return GetActionArg(index).GetFloat(); }
    bool GetActionArgBool(int32_t index) const { return GetActionArg(index).GetBool(); }
    const GUIPOINT& GetActionArgPoint(int32_t index) const { return GetActionArg(index).GetPoint(); }
    const GUIRECT& GetActionArgRect(int32_t index) const { return GetActionArg(index).GetRect(); }

    // ---- data (trsgui_ctarnisgui_xmlload.cpp) ----
    // Resolves a parameter's name and converts its text form by its type.
    CGUIValue ParseParamValue(const std::string& name, const std::string& text, int32_t* paramID);
    void ApplyStyle(const CGUIStyle& style, int32_t element);
    void ReadGUIData(CXMLNode* root);
    void ReadGUIEnumData(CXMLNode* root, const std::string& id);
    void ReadGUIStyleData(CXMLNode* root, const std::string& id);
    // Null when not in memory (no loading).
    CGUIEnum* FindEnum(const std::string& id) const;
    CGUIStyle* FindStyle(const std::string& id) const;
    // Looked up, loading the resource of that ID when absent.
    CGUIEnum* DemandEnum(const std::string& id);
    CGUIStyle* DemandStyle(const std::string& id);

private:
    struct DelayedCommand {
        int32_t element;
        int32_t command;
        float delay;
    };

    void registerStandardClasses();
    void registerStandardParams();
    void registerLoaders();
    void updateTip();
    int32_t elementForSet(const std::string& element) const;
    int32_t elementForGet(const std::string& element) const;
    void readElementNode(CXMLNode* node, int32_t parent);

    std::vector<CGUIElement*> m_vecElements;
    std::vector<std::string> m_vecElementClasses;
    std::unordered_map<std::string, int32_t> m_mapElementIDs;
    std::unordered_map<std::string, TRSGUIACTION> m_mapActions;
    std::unordered_map<std::string, GUIELEMENTFACTORY> m_mapClasses;
    std::unordered_map<std::string, int32_t> m_mapParamIDs;
    std::unordered_map<int32_t, int32_t> m_mapParamTypes;

    int32_t m_iCurTip = -1;
    int32_t m_iPrevTip = -1;
    float m_fTipCountdown = 1.0f;
    float m_fPrevTipCountdown = 1.0f;
    float m_fTipAppearDelay = 1.0f;

    std::vector<DelayedCommand> m_vecDelayed;
    // Records taken out of the queue while they run (kept to reuse its storage).
    std::vector<DelayedCommand> m_vecDue;

    // The native calls' arguments as a stack: the running call's list starts at the base.
    std::vector<CGUIValue> m_vecActionArgs;
    size_t m_uActionArgsBase = 0;

    // The viewport the GUI set last (the whole screen outside clipped elements).
    GUIRECT m_rcViewport;

    CGUIEnumsManager* m_pEnums = nullptr;
    CGUIStylesManager* m_pStyles = nullptr;

    static inline CTarnisGUI* s_pInstance = nullptr;
    static inline float s_fFrameTime = 0.1f;
    static inline int32_t s_iScreenWidth = 0;
    static inline int32_t s_iScreenHeight = 0;
};
