// Sound subsystem start and end, the global operations and the per-frame step
// that changes music over and advances the playlist.
#include <new>

#include "engine/core/ctarnis.h"
#include "engine/core/titemsmanager.h"
#include "engine/sfx/ctarnis_sfx_classes.h"

namespace {

template <class T>
TItemsManager<T>* createManager(const char* creating, const char* failure, bool last)
{
    CTarnis::LOG_AddEmptyLines(1);
    CTarnis::LOG_AddLevelEntry(creating, kLogStep);
    auto* manager = new (std::nothrow) TItemsManager<T>;
    if (!manager) EHS_THROW(EHS_TYPE_GENERAL, 0, failure);
    CTarnis::LOG_AddEmptyLines(1);
    CTarnis::LOG_AddLevelEntry("Done.", kLogDone);
    if (!last) CTarnis::LOG_AddEmptyLines(1);
    return manager;
}

template <class T>
void destroyManager(TItemsManager<T>*& manager, const char* destroying)
{
    CTarnis::LOG_AddLevelEntry(destroying, kLogStep);
    if (!manager) {
        CTarnis::LOG_AddLevelEntry("Failed.", kLogDone);
        return;
    }
    manager->FreeAll();
    delete manager;
    manager = nullptr;
    CTarnis::LOG_AddLevelEntry("Done.", kLogDone);
}

} // namespace

void CTarnis::SFX_Init(int32_t freq)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_MAIN);
    m_bSoundReady = true;
    LOG_AddSeparator(kSeparatorDash);
    LOG_AddLevelEntry("Initializing Sound and Music Subsystem...", kLogSection);
    if (!m_bGraphicsCreated)
        EHS_THROW(EHS_TYPE_GAME, 0, "Sound and Music system should be initialized after graphics system!");

    m_bNoSoundMode = false;
    if (!BASS_Init(TNS_BASS_DEFAULT_DEVICE, DWORD(freq), TNS_BASS_ENGINE_DEVICE_FLAGS, m_hGameWindow)) {
        m_bNoSoundMode = true;
        const BOOL silent = BASS_Init(TNS_BASS_NOSOUND_DEVICE, DWORD(freq), TNS_BASS_ENGINE_DEVICE_FLAGS, m_hGameWindow);
        const int code = BASS_ErrorGetCode();
        LOG_AddLevelEntry("No sound card available!", kLogWarning);
        if (!silent) EHS_THROW(EHS_TYPE_GENERAL, code, "Cannot initialize BASS library!");
    }
    if (!BASS_Start()) EHS_THROW(EHS_TYPE_GENERAL, BASS_ErrorGetCode(), "Cannot start digital output!");

    m_pSoundsManager = createManager<TRSSound>("Creating Sounds Manager...", "Cannot create Sounds Manager!", false);
    m_pMusicManager = createManager<TRSMusic>("Creating Music Manager...", "Cannot create Music Manager!", false);
    m_pPlaylistsManager =
        createManager<TRSPlaylist>("Creating Playlists Manager...", "Cannot create Playlists Manager!", true);

    m_iCurrentMusic = -1;
    m_iPendingMusic = -1;
    m_iCurrentPlaylist = -1;
    m_bPendingLoop = false;
    LOG_AddLevelEntry("Done.", kLogDone);
    LOG_AddSeparator(kSeparatorDash);
    LOG_AddEmptyLines(1);
}

void CTarnis::SFX_Deinit()
{
    EHS_CHECKPOINT(EHS_FILE_SFX_MAIN);
    LOG_AddSeparator(kSeparatorDash);
    LOG_AddLevelEntry("Deinitializing Sound and Music Subsystem...", kLogSection);
    destroyManager(m_pSoundsManager, "Destroying Sounds Manager...");
    destroyManager(m_pMusicManager, "Destroying Music Manager...");
    destroyManager(m_pPlaylistsManager, "Destroying Playlists Manager...");
    BASS_Stop();
    BASS_Free();
    LOG_AddLevelEntry("Done.", kLogDone);
    LOG_AddSeparator(kSeparatorDash);
    LOG_AddEmptyLines(1);
    m_iCurrentMusic = m_iPendingMusic = m_iCurrentPlaylist = -1;
    m_bSoundReady = false;
}

void CTarnis::SFX_Start()
{
    if (!m_bSoundReady || m_bNoSoundMode) return;
    BASS_Start();
}

void CTarnis::SFX_Pause()
{
    if (!m_bSoundReady || m_bNoSoundMode) return;
    BASS_Pause();
}

void CTarnis::SFX_SetGlobalVolumes(int32_t effectsVolume, int32_t musicVolume)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_MAIN);
    if (!m_bSoundReady || m_bNoSoundMode) return;
    BASS_SetGlobalVolumes(musicVolume, effectsVolume, effectsVolume);
}

float CTarnis::SFX_GetCPU()
{
    if (!m_bSoundReady || m_bNoSoundMode) return 0.0f;
    return BASS_GetCPU();
}

void CTarnis::SFX_Update()
{
    EHS_CHECKPOINT(EHS_FILE_SFX_MAIN);
    if (!m_bSoundReady || m_bNoSoundMode) return;
    // The playlist chooses while the music that just ended is still current,
    // so it can leave that one out.
    if (SFX_MusicGetStatus() == 0 && m_iCurrentPlaylist != -1) SFX_PlaylistNext();
    if (SFX_MusicGetStatus() == 0) m_iCurrentMusic = -1;
    if (m_iPendingMusic != -1 && m_iCurrentMusic == -1) {
        m_iCurrentMusic = m_iPendingMusic;
        m_iPendingMusic = -1;
        if (!m_pMusicManager || !m_pMusicManager->IsValidID(m_iCurrentMusic))
            EHS_THROW(EHS_TYPE_GENERAL, 0, "Cannot play music - invalid ID!");
        m_pMusicManager->GetItem(m_iCurrentMusic)->Play(m_bPendingLoop);
    }
}
