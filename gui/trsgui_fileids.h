// Checkpoint file IDs of the GUI library (the range 302 to 349 is the GUI's).
// Each source file records its own ID with EHS_CHECKPOINT on function entry.
#pragma once

#include <cstdint>

constexpr int32_t EHS_FILE_TRSGUI_DATATYPES = 302;
constexpr int32_t EHS_FILE_TRSGUI_MAIN = 304;
constexpr int32_t EHS_FILE_TRSGUI_ACTIONS = 305;
constexpr int32_t EHS_FILE_TRSGUI_ELEMENT = 307;
constexpr int32_t EHS_FILE_TRSGUI_DESKTOP = 308;
constexpr int32_t EHS_FILE_TRSGUI_PLACEHOLDERS = 309;
constexpr int32_t EHS_FILE_TRSGUI_TILE = 312;
constexpr int32_t EHS_FILE_TRSGUI_XMLLOAD = 313;
constexpr int32_t EHS_FILE_TRSGUI_TIP = 314;
constexpr int32_t EHS_FILE_TRSGUI_ADVTILE = 315;
constexpr int32_t EHS_FILE_TRSGUI_WINDOW = 316;
constexpr int32_t EHS_FILE_TRSGUI_LABEL = 317;
constexpr int32_t EHS_FILE_TRSGUI_TEXTBOX = 318;
constexpr int32_t EHS_FILE_TRSGUI_BUTTON = 319;
constexpr int32_t EHS_FILE_TRSGUI_CHECKBOX = 320;
constexpr int32_t EHS_FILE_TRSGUI_ANIMTILE = 322;
constexpr int32_t EHS_FILE_TRSGUI_SCROLLBASE = 323;
constexpr int32_t EHS_FILE_TRSGUI_VERSCROLL = 324;
constexpr int32_t EHS_FILE_TRSGUI_HORSCROLL = 325;
constexpr int32_t EHS_FILE_TRSGUI_LISTBOX = 326;
constexpr int32_t EHS_FILE_TRSGUI_SCROLLBOX = 327;
constexpr int32_t EHS_FILE_TRSGUI_FLEX = 328;
constexpr int32_t EHS_FILE_TRSGUI_TIMER = 329;
constexpr int32_t EHS_FILE_TRSGUI_STORES = 330;
constexpr int32_t EHS_FILE_TRSGUI_GLUE = 345;
