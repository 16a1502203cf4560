// The standard resource loaders registered by RES_Init. Each forwards to the
// subsystem that owns the item; a subsystem that arrives later replaces its
// loader's body in ctarnis_res_loaders.cpp with the call into its own code.
#pragma once

#include <cstdint>

#include "engine/res/ctarnis_res_types.h"

void RESLOAD_Texture(const uint8_t* data, int32_t size, const char* id, int32_t tag, int32_t data1, int32_t data2,
                     int32_t data3);
void RESLOAD_Technique(const uint8_t* data, int32_t size, const char* id, int32_t tag, int32_t data1, int32_t data2,
                       int32_t data3);
void RESLOAD_Font(const uint8_t* data, int32_t size, const char* id, int32_t tag, int32_t data1, int32_t data2,
                  int32_t data3);
void RESLOAD_Sound(const char* fileName, int32_t offset, int32_t size, const char* id, int32_t tag, int32_t data1,
                   int32_t data2, int32_t data3);
void RESLOAD_Music(const char* fileName, int32_t offset, int32_t size, const char* id, int32_t tag, int32_t data1,
                   int32_t data2, int32_t data3);
void RESLOAD_Playlist(const uint8_t* data, int32_t size, const char* id, int32_t tag, int32_t data1, int32_t data2,
                      int32_t data3);
void RESLOAD_Script(const uint8_t* data, int32_t size, const char* id, int32_t tag, int32_t data1, int32_t data2,
                    int32_t data3);
// RESLOAD_XMLData is declared with the XML variables (ctarnis_utils_cxmlvar.h).
