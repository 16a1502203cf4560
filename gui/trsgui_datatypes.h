// Value types shared by the GUI manager, the element classes and the game:
// points, rects (also colours as r, g, b, a), the typed parameter value
// CGUIValue, the handler slot CGUIAction, and checked number conversions.
#pragma once

#include <cstdint>
#include <string>

// A native action function (a handler the game registers under a name).
using TRSGUIACTION = void (*)();

class CGUIEnum;

struct GUIPOINT {
    float x = 0.0f;
    float y = 0.0f;
};

// x, y, width, height; colours use the same four floats as red, green, blue, alpha.
struct GUIRECT {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

// Left and top edges inclusive, right and bottom exclusive.
inline bool GUIPointInRect(const GUIPOINT& p, const GUIRECT& r)
{
    return r.x <= p.x && p.x < r.x + r.width && r.y <= p.y && p.y < r.y + r.height;
}

// Each rect's left/top edge lies strictly before the other's right/bottom edge.
inline bool GUIRectsOverlap(const GUIRECT& a, const GUIRECT& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

// Colours combine component by component.
inline GUIRECT GUIColorMul(const GUIRECT& a, const GUIRECT& b)
{
    return GUIRECT{a.x * b.x, a.y * b.y, a.width * b.width, a.height * b.height};
}

// Value type tags of CGUIValue and of the parameter registry.
enum : int32_t {
    GUIVAL_NONE = 0,
    GUIVAL_FLOAT = 1,
    GUIVAL_BOOLEAN = 2,
    GUIVAL_STRING = 3,
    GUIVAL_FUNCTION = 4,
    GUIVAL_POINT = 5,
    GUIVAL_RECT = 6,
    GUIVAL_ENUM = 7,
};

// The typed value of every parameter operation. One field per type side by
// side plus the tag; every setter clears all fields first, every getter
// raises the type error when the tag does not match.
class CGUIValue {
public:
    CGUIValue() = default;
    explicit CGUIValue(float value) { SetFloat(value); }
    explicit CGUIValue(bool value) { SetBool(value); }
    explicit CGUIValue(const std::string& value) { SetString(value); }
    explicit CGUIValue(const char* value) { SetString(value ? value : ""); }
    explicit CGUIValue(TRSGUIACTION value) { SetFunction(value); }
    explicit CGUIValue(const GUIPOINT& value) { SetPoint(value); }
    explicit CGUIValue(const GUIRECT& value) { SetRect(value); }
    explicit CGUIValue(CGUIEnum* value) { SetEnum(value); }

    void SetFloat(float value);
    void SetBool(bool value);
    void SetString(const std::string& value);
    void SetFunction(TRSGUIACTION value);
    void SetPoint(const GUIPOINT& value);
    void SetRect(const GUIRECT& value);
    void SetEnum(CGUIEnum* value);

    float GetFloat() const;
    bool GetBool() const;
    const std::string& GetString() const;
    TRSGUIACTION GetFunction() const;
    const GUIPOINT& GetPoint() const;
    const GUIRECT& GetRect() const;
    CGUIEnum* GetEnum() const;

    int32_t GetType() const { return m_iType; }

private:
    void reset();

    float m_fValue = 0.0f;
    bool m_bValue = false;
    std::string m_strValue;
    TRSGUIACTION m_pfnValue = nullptr;
    GUIPOINT m_ptValue;
    GUIRECT m_rcValue;
    CGUIEnum* m_pEnumValue = nullptr;
    int32_t m_iType = GUIVAL_NONE;
};

// Kinds of CGUIAction.
enum : int32_t {
    GUIACTION_NONE = 0,
    GUIACTION_SCRIPT = 1,
    GUIACTION_NATIVE = 2,
};

// The handler slot an element keeps per on_* parameter: unset, a script
// function by name, or a native function. Elements run it only when set
// (through CTarnisGUI::RunAction, which also hands over the arguments).
class CGUIAction {
public:
    void SetScript(const std::string& name);
    void SetNative(TRSGUIACTION fn);
    // The handler setters' rule: a string makes a script handler, a function
    // pointer a native one; any other value (an untyped one from an empty
    // attribute included) is ignored. True when the slot changed.
    bool SetFromValue(const CGUIValue& value);

    bool IsSet() const { return m_iKind != GUIACTION_NONE; }
    int32_t GetKind() const { return m_iKind; }
    const std::string& GetName() const { return m_strName; }
    TRSGUIACTION GetFunction() const { return m_pfnAction; }

    // Calls the script function (with the parameters already appended to the
    // script host's list) or the native function; kind 0 raises "Unknown action type!".
    void Execute() const;

private:
    std::string m_strName;
    TRSGUIACTION m_pfnAction = nullptr;
    int32_t m_iKind = GUIACTION_NONE;
};

// Float to integer for indices, counts, key codes, z-orders and commands:
// truncation toward zero, clamped to the 32-bit range; NaN raises a game error.
int32_t GUIFloatToInt(float value);
// The same for script numbers (doubles).
int32_t GUIDoubleToInt(double value);
