// Decoders of the audio-library subset: sound files through libsndfile's virtual
// I/O over a byte range of a file (loose files and files inside PAK archives
// alike), tracker modules through libopenmpt. Results are stereo float frames.
// Limits: memory images are not read; a sample holds at most kMaxSampleFrames.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/platform/audio/tns_audio_mixer.h"

namespace tns::audio {

// Why a file could not be read; the audio library's front maps these to its
// own error codes.
enum class DecodeError : int { None = 0, FileOpen, Format, Memory };

constexpr int64_t kMaxSampleFrames = int64_t(1) << 25;

// A window onto bytes [begin, begin + length) of an open file.
struct FileRange {
    FILE* file = nullptr;
    int64_t begin = 0;
    int64_t length = 0;
    int64_t pos = 0;

    FileRange() = default;
    FileRange(const FileRange&) = delete;
    FileRange& operator=(const FileRange&) = delete;
    ~FileRange() { close(); }
    // length 0 reaches to the end of the file.
    DecodeError open(const char* name, uint32_t offset, uint32_t length);
    void close();
    int64_t read(void* dst, int64_t count);
};

// Opens a libsndfile reader over the range (an opaque SNDFILE), null when the
// bytes are no sound file it can read.
void* OpenSndfile(FileRange* range, int* rate, int* channels);
// Interleaved frames of any channel count to stereo: mono doubles, more keep two.
void ToStereo(const float* in, int channels, int frames, float* out);

// Decodes the whole range into memory.
DecodeError DecodeSample(const char* name, uint32_t offset, uint32_t length, SampleData* out);

// A sound file decoded while it plays: a decode thread (StreamPump) fills a
// ring of frames ahead of the voice, so the render thread never touches the disk.
class StreamDecoder : public PullSource {
public:
    StreamDecoder() = default;
    ~StreamDecoder() override;
    StreamDecoder(const StreamDecoder&) = delete;
    StreamDecoder& operator=(const StreamDecoder&) = delete;
    DecodeError open(const char* name, uint32_t offset, uint32_t length);
    int rate() const { return m_rate; }

    // Render thread.
    int pull(float* stereo, int frames) override;
    bool ended() const override;

    // Decode thread, or the engine thread while the voice is stopped; both with
    // the pump's lock held. Returns true when it decoded anything.
    bool decodeAhead(int maxFrames);
    // Back to the first frame with an empty ring; only while the voice is stopped.
    void restart(bool loop);
    void setLoop(bool loop) { m_loop.store(loop); }

private:
    static constexpr int64_t kRingFrames = 32768;
    static constexpr int kChunkFrames = 2048;

    FileRange m_range;
    void* m_sndfile = nullptr; // SNDFILE, kept opaque to the includers
    int m_rate = 44100;
    int m_channels = 2;
    std::vector<float> m_ring;
    std::vector<float> m_scratch;
    std::atomic<int64_t> m_write{0};
    std::atomic<int64_t> m_read{0};
    std::atomic<bool> m_eof{false};
    std::atomic<bool> m_loop{false};
};

// The thread that keeps every stream's ring filled.
class StreamPump {
public:
    StreamPump();
    ~StreamPump();
    std::mutex& mutex() { return m_mutex; }
    // With mutex() held.
    void add(StreamDecoder* stream);
    void remove(StreamDecoder* stream);
    void wake() { m_wake.notify_one(); }

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<StreamDecoder*> m_streams;
    bool m_quit = false;
    std::thread m_thread;
};

// A tracker module rendered at the output rate by libopenmpt, on the render thread.
class ModuleSource : public PullSource {
public:
    explicit ModuleSource(int outputRate) : m_rate(outputRate) {}
    ~ModuleSource() override;
    ModuleSource(const ModuleSource&) = delete;
    ModuleSource& operator=(const ModuleSource&) = delete;
    DecodeError open(const char* name, uint32_t offset, uint32_t length);
    // With the mixer's lock held.
    void restart(uint32_t order, bool loop);

    int pull(float* stereo, int frames) override;
    bool ended() const override { return m_ended; }

private:
    void* m_module = nullptr; // openmpt_module, kept opaque to the includers
    int m_rate;
    bool m_ended = false;
};

} // namespace tns::audio
