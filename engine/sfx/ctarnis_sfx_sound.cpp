// Sound effects: loading, lookup, unloading and the operations by integer ID,
// string ID or identifier. The front checks the gates and the ID once; the
// sound object does the rest.
#include <new>
#include <string>

#include "engine/core/ctarnis.h"
#include "engine/core/titemsmanager.h"
#include "engine/res/ctarnis_utils_csmartid.h"
#include "engine/sfx/ctarnis_sfx_classes.h"

namespace {

std::string text(const char* s)
{
    return s ? s : "";
}

// The sound named by N, or the "Invalid sound ID: " error.
TRSSound* soundAt(TItemsManager<TRSSound>* manager, int32_t id)
{
    if (!manager || !manager->IsValidID(id))
        EHS_THROW(EHS_TYPE_GENERAL, 0, "Invalid sound ID: " + std::to_string(id));
    return manager->GetItem(id);
}

int32_t findSound(TItemsManager<TRSSound>* manager, const char* id)
{
    return manager ? manager->FindByStrID(text(id)) : -1;
}

} // namespace

int32_t CTarnis::SFX_LoadSound(const char* fileName, const char* id, int32_t tag, bool isStream, int32_t maxPlaybacks,
                               bool noOverride, int32_t offset, int32_t length)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_SOUND);
    if (m_bNoSoundMode) return -2;
    EHS_Assert(m_pSoundsManager != nullptr);
    const int32_t existing = m_pSoundsManager->FindByStrID(text(id));
    if (existing != -1) return existing;
    LOG_AddEmptyLines(1);
    LOG_AddLevelEntry("Loading sound: " + text(id), kLogItem);
    auto* sound = new (std::nothrow) TRSSound(fileName, isStream, maxPlaybacks, noOverride, offset, length);
    if (!sound) EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot create sound object!");
    const int32_t n = m_pSoundsManager->AddItem(sound, text(id), tag);
    CSmartID::SetIntID(text(id), n);
    LOG_AddLevelEntry("Done.", kLogDone);
    LOG_AddEmptyLines(1);
    return n;
}

int32_t CTarnis::SFX_GetSoundID(const char* id)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_SOUND);
    if (m_bNoSoundMode) return -2;
    const int32_t n = findSound(m_pSoundsManager, id);
    if (n == -1) LOG_AddLevelEntry("Cannot find iID of sound with strID = " + text(id), kLogWarning);
    return n;
}

void CTarnis::SFX_UnloadSound(const char* id)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_SOUND);
    if (m_bNoSoundMode) return;
    LOG_AddEmptyLines(1);
    LOG_AddLevelEntry("Unloading sound. strID = " + text(id), kLogStep);
    CSmartID::SetIntID(text(id), -1);
    const int32_t n = findSound(m_pSoundsManager, id);
    if (n == -1) {
        LOG_AddLevelEntry("Failed.", kLogWarning);
        return;
    }
    m_pSoundsManager->FreeItem(n);
    LOG_AddLevelEntry("Done.", kLogDone);
}

void CTarnis::SFX_UnloadSound(int32_t id)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_SOUND);
    if (m_bNoSoundMode) return;
    LOG_AddEmptyLines(1);
    LOG_AddLevelEntry("Unloading sound. iID = " + std::to_string(id), kLogStep);
    const bool freed = m_pSoundsManager && m_pSoundsManager->IsValidID(id);
    if (freed) m_pSoundsManager->FreeItem(id);
    CSmartID::ResetIntID(id, TRS_RESTYPE_SOUND);
    if (freed) LOG_AddLevelEntry("Done.", kLogDone);
    else LOG_AddLevelEntry("Failed.", kLogWarning);
}

void CTarnis::SFX_SoundPlay(int32_t id, bool loop, int32_t freq, int32_t volume, int32_t pan)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_SOUND);
    if (m_bNoSoundMode || !g_bWindowActive) return;
    soundAt(m_pSoundsManager, id)->Play(loop, freq, volume, pan);
}

void CTarnis::SFX_SoundPlay(const char* id, bool loop, int32_t freq, int32_t volume, int32_t pan)
{
    SFX_SoundPlay(findSound(m_pSoundsManager, id), loop, freq, volume, pan);
}

void CTarnis::SFX_SoundPlay(const CSmartID& id, bool loop, int32_t freq, int32_t volume, int32_t pan)
{
    SFX_SoundPlay(id.GetID(), loop, freq, volume, pan);
}

void CTarnis::SFX_SoundStop(int32_t id)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_SOUND);
    if (m_bNoSoundMode || !g_bWindowActive) return;
    soundAt(m_pSoundsManager, id)->Stop();
}

void CTarnis::SFX_SoundStop(const char* id)
{
    SFX_SoundStop(findSound(m_pSoundsManager, id));
}

void CTarnis::SFX_SoundPause(int32_t id)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_SOUND);
    if (m_bNoSoundMode || !g_bWindowActive) return;
    soundAt(m_pSoundsManager, id)->Pause();
}

void CTarnis::SFX_SoundPause(const char* id)
{
    SFX_SoundPause(findSound(m_pSoundsManager, id));
}

void CTarnis::SFX_SoundResume(int32_t id)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_SOUND);
    if (m_bNoSoundMode || !g_bWindowActive) return;
    soundAt(m_pSoundsManager, id)->Resume();
}

void CTarnis::SFX_SoundResume(const char* id)
{
    SFX_SoundResume(findSound(m_pSoundsManager, id));
}

void CTarnis::SFX_SoundSetAttributes(int32_t id, int32_t freq, int32_t volume, int32_t pan)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_SOUND);
    if (m_bNoSoundMode || !g_bWindowActive) return;
    soundAt(m_pSoundsManager, id)->SetAttributes(freq, volume, pan);
}

void CTarnis::SFX_SoundSetAttributes(const char* id, int32_t freq, int32_t volume, int32_t pan)
{
    SFX_SoundSetAttributes(findSound(m_pSoundsManager, id), freq, volume, pan);
}

void CTarnis::SFX_SoundSlideAttributes(int32_t id, int32_t freq, int32_t volume, int32_t pan, int32_t time)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_SOUND);
    if (m_bNoSoundMode || !g_bWindowActive) return;
    soundAt(m_pSoundsManager, id)->SlideAttributes(freq, volume, pan, time);
}

void CTarnis::SFX_SoundSlideAttributes(const char* id, int32_t freq, int32_t volume, int32_t pan, int32_t time)
{
    SFX_SoundSlideAttributes(findSound(m_pSoundsManager, id), freq, volume, pan, time);
}

int32_t CTarnis::SFX_SoundGetStatus(int32_t id)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_SOUND);
    if (m_bNoSoundMode) return 0;
    return soundAt(m_pSoundsManager, id)->GetStatus();
}

int32_t CTarnis::SFX_SoundGetStatus(const char* id)
{
    return SFX_SoundGetStatus(findSound(m_pSoundsManager, id));
}
