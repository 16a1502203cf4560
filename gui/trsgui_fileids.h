// Checkpoint file IDs of the GUI library (the range 302 to 349 is the GUI's).
// Each source file records its own ID with EHS_CHECKPOINT on function entry.
#pragma once

#include <cstdint>

constexpr int32_t EHS_FILE_TRSGUI_DATATYPES = 302;
constexpr int32_t EHS_FILE_TRSGUI_MAIN = 304;
constexpr int32_t EHS_FILE_TRSGUI_REGISTRY = 305;
constexpr int32_t EHS_FILE_TRSGUI_ELEMENT = 307;
constexpr int32_t EHS_FILE_TRSGUI_DESKTOP = 310;
constexpr int32_t EHS_FILE_TRSGUI_TILE = 312;
constexpr int32_t EHS_FILE_TRSGUI_XMLLOAD = 313;
constexpr int32_t EHS_FILE_TRSGUI_TIP = 315;
constexpr int32_t EHS_FILE_TRSGUI_ADVTILE = 318;
constexpr int32_t EHS_FILE_TRSGUI_WINDOW = 320;
constexpr int32_t EHS_FILE_TRSGUI_ANIMTILE = 322;
constexpr int32_t EHS_FILE_TRSGUI_LABEL = 324;
constexpr int32_t EHS_FILE_TRSGUI_TEXTBOX = 326;
constexpr int32_t EHS_FILE_TRSGUI_BUTTON = 328;
constexpr int32_t EHS_FILE_TRSGUI_CHECKBOX = 330;
constexpr int32_t EHS_FILE_TRSGUI_SCROLLBASE = 332;
constexpr int32_t EHS_FILE_TRSGUI_VERSCROLL = 334;
constexpr int32_t EHS_FILE_TRSGUI_HORSCROLL = 336;
constexpr int32_t EHS_FILE_TRSGUI_LISTBOX = 338;
constexpr int32_t EHS_FILE_TRSGUI_SCROLLBOX = 340;
constexpr int32_t EHS_FILE_TRSGUI_FLEX = 342;
constexpr int32_t EHS_FILE_TRSGUI_TIMER = 344;
constexpr int32_t EHS_FILE_TRSGUI_GLUE = 345;
constexpr int32_t EHS_FILE_TRSGUI_ACTIONS = 349;
