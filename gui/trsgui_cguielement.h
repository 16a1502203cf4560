// The base class of every GUI element: identity, place in the tree, rect,
// colour, technique and texture, visibility and enablement, tip and tag; the
// typed parameter and command interface; the per-frame update/render protocol
// through which a parent hands its on-screen rect, colour and state down.
//
// Writing a class: derive from CGUIElement (or from a standard class), handle
// your own parameter IDs in SetParam/GetParam and your own commands in
// ExecuteCommand, and pass every other ID to the base class, whose handling
// ends every chain with the unknown-ID errors. Override Update and Render
// (the base versions do nothing); StandardUpdate is the usual update. Handlers
// (CGUIAction members) run through CTarnisGUI::RunAction.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gui/trsgui_datatypes.h"

// Standard parameter IDs (names and types: the manager's registry).
enum : int32_t {
    GUIPARAM_ZORDER = 1,
    GUIPARAM_COORDS = 2,
    GUIPARAM_TECHNIQUE = 3,
    GUIPARAM_TEXTURE = 4,
    GUIPARAM_COLOR = 5,
    GUIPARAM_VISIBLE = 6,
    GUIPARAM_ENABLED = 7,
    GUIPARAM_TIP = 8,
    GUIPARAM_DRAWSCHEME = 9,
    GUIPARAM_DRAWPARAMS = 10,
    GUIPARAM_TEXCOORDS = 11,
    GUIPARAM_TIPAPPEARTIME = 12,
    GUIPARAM_ON_GOTFOCUS = 13,
    GUIPARAM_ON_LOSTFOCUS = 14,
    GUIPARAM_ON_CLICK = 15,
    GUIPARAM_ON_HOTKEY = 16,
    GUIPARAM_HOTKEY = 17,
    GUIPARAM_COLOR_HIDDEN = 18,
    GUIPARAM_COLOR_MIDDLE = 19,
    GUIPARAM_COLOR_SHOWN = 20,
    GUIPARAM_LOCATION_HIDDEN = 21,
    GUIPARAM_LOCATION_MIDDLE = 22,
    GUIPARAM_LOCATION_SHOWN = 23,
    GUIPARAM_TIME_SHOWHIDE = 24,
    GUIPARAM_ON_HIDE = 25,
    GUIPARAM_ON_SHOW = 26,
    GUIPARAM_ON_ENABLE = 27,
    GUIPARAM_ON_DISABLE = 28,
    GUIPARAM_SOUND_HIDE = 29,
    GUIPARAM_SOUND_SHOW = 30,
    GUIPARAM_COLOR_BEGIN = 31,
    GUIPARAM_COLOR_END = 32,
    GUIPARAM_LOCATION_BEGIN = 33,
    GUIPARAM_LOCATION_END = 34,
    GUIPARAM_LOCATION_CENTER = 35,
    GUIPARAM_SCALE_BEGIN = 36,
    GUIPARAM_SCALE_MIDDLE = 37,
    GUIPARAM_SCALE_END = 38,
    GUIPARAM_ANGLE_BEGIN = 39,
    GUIPARAM_ANGLE_MIDDLE = 40,
    GUIPARAM_ANGLE_END = 41,
    GUIPARAM_ENUM_FRAMES = 42,
    GUIPARAM_TIME_ANIMCYCLE = 43,
    GUIPARAM_LOOPED = 44,
    GUIPARAM_NOPARENTENABLED = 45,
    GUIPARAM_FONT = 46,
    GUIPARAM_FONT_COLOR = 47,
    GUIPARAM_FONT_ALPHA = 48,
    GUIPARAM_FONT_SETDEFAULTTECHNIQUE = 49,
    GUIPARAM_FONT_SCALE = 50,
    GUIPARAM_FONT_SHIFTX = 51,
    GUIPARAM_FONT_SHIFTY = 52,
    GUIPARAM_TEXT = 53,
    GUIPARAM_ALIGNMENT = 54,
    GUIPARAM_LIMITVIEWPORT = 55,
    GUIPARAM_ACTIVERECT = 56,
    GUIPARAM_ON_INPUT = 57,
    GUIPARAM_BLINK_TIME = 58,
    GUIPARAM_BLINK_CHAR = 59,
    GUIPARAM_MAXCHARS = 60,
    GUIPARAM_LANGUAGE = 61,
    GUIPARAM_SOUND_INPUT = 62,
    GUIPARAM_TEXTURE_NORMAL = 63,
    GUIPARAM_TEXTURE_DISABLED = 64,
    GUIPARAM_TEXTURE_SELECTED = 65,
    GUIPARAM_TEXTURE_PRESSED = 66,
    GUIPARAM_CHILDSCOLOR_NORMAL = 67,
    GUIPARAM_CHILDSCOLOR_DISABLED = 68,
    GUIPARAM_CHILDSCOLOR_SELECTED = 69,
    GUIPARAM_CHILDSCOLOR_PRESSED = 70,
    GUIPARAM_ON_PRESS = 71,
    GUIPARAM_ON_HOLD = 72,
    GUIPARAM_SOUND_PRESS = 73,
    GUIPARAM_SOUND_CLICK = 74,
    GUIPARAM_SOUND_GOTFOCUS = 75,
    GUIPARAM_SOUND_LOSTFOCUS = 76,
    GUIPARAM_SOUND_HOTKEY = 77,
    GUIPARAM_HOLDTIME_START = 78,
    GUIPARAM_HOLDTIME_INTERVAL = 79,
    GUIPARAM_CHECKED = 80,
    GUIPARAM_RADIOBUTTON = 81,
    GUIPARAM_TEXTURE_CHECKED_NORMAL = 82,
    GUIPARAM_TEXTURE_CHECKED_DISABLED = 83,
    GUIPARAM_TEXTURE_CHECKED_SELECTED = 84,
    GUIPARAM_TEXTURE_CHECKED_PRESSED = 85,
    GUIPARAM_CHILDSCOLOR_CHECKED_NORMAL = 86,
    GUIPARAM_CHILDSCOLOR_CHECKED_DISABLED = 87,
    GUIPARAM_CHILDSCOLOR_CHECKED_SELECTED = 88,
    GUIPARAM_CHILDSCOLOR_CHECKED_PRESSED = 89,
    GUIPARAM_ON_CHECK = 90,
    GUIPARAM_ON_UNCHECK = 91,
    GUIPARAM_SOUND_CHECK = 92,
    GUIPARAM_SOUND_UNCHECK = 93,
    GUIPARAM_MINVALUE = 94,
    GUIPARAM_MAXVALUE = 95,
    GUIPARAM_CURVALUE = 96,
    GUIPARAM_PAGESIZE = 97,
    GUIPARAM_SCROLLSPEED = 98,
    GUIPARAM_SLIDER = 99,
    GUIPARAM_SLIDERSIZE = 100,
    GUIPARAM_ON_SCROLL = 101,
    GUIPARAM_CELLHEIGHT = 102,
    GUIPARAM_CELLSCOUNT = 103,
    GUIPARAM_SELECTEDCELL = 104,
    GUIPARAM_CHECKEDCELL = 105,
    GUIPARAM_SCROLLY = 106,
    GUIPARAM_ON_SELECTCELL = 107,
    GUIPARAM_ON_CHECKCELL = 108,
    GUIPARAM_ON_REDRAWCELL = 109,
    GUIPARAM_ON_PREPAREFRAME = 110,
    GUIPARAM_SOUND_SELECTCELL = 111,
    GUIPARAM_SOUND_CHECKCELL = 112,
    GUIPARAM_SCROLLX = 113,
    GUIPARAM_ON_UPDATE = 114,
    GUIPARAM_ON_REDRAW = 115,
    GUIPARAM_FACTORACTION_TIME = 116,
    GUIPARAM_FACTORACTION_LOOPED = 117,
    GUIPARAM_RANDOMACTION_MINTIME = 118,
    GUIPARAM_RANDOMACTION_MAXTIME = 119,
    GUIPARAM_ON_PERMANENTACTION = 120,
    GUIPARAM_ON_FACTORACTION = 121,
    GUIPARAM_ON_RANDOMACTION = 122,
    GUIPARAM_TAG = 123,
    GUIPARAM_ON_SCROLLSHIFT = 124,
    GUIPARAM_SCROLL_ENABLED = 125,
};

// Commands every element understands (classes define more from 5 on).
enum : int32_t {
    GUICMD_SHOW = 1,
    GUICMD_HIDE = 2,
    GUICMD_ENABLE = 3,
    GUICMD_DISABLE = 4,
};

class CGUIElement {
public:
    explicit CGUIElement(const std::string& id);
    virtual ~CGUIElement() = default;
    CGUIElement(const CGUIElement&) = delete;
    CGUIElement& operator=(const CGUIElement&) = delete;

    // Virtual slots, in this order.
    // Stores the parent once and appends this element to its children;
    // another parent raises "Error in setting GUI element parent: possible element dublication!".
    virtual void SetParent(CGUIElement* parent);
    // Updates every child with this element's current rect, colour and flags
    // (when shown or active), scroll offsets 0, 0.
    virtual void UpdateChildren();
    virtual void SetParam(int32_t paramID, const CGUIValue& value);
    virtual CGUIValue GetParam(int32_t paramID);
    virtual void ExecuteCommand(int32_t commandID);
    virtual void Update(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                        float scrollX, float scrollY);
    virtual void Render();

    const std::string& GetID() const { return m_strID; }
    CGUIElement* GetParent() const { return m_pParent; }
    const std::vector<CGUIElement*>& GetChildren() const { return m_vecChildren; }

    // The children's walks. Both visit the children present when the walk
    // starts; a handler that adds a child or changes a z-order during a walk
    // takes effect when the outermost walk of this element ends.
    void UpdateChildrenWith(const GUIRECT& rect, const GUIRECT& color, bool shown, bool active, float scrollX,
                            float scrollY);
    void RenderChildren();
    // Stable bubble sort by z-order, ascending (deferred while a walk runs).
    void ResortChildren();

    // The first steps of every class's update: current colour = parent
    // colour x colour, current rect = coords placed under the parent, shown
    // and active from the parent's flags.
    void UpdateOwnState(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                        float scrollX, float scrollY);
    // A rect whose x, y are relative to the parent, placed on screen.
    static GUIRECT PlaceRect(const GUIRECT& parentRect, const GUIRECT& rect, float scrollX, float scrollY)
    {
        return GUIRECT{parentRect.x + rect.x - scrollX, parentRect.y + rect.y - scrollY, rect.width, rect.height};
    }
    // The standard update: colour and position from the parent, the flags,
    // tip hover, then the children.
    void StandardUpdate(const GUIRECT& parentRect, const GUIRECT& parentColor, bool parentShown, bool parentActive,
                        float scrollX, float scrollY);
    // The mouse cursor (window client pixels) as a point.
    static GUIPOINT GetMousePos();
    bool IsMouseOver() const { return GUIPointInRect(GetMousePos(), m_rcCurRect); }
    // When shown with a tip and `over`, makes the tip the manager's current tip.
    void CheckTip(bool over);
    void CheckTip() { CheckTip(IsMouseOver()); }

    // Conversions the parameter setters share.
    // A string is a texture string ID, demanded; a float the texture ID.
    static int32_t ValueToTexture(const CGUIValue& value);
    // A string is a sound string ID, demanded; a float the sound ID.
    static int32_t ValueToSound(const CGUIValue& value);
    // A string is a font string ID, demanded; a float the font ID.
    static int32_t ValueToFont(const CGUIValue& value);
    // A float, truncated (GUIFloatToInt).
    static int32_t ValueToInt(const CGUIValue& value) { return GUIFloatToInt(value.GetFloat()); }
    // The GUI's way of playing a sound: nothing for -1.
    static void PlaySound(int32_t soundID);

    // Fields, in this order.
    std::string m_strID;
    CGUIElement* m_pParent = nullptr;
    std::vector<CGUIElement*> m_vecChildren;
    int32_t m_iZOrder = 0;
    GUIRECT m_rcCoords;
    int32_t m_iTechnique = -1;
    int32_t m_iTexture = -1;
    GUIRECT m_clrColor{1.0f, 1.0f, 1.0f, 1.0f};
    bool m_bVisible = false;
    bool m_bEnabled = false;
    int32_t m_iTip = -1;
    int32_t m_iTag = 0;
    GUIRECT m_clrCurColor;
    GUIRECT m_rcCurRect;
    bool m_bShown = false;
    bool m_bActive = false;

protected:
    // For classes that walk their children their own way: visit the first
    // beginWalk() children by index, then call endWalk().
    size_t beginWalk()
    {
        ++m_iWalkDepth;
        return m_vecChildren.size();
    }
    void endWalk();

private:
    // Walks of this element's children in progress, and a re-sort asked for during one.
    int32_t m_iWalkDepth = 0;
    bool m_bResortPending = false;
};

// Makes a new element of a class from its element ID.
using GUIELEMENTFACTORY = CGUIElement* (*)(const std::string& id);
