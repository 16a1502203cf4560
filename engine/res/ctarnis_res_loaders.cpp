// The eight standard loaders and their registration, in their fixed order.
#include "engine/res/ctarnis_res_loaders.h"

#include <string>

#include "engine/core/ctarnis.h"
#include "engine/res/ctarnis_utils_cxmlvar.h"

void RESLOAD_Texture(const uint8_t* data, int32_t size, const char* id, int32_t tag, int32_t data1, int32_t data2,
                     int32_t data3)
{
    EHS_CHECKPOINT(EHS_FILE_RES_LOADERS);
    // data1 = format class, data2 = mip levels, data3 = dimension.
    CTarnis* tarnis = CTarnis::Instance();
    EHS_Assert(tarnis != nullptr);
    tarnis->GFX_TexLoadFromMemory(data, size, data1, id, data2, tag, data3);
}

void RESLOAD_Technique(const uint8_t* data, int32_t size, const char*, int32_t, int32_t, int32_t, int32_t)
{
    EHS_CHECKPOINT(EHS_FILE_RES_LOADERS);
    CTarnis* tarnis = CTarnis::Instance();
    EHS_Assert(tarnis != nullptr);
    tarnis->GFX_TechLoadPack(data, size);
}

void RESLOAD_Font(const uint8_t* data, int32_t size, const char*, int32_t, int32_t, int32_t, int32_t)
{
    EHS_CHECKPOINT(EHS_FILE_RES_LOADERS);
    CTarnis* tarnis = CTarnis::Instance();
    EHS_Assert(tarnis != nullptr);
    tarnis->GFX_FontLoadFromMemory(data, size);
}

void RESLOAD_Sound(const char* fileName, int32_t offset, int32_t size, const char* id, int32_t tag, int32_t data1,
                   int32_t data2, int32_t data3)
{
    EHS_CHECKPOINT(EHS_FILE_RES_LOADERS);
    CTarnis* tarnis = CTarnis::Instance();
    EHS_Assert(tarnis != nullptr);
    tarnis->SFX_LoadSound(fileName, id, tag, data1 == 1, data2 < 1 ? 1 : data2, data3 == 1, offset, size);
}

void RESLOAD_Music(const char* fileName, int32_t offset, int32_t size, const char* id, int32_t tag, int32_t data1,
                   int32_t, int32_t)
{
    EHS_CHECKPOINT(EHS_FILE_RES_LOADERS);
    CTarnis* tarnis = CTarnis::Instance();
    EHS_Assert(tarnis != nullptr);
    tarnis->SFX_LoadMusic(fileName, id, tag, offset, size, data1);
}

void RESLOAD_Playlist(const uint8_t* data, int32_t size, const char*, int32_t, int32_t, int32_t, int32_t)
{
    EHS_CHECKPOINT(EHS_FILE_RES_LOADERS);
    CTarnis* tarnis = CTarnis::Instance();
    EHS_Assert(tarnis != nullptr);
    tarnis->SFX_PlaylistLoad(data, size);
}

void RESLOAD_Script(const uint8_t* data, int32_t size, const char* id, int32_t, int32_t, int32_t, int32_t)
{
    EHS_CHECKPOINT(EHS_FILE_RES_LOADERS);
    CTarnis* tarnis = CTarnis::Instance();
    EHS_Assert(tarnis != nullptr);
    // The resource's ID names the chunk in the interpreter's messages and the log.
    tarnis->SCR_LoadScriptFromBuffer(reinterpret_cast<const char*>(data), size_t(size < 0 ? 0 : size), id);
}

void CTarnis::RES_RegisterStandardLoaders()
{
    EHS_CHECKPOINT(EHS_FILE_RES_LOADERS);
    RES_RegisterLoadResFunction(RESLOAD_Texture, "TEXTURE");
    RES_RegisterLoadResFunction(RESLOAD_Technique, "TECHNIQUE");
    RES_RegisterLoadResFunction(RESLOAD_Font, "FONT");
    RES_RegisterLoadResExFunction(RESLOAD_Sound, "SOUND");
    RES_RegisterLoadResExFunction(RESLOAD_Music, "MUSIC");
    RES_RegisterLoadResFunction(RESLOAD_Playlist, "PLAYLIST");
    RES_RegisterLoadResFunction(RESLOAD_Script, "SCRIPT");
    RES_RegisterLoadResFunction(RESLOAD_XMLData, "XMLDATA");
}
