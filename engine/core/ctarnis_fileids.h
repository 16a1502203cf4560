// Every checkpoint file ID of the engine in one place: EHS_CHECKPOINT records
// them, and a fault report names the file it happened in by its ID. The values
// are frozen; the game numbers its own files from 1000.
#pragma once

#include <cstdint>

constexpr int32_t EHS_FILE_TNS_WINDOW = 111;
constexpr int32_t EHS_FILE_CTARNIS_CORE = 112;
constexpr int32_t EHS_FILE_GFX_MAIN = 113;
constexpr int32_t EHS_FILE_GFX_SCENE = 116;
constexpr int32_t EHS_FILE_GFX_VQUAD = 117;
constexpr int32_t EHS_FILE_GFX_TEX = 118;
constexpr int32_t EHS_FILE_RES_MAIN = 121;
constexpr int32_t EHS_FILE_RES_CRES = 122;
constexpr int32_t EHS_FILE_RES_LOADERS = 123;
constexpr int32_t EHS_FILE_GFX_LIGHT = 124;
constexpr int32_t EHS_FILE_GFX_TECH = 125;
constexpr int32_t EHS_FILE_GFX_FONT = 126;
constexpr int32_t EHS_FILE_INP_MAIN = 127;
constexpr int32_t EHS_FILE_INP_KEYBOARD = 128;
constexpr int32_t EHS_FILE_INP_MOUSE = 129;
constexpr int32_t EHS_FILE_SFX_MAIN = 130;
constexpr int32_t EHS_FILE_SFX_CLASSES = 132;
constexpr int32_t EHS_FILE_SFX_SOUND = 133;
constexpr int32_t EHS_FILE_SFX_MUSIC = 134;
constexpr int32_t EHS_FILE_SFX_PLAYLISTS = 135;
constexpr int32_t EHS_FILE_SCR_MAIN = 137;
constexpr int32_t EHS_FILE_GLUE_SYS = 138;
constexpr int32_t EHS_FILE_SCR_FUNC = 139;
constexpr int32_t EHS_FILE_GLUE_LOG = 146;
constexpr int32_t EHS_FILE_GLUE_GFX = 147;
constexpr int32_t EHS_FILE_GLUE_INP = 148;
constexpr int32_t EHS_FILE_GLUE_SFX = 149;
constexpr int32_t EHS_FILE_GLUE_RES = 150;
constexpr int32_t EHS_FILE_GLUE_UTIL = 151;
constexpr int32_t EHS_FILE_INP_KEYNAMES = 152;
constexpr int32_t EHS_FILE_GFX_RATING = 153;
constexpr int32_t EHS_FILE_CSMARTID = 155;
constexpr int32_t EHS_FILE_UTILS_DEMAND = 156;
constexpr int32_t EHS_FILE_CXMLVAR = 157;
