// The standard registry contents: the sixteen element classes and the 125
// parameters with their IDs and value types, in registration order.
#include "engine/core/ctarnis.h"
#include "gui/classes/trsgui_stdclasses.h"
#include "gui/trsgui_ctarnisgui.h"
#include "gui/trsgui_fileids.h"

namespace {

struct ParamEntry {
    const char* name;
    int32_t id;
    int32_t type;
};

constexpr int32_t F = GUIVAL_FLOAT, B = GUIVAL_BOOLEAN, S = GUIVAL_STRING, A = GUIVAL_FUNCTION, P = GUIVAL_POINT,
                  R = GUIVAL_RECT, E = GUIVAL_ENUM;

// Registration order: ID order, except tag right after tip, and
// on_scrollshift and scroll_enabled right after sound_checkcell.
constexpr ParamEntry kParams[] = {
    {"zorder", 1, F}, {"coords", 2, R}, {"technique", 3, S}, {"texture", 4, S}, {"color", 5, R},
    {"visible", 6, B}, {"enabled", 7, B}, {"tip", 8, S}, {"tag", 123, F}, {"drawscheme", 9, F},
    {"drawparams", 10, R}, {"texcoords", 11, R}, {"tipappeartime", 12, F}, {"on_gotfocus", 13, A},
    {"on_lostfocus", 14, A}, {"on_click", 15, A}, {"on_hotkey", 16, A}, {"hotkey", 17, S},
    {"color_hidden", 18, R}, {"color_middle", 19, R}, {"color_shown", 20, R}, {"location_hidden", 21, P},
    {"location_middle", 22, P}, {"location_shown", 23, P}, {"time_showhide", 24, F}, {"on_hide", 25, A},
    {"on_show", 26, A}, {"on_enable", 27, A}, {"on_disable", 28, A}, {"sound_hide", 29, S},
    {"sound_show", 30, S}, {"color_begin", 31, R}, {"color_end", 32, R}, {"location_begin", 33, P},
    {"location_end", 34, P}, {"location_center", 35, P}, {"scale_begin", 36, F}, {"scale_middle", 37, F},
    {"scale_end", 38, F}, {"angle_begin", 39, F}, {"angle_middle", 40, F}, {"angle_end", 41, F},
    {"enum_frames", 42, E}, {"time_animcycle", 43, F}, {"looped", 44, B}, {"noparentenabled", 45, B},
    {"font", 46, S}, {"font_color", 47, F}, {"font_alpha", 48, F}, {"font_setdefaulttechnique", 49, B},
    {"font_scale", 50, F}, {"font_shiftx", 51, F}, {"font_shifty", 52, F}, {"text", 53, S},
    {"alignment", 54, F}, {"limitviewport", 55, B}, {"activerect", 56, R}, {"on_input", 57, A},
    {"blink_time", 58, F}, {"blink_char", 59, S}, {"maxchars", 60, F}, {"language", 61, F},
    {"sound_input", 62, S}, {"texture_normal", 63, S}, {"texture_disabled", 64, S},
    {"texture_selected", 65, S}, {"texture_pressed", 66, S}, {"childscolor_normal", 67, R},
    {"childscolor_disabled", 68, R}, {"childscolor_selected", 69, R}, {"childscolor_pressed", 70, R},
    {"on_press", 71, A}, {"on_hold", 72, A}, {"sound_press", 73, S}, {"sound_click", 74, S},
    {"sound_gotfocus", 75, S}, {"sound_lostfocus", 76, S}, {"sound_hotkey", 77, S},
    {"holdtime_start", 78, F}, {"holdtime_interval", 79, F}, {"checked", 80, B}, {"radiobutton", 81, B},
    {"texture_checked_normal", 82, S}, {"texture_checked_disabled", 83, S},
    {"texture_checked_selected", 84, S}, {"texture_checked_pressed", 85, S},
    {"childscolor_checked_normal", 86, R}, {"childscolor_checked_disabled", 87, R},
    {"childscolor_checked_selected", 88, R}, {"childscolor_checked_pressed", 89, R}, {"on_check", 90, A},
    {"on_uncheck", 91, A}, {"sound_check", 92, S}, {"sound_uncheck", 93, S}, {"minvalue", 94, F},
    {"maxvalue", 95, F}, {"curvalue", 96, F}, {"pagesize", 97, F}, {"scrollspeed", 98, F},
    {"slider", 99, B}, {"slidersize", 100, F}, {"on_scroll", 101, A}, {"cellheight", 102, F},
    {"cellscount", 103, F}, {"selectedcell", 104, F}, {"checkedcell", 105, F}, {"scrolly", 106, F},
    {"on_selectcell", 107, A}, {"on_checkcell", 108, A}, {"on_redrawcell", 109, A},
    {"on_prepareframe", 110, A}, {"sound_selectcell", 111, S}, {"sound_checkcell", 112, S},
    {"on_scrollshift", 124, A}, {"scroll_enabled", 125, B}, {"scrollx", 113, F}, {"on_update", 114, A},
    {"on_redraw", 115, A}, {"factoraction_time", 116, F}, {"factoraction_looped", 117, B},
    {"randomaction_mintime", 118, F}, {"randomaction_maxtime", 119, F}, {"on_permanentaction", 120, A},
    {"on_factoraction", 121, A}, {"on_randomaction", 122, A},
};
static_assert(std::size(kParams) == 125);

struct ClassEntry {
    const char* name;
    GUIELEMENTFACTORY factory;
};

const ClassEntry kClasses[] = {
    {"desktop", TRSGUI_CreateDesktop},     {"tile", TRSGUI_CreateTile},
    {"tip", TRSGUI_CreateTip},             {"advtile", TRSGUI_CreateAdvTile},
    {"window", TRSGUI_CreateWindow},       {"animtile", TRSGUI_CreateAnimTile},
    {"label", TRSGUI_CreateLabel},         {"textbox", TRSGUI_CreateTextBox},
    {"button", TRSGUI_CreateButton},       {"checkbox", TRSGUI_CreateCheckBox},
    {"verscroll", TRSGUI_CreateVerScroll}, {"horscroll", TRSGUI_CreateHorScroll},
    {"listbox", TRSGUI_CreateListBox},     {"scrollbox", TRSGUI_CreateScrollBox},
    {"flex", TRSGUI_CreateFlex},           {"timer", TRSGUI_CreateTimer},
};

} // namespace

void CTarnisGUI::registerStandardClasses()
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_REGISTRY);
    for (const ClassEntry& c : kClasses) RegisterClass(c.factory, c.name);
}

void CTarnisGUI::registerStandardParams()
{
    EHS_CHECKPOINT(EHS_FILE_TRSGUI_REGISTRY);
    for (const ParamEntry& p : kParams) RegisterParam(p.name, p.id, p.type);
}
