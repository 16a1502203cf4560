// Streams: a libsndfile reader feeding a single-producer single-consumer ring of
// stereo frames, and the decode thread that keeps every ring topped up.
// Stands in for the audio library's file streams; the render thread only reads
// the ring and never waits on the disk or on a lock held by the decoder.
#include <algorithm>
#include <atomic>
#include <chrono>

#include <sndfile.h>

#include "engine/platform/audio/tns_audio_decode.h"
#include "engine/platform/audio/tns_audio_output.h"

namespace tns::audio {

StreamDecoder::~StreamDecoder()
{
    if (m_sndfile) sf_close(static_cast<SNDFILE*>(m_sndfile));
}

DecodeError StreamDecoder::open(const char* name, uint32_t offset, uint32_t length)
{
    if (DecodeError error = m_range.open(name, offset, length); error != DecodeError::None) return error;
    m_sndfile = OpenSndfile(&m_range, &m_rate, &m_channels);
    if (!m_sndfile) return DecodeError::Format;
    m_ring.assign(size_t(kRingFrames) * 2, 0.0f);
    m_scratch.assign(size_t(kChunkFrames) * size_t(m_channels), 0.0f);
    return DecodeError::None;
}

int StreamDecoder::pull(float* stereo, int frames)
{
    const int64_t read = m_read.load(std::memory_order_relaxed);
    const int64_t available = m_write.load(std::memory_order_acquire) - read;
    const int n = int(std::min<int64_t>(frames, available));
    for (int i = 0; i < n; ++i) {
        const size_t at = size_t((read + i) % kRingFrames) * 2;
        stereo[i * 2] = m_ring[at];
        stereo[i * 2 + 1] = m_ring[at + 1];
    }
    m_read.store(read + n, std::memory_order_release);
    return n;
}

bool StreamDecoder::ended() const
{
    return m_eof.load(std::memory_order_acquire) &&
           m_write.load(std::memory_order_acquire) == m_read.load(std::memory_order_acquire);
}

bool StreamDecoder::decodeAhead(int maxFrames)
{
    auto* sf = static_cast<SNDFILE*>(m_sndfile);
    if (!sf || m_eof.load(std::memory_order_relaxed)) return false;
    bool decoded = false;
    bool justRewound = false;
    while (maxFrames > 0) {
        const int64_t write = m_write.load(std::memory_order_relaxed);
        const int64_t space = kRingFrames - (write - m_read.load(std::memory_order_acquire));
        const int n = int(std::min<int64_t>({space, int64_t(kChunkFrames), int64_t(maxFrames)}));
        if (n <= 0) break;
        const sf_count_t got = sf_readf_float(sf, m_scratch.data(), n);
        if (got <= 0) {
            // A loop over a file that yields nothing would spin forever: end it instead.
            if (m_loop.load(std::memory_order_relaxed) && !justRewound) {
                sf_seek(sf, 0, SEEK_SET);
                justRewound = true;
                continue;
            }
            m_eof.store(true, std::memory_order_release);
            break;
        }
        justRewound = false;
        for (sf_count_t i = 0; i < got; ++i) {
            const size_t at = size_t((write + i) % kRingFrames) * 2;
            ToStereo(&m_scratch[size_t(i) * size_t(m_channels)], m_channels, 1, &m_ring[at]);
        }
        m_write.store(write + got, std::memory_order_release);
        maxFrames -= int(got);
        decoded = true;
    }
    return decoded;
}

void StreamDecoder::restart(bool loop)
{
    if (m_sndfile) sf_seek(static_cast<SNDFILE*>(m_sndfile), 0, SEEK_SET);
    m_read.store(0);
    m_write.store(0);
    m_eof.store(false);
    m_loop.store(loop);
}

namespace {
std::atomic<ThreadHook> g_threadHook{nullptr};
} // namespace

void SetThreadHook(ThreadHook hook)
{
    g_threadHook.store(hook);
}

void RunThreadHook()
{
    if (ThreadHook hook = g_threadHook.load()) hook();
}

StreamPump::StreamPump() : m_thread([this] { run(); }) {}

StreamPump::~StreamPump()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void StreamPump::add(StreamDecoder* stream)
{
    m_streams.push_back(stream);
}

void StreamPump::remove(StreamDecoder* stream)
{
    m_streams.erase(std::remove(m_streams.begin(), m_streams.end(), stream), m_streams.end());
}

void StreamPump::run()
{
    RunThreadHook();
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_quit) {
        for (StreamDecoder* s : m_streams) s->decodeAhead(1 << 30);
        // A ring holds about three quarters of a second; waking every 10 ms keeps
        // it nearly full even at high playback rates.
        m_wake.wait_for(lock, std::chrono::milliseconds(10));
    }
}

} // namespace tns::audio
