// The sound subsystem's items: sound effects (a sample in memory or a stream
// read while it plays), the two kinds of music object, playlists and the
// weighted random picker that chooses the next playlist track.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/platform/audio/bass.h"


// One sound effect. Loading happens in the constructor, which raises "Cannot
// load sample!" or "Cannot create stream!" with the audio library's error code.
class TRSSound {
public:
    TRSSound(const char* fileName, bool isStream, int32_t maxPlaybacks, bool noOverride, int32_t offset,
             int32_t length);
    // Stops and frees the sample or stream; a failing stop raises.
    ~TRSSound() noexcept(false);
    TRSSound(const TRSSound&) = delete;
    TRSSound& operator=(const TRSSound&) = delete;

    void Play(bool loop, int32_t freq, int32_t volume, int32_t pan);
    void Stop();
    void Pause();
    void Resume();
    void SetAttributes(int32_t freq, int32_t volume, int32_t pan);
    void SlideAttributes(int32_t freq, int32_t volume, int32_t pan, int32_t time);
    int32_t GetStatus();

    HSAMPLE m_hSample = 0;
    HSTREAM m_hStream = 0;
    bool m_bIsStream = false;
    int32_t m_iMaxPlaybacks = 1;
    bool m_bNoOverride = false;
    std::string m_strFileName;
    int32_t m_iOffset = 0;
    int32_t m_iLength = 0;
    bool m_bPaused = false;

private:
    DWORD channel() const { return m_bIsStream ? m_hStream : m_hSample; }
};

// Music that loads its module each time it starts and frees it once stopped.
class TRSMusic {
public:
    TRSMusic(const char* fileName, int32_t offset, int32_t length);
    virtual ~TRSMusic() noexcept(false);
    TRSMusic(const TRSMusic&) = delete;
    TRSMusic& operator=(const TRSMusic&) = delete;

    virtual void Play(bool loop);
    // Fade time in milliseconds; 0 stops at once.
    virtual void Stop(int32_t fadeTime);
    virtual void Pause();
    virtual void Resume();
    virtual int32_t GetStatus();
    virtual void SlideVolume(int32_t volume, int32_t time);
    // Levels of the last mixed block, 0..1.
    virtual float GetLevelLeft();
    virtual float GetLevelRight();

    HMUSIC m_hMusic = 0;
    std::string m_strFileName;
    int32_t m_iOffset = 0;
    int32_t m_iLength = 0;
    bool m_bPaused = false;
    bool m_bLoaded = false;

protected:
    void load();
    void release();
};

// Music whose module is loaded with the resource and kept until destruction.
class TRSPreloadedMusic : public TRSMusic {
public:
    TRSPreloadedMusic(const char* fileName, int32_t offset, int32_t length);
    ~TRSPreloadedMusic() noexcept(false) override;

    void Play(bool loop) override;
    void Stop(int32_t fadeTime) override;
    int32_t GetStatus() override;
};

// Music integer IDs in file order; entries whose music was not found are left out.
class TRSPlaylist {
public:
    std::vector<int32_t> m_vecEntries;
};

// Weighted random choice with the C library's generator. Its errors are plain
// texts, like the XML reader's.
template <class T>
class TRandomizer {
public:
    void Throw(const T& value, int32_t weight)
    {
        m_values.push_back(value);
        m_weights.push_back(weight);
        ++m_iCount;
    }

    T GetRandomValue() const
    {
        if (m_iCount == 0) throw "No values were thrown in randomizer!";
        if (m_iCount == 1) return m_values[0];
        int64_t total = 0;
        for (int32_t w : m_weights) total += w;
        // Weights that add up to nothing leave no range to draw from; the modulo
        // would divide by zero.
        if (total <= 0) throw "Error in TRandomizer::GetRandomValue!";
        const int64_t r = int64_t(rand()) % total;
        int64_t lower = 0;
        for (int32_t i = 0; i < m_iCount; ++i) {
            const int64_t upper = lower + m_weights[size_t(i)];
            if (lower <= r && r < upper) return m_values[size_t(i)];
            lower = upper;
        }
        throw "Error in TRandomizer::GetRandomValue!";
    }

    int32_t GetCount() const { return m_iCount; }

private:
    std::vector<T> m_values;
    std::vector<int32_t> m_weights;
    int32_t m_iCount = 0;
};
