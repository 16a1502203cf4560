// Sound effects and music objects over the audio library: every failing call
// raises its message with the library's error code taken right after the call.
#include "engine/sfx/ctarnis_sfx_classes.h"

#include "engine/core/ctarnis.h"

// Raised right after the failing call, so the code is that call's.
#define SFX_RAISE(text) EHS_THROW(EHS_TYPE_GENERAL, BASS_ErrorGetCode(), (text))

TRSSound::TRSSound(const char* fileName, bool isStream, int32_t maxPlaybacks, bool noOverride, int32_t offset,
                   int32_t length)
    : m_bIsStream(isStream), m_iMaxPlaybacks(maxPlaybacks < 1 ? 1 : maxPlaybacks), m_bNoOverride(noOverride),
      m_strFileName(fileName ? fileName : ""), m_iOffset(offset), m_iLength(length)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_CLASSES);
    // Negative offsets or lengths become ranges beyond any file: the library
    // refuses them with its file error.
    if (m_bIsStream) {
        m_hStream = BASS_StreamCreateFile(FALSE, m_strFileName.c_str(), DWORD(offset), DWORD(length),
                                          BASS_SAMPLE_OVER_POS);
        if (!m_hStream) SFX_RAISE("Cannot create stream!");
    } else {
        m_hSample = BASS_SampleLoad(FALSE, m_strFileName.c_str(), DWORD(offset), DWORD(length),
                                    DWORD(m_iMaxPlaybacks), m_bNoOverride ? 0 : BASS_SAMPLE_OVER_POS);
        if (!m_hSample) SFX_RAISE("Cannot load sample!");
    }
}

TRSSound::~TRSSound() noexcept(false)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_CLASSES);
    if (m_bIsStream) {
        const bool stopped = BASS_ChannelStop(m_hStream);
        const int code = BASS_ErrorGetCode();
        BASS_StreamFree(m_hStream);
        if (!stopped) EHS_THROW(EHS_TYPE_GENERAL, code, "Cannot stop stream!");
    } else {
        const bool stopped = BASS_SampleStop(m_hSample);
        const int code = BASS_ErrorGetCode();
        BASS_SampleFree(m_hSample);
        if (!stopped) EHS_THROW(EHS_TYPE_GENERAL, code, "Cannot stop sample!");
    }
}

void TRSSound::Play(bool loop, int32_t freq, int32_t volume, int32_t pan)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_CLASSES);
    if (m_bIsStream) {
        if (!BASS_StreamPlay(m_hStream, TRUE, loop ? BASS_SAMPLE_LOOP : 0)) SFX_RAISE("Cannot play stream!");
        if (freq == -1 && volume == -1 && pan == -101) return;
        if (!BASS_ChannelSetAttributes(m_hStream, freq, volume, pan)) SFX_RAISE("Cannot set stream attributes!");
        return;
    }
    if (!BASS_SamplePlayEx(m_hSample, 0, freq, volume, pan, loop)) {
        // Every copy busy and none may be taken over: the request is dropped.
        // Raising here would end the game for a player who clicks quickly.
        if (BASS_ErrorGetCode() == BASS_ERROR_NOCHAN) return;
        SFX_RAISE("Cannot playback sample!");
    }
}

void TRSSound::Stop()
{
    EHS_CHECKPOINT(EHS_FILE_SFX_CLASSES);
    if (m_bIsStream) {
        if (!BASS_ChannelStop(m_hStream)) SFX_RAISE("Cannot stop stream!");
    } else if (!BASS_SampleStop(m_hSample)) {
        SFX_RAISE("Cannot stop sample!");
    }
}

void TRSSound::Pause()
{
    EHS_CHECKPOINT(EHS_FILE_SFX_CLASSES);
    if (m_bPaused) return;
    if (!BASS_ChannelPause(channel())) SFX_RAISE(m_bIsStream ? "Cannot pause stream!" : "Cannot pause sample!");
    m_bPaused = true;
}

void TRSSound::Resume()
{
    EHS_CHECKPOINT(EHS_FILE_SFX_CLASSES);
    if (!m_bPaused) return;
    if (!BASS_ChannelResume(channel()))
        SFX_RAISE(m_bIsStream ? "Cannot resume playback of stream!" : "Cannot resume playback of sample!");
    m_bPaused = false;
}

void TRSSound::SetAttributes(int32_t freq, int32_t volume, int32_t pan)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_CLASSES);
    if (!BASS_ChannelSetAttributes(channel(), freq, volume, pan))
        SFX_RAISE(m_bIsStream ? "Cannot set attributes of stream!" : "Cannot set attributes of sample!");
}

void TRSSound::SlideAttributes(int32_t freq, int32_t volume, int32_t pan, int32_t time)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_CLASSES);
    if (!BASS_ChannelSlideAttributes(channel(), freq, volume, pan, DWORD(time)))
        SFX_RAISE(m_bIsStream ? "Cannot slide attributes of stream!" : "Cannot slide attributes of sample!");
}

int32_t TRSSound::GetStatus()
{
    return int32_t(BASS_ChannelIsActive(channel()));
}

TRSMusic::TRSMusic(const char* fileName, int32_t offset, int32_t length)
    : m_strFileName(fileName ? fileName : ""), m_iOffset(offset), m_iLength(length)
{
}

TRSMusic::~TRSMusic() noexcept(false)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_CLASSES);
    Stop(0);
    if (m_bLoaded) release();
}

void TRSMusic::load()
{
    m_hMusic = BASS_MusicLoad(FALSE, m_strFileName.c_str(), DWORD(m_iOffset), DWORD(m_iLength), 0);
    if (!m_hMusic) SFX_RAISE("Cannot load music!");
    m_bLoaded = true;
}

void TRSMusic::release()
{
    BASS_MusicFree(m_hMusic);
    m_hMusic = 0;
    m_bLoaded = false;
    m_bPaused = false;
}

void TRSMusic::Play(bool loop)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_CLASSES);
    if (m_bLoaded) return;
    load();
    if (!BASS_MusicPlayEx(m_hMusic, 0, loop ? int(BASS_MUSIC_LOOP) : 0, TRUE)) SFX_RAISE("Cannot start music playback!");
}

void TRSMusic::Stop(int32_t fadeTime)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_CLASSES);
    if (!m_bLoaded) return;
    if (fadeTime == 0) {
        if (!BASS_ChannelStop(m_hMusic)) SFX_RAISE("Cannot stop music playback!");
        release();
        return;
    }
    // The module stays loaded until GetStatus finds the fade finished.
    if (!BASS_ChannelSlideAttributes(m_hMusic, -1, -2, -101, DWORD(fadeTime)))
        SFX_RAISE("Cannot slide music attributes for smooth fading!");
}

void TRSMusic::Pause()
{
    EHS_CHECKPOINT(EHS_FILE_SFX_CLASSES);
    if (!m_bLoaded || m_bPaused) return;
    if (!BASS_ChannelPause(m_hMusic)) SFX_RAISE("Cannot pause music playback!");
    m_bPaused = true;
}

void TRSMusic::Resume()
{
    EHS_CHECKPOINT(EHS_FILE_SFX_CLASSES);
    if (!m_bPaused) return;
    if (!BASS_ChannelResume(m_hMusic)) SFX_RAISE("Cannot resume music playback!");
    m_bPaused = false;
}

int32_t TRSMusic::GetStatus()
{
    if (!m_bLoaded) return 0;
    const int32_t status = int32_t(BASS_ChannelIsActive(m_hMusic));
    if (status == 0) release();
    return status;
}

void TRSMusic::SlideVolume(int32_t volume, int32_t time)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_CLASSES);
    if (!m_bLoaded || m_bPaused) return;
    if (!BASS_ChannelSlideAttributes(m_hMusic, -1, volume, -101, DWORD(time))) SFX_RAISE("Cannot slide music volume!");
}

float TRSMusic::GetLevelLeft()
{
    if (!m_bLoaded || m_bPaused) return 0.0f;
    const DWORD level = BASS_ChannelGetLevel(m_hMusic);
    return level == DWORD(-1) ? 0.0f : float(level & 0xFFFF) * 0.0078125f;
}

float TRSMusic::GetLevelRight()
{
    if (!m_bLoaded || m_bPaused) return 0.0f;
    const DWORD level = BASS_ChannelGetLevel(m_hMusic);
    return level == DWORD(-1) ? 0.0f : float(level >> 16) * 0.0078125f;
}

TRSPreloadedMusic::TRSPreloadedMusic(const char* fileName, int32_t offset, int32_t length)
    : TRSMusic(fileName, offset, length)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_CLASSES);
    load();
}

TRSPreloadedMusic::~TRSPreloadedMusic() noexcept(false)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_CLASSES);
    Stop(0);
    if (m_bLoaded) release();
}

void TRSPreloadedMusic::Play(bool loop)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_CLASSES);
    if (!BASS_MusicPlayEx(m_hMusic, 0, loop ? int(BASS_MUSIC_LOOP) : 0, TRUE)) SFX_RAISE("Cannot start music playback!");
    // An earlier fade-out left the volume at zero; bring it back.
    if (!BASS_ChannelSlideAttributes(m_hMusic, 0, 100, -101, 100)) SFX_RAISE("Cannot set music params!");
}

void TRSPreloadedMusic::Stop(int32_t fadeTime)
{
    EHS_CHECKPOINT(EHS_FILE_SFX_CLASSES);
    if (!m_bLoaded) return;
    if (fadeTime == 0) {
        if (!BASS_ChannelStop(m_hMusic)) SFX_RAISE("Cannot stop music playback!");
        return;
    }
    if (!BASS_ChannelSlideAttributes(m_hMusic, -1, -2, -101, DWORD(fadeTime)))
        SFX_RAISE("Cannot slide music attributes for smooth fading!");
}

int32_t TRSPreloadedMusic::GetStatus()
{
    return m_bLoaded ? int32_t(BASS_ChannelIsActive(m_hMusic)) : 0;
}
