// The portable mixer behind the audio-library subset: voices with their own rate,
// volume, pan and slides, mixed in float into a stereo buffer and clipped once
// at the output. Knows no device and no decoder; a backend calls render().
// Threads: the voices' fields are shared between the engine thread and the
// render thread and are touched only with the mixer's lock held (render holds it
// for one buffer, the engine for a few field writes).
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

namespace tns::audio {

// Decoded sample data: stereo interleaved float frames at the sample's rate.
struct SampleData {
    std::vector<float> frames;
    int64_t frameCount = 0;
    int rate = 44100;
};

// A source pulled by a voice (streams, music): stereo float frames at its rate.
class PullSource {
public:
    virtual ~PullSource() = default;
    // Up to frames frames into stereo; returns how many. Fewer than asked with
    // ended() false is an underrun: the voice waits (plays silence) and asks again.
    virtual int pull(float* stereo, int frames) = 0;
    virtual bool ended() const = 0;
};

enum class VoiceKind : int { Sample = 0, Stream = 1, Music = 2 };

// Status values are the audio library's (stopped 0, playing 1, paused 3).
enum : int { kVoiceStopped = 0, kVoicePlaying = 1, kVoicePaused = 3 };

struct Slide {
    bool active = false;
    float from = 0.0f;
    float to = 0.0f;
    int64_t elapsed = 0;
    int64_t total = 0;
};

struct Voice {
    static constexpr int kBlockFrames = 256;

    VoiceKind kind = VoiceKind::Sample;
    int state = kVoiceStopped;
    bool loop = false;

    // Sample voices read the shared data directly.
    const SampleData* sample = nullptr;
    double position = 0.0;

    // Pulled voices keep a block (kBlockFrames stereo frames, sized when the
    // voice is made, so sample copies cost nothing) and the two frames they
    // interpolate between.
    PullSource* source = nullptr;
    std::vector<float> block;
    int blockLength = 0;
    int blockPos = 0;
    float current[2] = {};
    float next[2] = {};
    double fraction = 0.0;
    int framesReady = 0; // how many of current/next hold data
    bool starved = false; // the last render ran out of data before its end

    float baseRate = 44100.0f; // the source's own rate: frequency 0 means this
    float rate = 44100.0f;
    float volume = 1.0f; // 0..1
    float pan = 0.0f;    // -1..1
    Slide slideRate, slideVolume, slidePan;
    bool stopAfterFade = false;

    // Order of the last start, to find the copy that has played longest.
    uint64_t startStamp = 0;
    // Peaks of the last mixed buffer after volume and pan, 0..1.
    float peakLeft = 0.0f;
    float peakRight = 0.0f;
};

class Mixer {
public:
    explicit Mixer(int outputRate);
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    int outputRate() const { return m_outputRate; }
    std::mutex& mutex() { return m_mutex; }

    // Voice registration happens at load time (it may allocate); caller holds no lock.
    void addVoice(Voice* voice);
    void removeVoice(Voice* voice);

    // The operations below expect the caller to hold mutex().
    // Starts a voice from the beginning of its data with the given attributes.
    void startVoice(Voice* voice);
    void stopVoice(Voice* voice);
    void setRate(Voice* voice, float rate);
    // Slides run in output frames; time 0 applies the target at once. A fade
    // target below zero fades to silence and stops the voice.
    void slide(Voice* voice, int freq, int volume, int pan, uint32_t timeMs);
    void setGlobalVolumes(int music, int samples, int streams);
    uint64_t nextStamp() { return ++m_stamp; }

    // Mixes frames stereo frames (float, unclipped). Takes the lock.
    void render(float* stereo, int frames);
    // Mixes and converts to 16-bit, clipping once. Takes the lock.
    void renderS16(int16_t* out, int frames);

    // Share of real time spent mixing, in percent, smoothed.
    float cpu() const { return m_cpu.load(std::memory_order_relaxed); }

private:
    void mixVoice(Voice& v, float* stereo, int frames);
    // One frame the general way (slides, loop points, pulls); false when the
    // voice is done for this buffer.
    bool mixFrame(Voice& v, float* frame, float global, float& peakL, float& peakR);
    // Runs of frames without slides that need no per-frame checks; return how
    // many frames they mixed (possibly 0: the caller then mixes one frame the
    // general way). They produce exactly what mixFrame would.
    int mixSampleRun(Voice& v, float* stereo, int frames, double step, float gl, float gr, float& peakL,
                     float& peakR);
    int mixPulledRun(Voice& v, float* stereo, int frames, double step, float gl, float gr, float& peakL,
                     float& peakR);
    bool fetchFrame(Voice& v, float* frame);
    bool advanceSlides(Voice& v);

    static constexpr int kChunkFrames = 1024;

    int m_outputRate;
    std::mutex m_mutex;
    std::vector<Voice*> m_voices;
    float m_global[3] = {1.0f, 1.0f, 1.0f};
    uint64_t m_stamp = 0;
    std::vector<float> m_mixBuffer;
    std::atomic<float> m_cpu{0.0f};
};

} // namespace tns::audio
