// Music: loading, lookup and the one-at-a-time playback. A change of music is
// only recorded here; SFX_Update starts the pending music once the current one
// has faded out.
#include <new>
#include <string>

#include "engine/core/ctarnis.h"
#include "engine/core/titemsmanager.h"
#include "engine/sfx/ctarnis_sfx_classes.h"

namespace {

std::string text(const char* s)
{
    return s ? s : "";
}

TRSMusic* currentMusic(TItemsManager<TRSMusic>* manager, int32_t id, const char* failure)
{
    if (!manager || !manager->IsValidID(id)) EHS_THROW(EHS_TYPE_GENERAL, 0, failure);
    return manager->GetItem(id);
}

} // namespace

int32_t CTarnis::SFX_LoadMusic(const char* fileName, const char* id, int32_t tag, int32_t offset, int32_t length,
                               int32_t data1)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_MUSIC);
    if (m_bNoSoundMode) return -2;
    EHS_Assert(m_pMusicManager != nullptr);
    const int32_t existing = m_pMusicManager->FindByStrID(text(id));
    if (existing != -1) return existing;
    LOG_AddEmptyLines(1);
    LOG_AddLevelEntry("Loading music: " + text(id), kLogItem);
    TRSMusic* music = nullptr;
    if (data1 == 1) {
        music = new (std::nothrow) TRSPreloadedMusic(fileName, offset, length);
        if (!music) EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot create TRSPreloadedMusic object!");
    } else {
        music = new (std::nothrow) TRSMusic(fileName, offset, length);
        if (!music) EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot create TRSMusic object!");
    }
    const int32_t n = m_pMusicManager->AddItem(music, text(id), tag);
    LOG_AddLevelEntry("Done.", kLogDone);
    LOG_AddEmptyLines(1);
    return n;
}

int32_t CTarnis::SFX_GetMusicID(const char* id)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_MUSIC);
    if (m_bNoSoundMode) return -2;
    const int32_t n = m_pMusicManager ? m_pMusicManager->FindByStrID(text(id)) : -1;
    if (n == -1) LOG_AddLevelEntry("Cannot find iID of music with strID = " + text(id), kLogWarning);
    return n;
}

void CTarnis::SFX_MusicPlay(int32_t id, bool loop, int32_t fadeTime)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_MUSIC);
    if (m_bNoSoundMode || !g_bWindowActive) return;
    if (id == -1) EHS_THROW(EHS_TYPE_GAME, 0, "Invalid music id!");
    if (id == m_iCurrentMusic) return;
    m_iPendingMusic = id;
    m_bPendingLoop = loop;
    if (m_iCurrentMusic != -1) SFX_MusicStop(fadeTime);
}

void CTarnis::SFX_MusicPlay(const char* id, bool loop, int32_t fadeTime)
{
    SFX_MusicPlay(m_pMusicManager ? m_pMusicManager->FindByStrID(text(id)) : -1, loop, fadeTime);
}

void CTarnis::SFX_MusicStop(int32_t fadeTime)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_MUSIC);
    if (m_bNoSoundMode || !g_bWindowActive || m_iCurrentMusic == -1) return;
    currentMusic(m_pMusicManager, m_iCurrentMusic, "Cannot stop music - invalid ID!")->Stop(fadeTime);
}

int32_t CTarnis::SFX_MusicGetStatus()
{
    EHS_CHECKPOINT(EHS_FILE_SFX_MUSIC);
    if (m_bNoSoundMode || m_iCurrentMusic == -1) return 0;
    return currentMusic(m_pMusicManager, m_iCurrentMusic, "Cannot get music status - invalid ID!")->GetStatus();
}

void CTarnis::SFX_MusicSetVolume(int32_t volume, int32_t time)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_MUSIC);
    if (m_bNoSoundMode || !g_bWindowActive || m_iCurrentMusic == -1) return;
    currentMusic(m_pMusicManager, m_iCurrentMusic, "Cannot get music status - invalid ID!")->SlideVolume(volume, time);
}
