// Types the resource subsystem shares with the engine root object and with the
// subsystems that register loaders: the two loader signatures, the resource
// modes and the checkpoint file IDs of the resource sources.
#pragma once

#include <cstdint>

class CTRSResource;

// A loader that receives the resource's bytes in memory. Its result is not used.
using LoadResFunc = void (*)(const uint8_t* data, int32_t size, const char* id, int32_t tag, int32_t data1,
                             int32_t data2, int32_t data3);
// A loader that is told where the bytes lie and reads them itself (streamed media).
using LoadResExFunc = void (*)(const char* fileName, int32_t offset, int32_t size, const char* id, int32_t tag,
                               int32_t data1, int32_t data2, int32_t data3);

// How RES_Init found the data folder.
enum : int32_t {
    TRS_RESMODE_NONE = 0, // no descriptor: an empty catalogue
    TRS_RESMODE_XML = 1,  // XML descriptors naming loose files
    TRS_RESMODE_PAK = 2,  // PAK archives
};
