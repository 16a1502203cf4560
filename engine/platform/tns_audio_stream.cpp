// Streams: a libsndfile reader feeding a single-producer single-consumer ring of
// stereo frames, and the decode thread that keeps every ring topped up.
// Stands in for the audio library's file streams; the render thread only reads
// the ring and never waits on the disk or on a lock held by the decoder.
#include <algorithm>
#include <atomic>
#include <chrono>

#include <sndfile.h>

#include "engine/platform/bass.h"
#include "engine/platform/tns_audio_decode.h"
#include "engine/platform/tns_audio_output.h"

TnsStreamDecoder::~TnsStreamDecoder()
{
    if (m_sndfile) sf_close(static_cast<SNDFILE*>(m_sndfile));
}

int TnsStreamDecoder::open(const char* name, uint32_t offset, uint32_t length)
{
    if (int error = m_range.open(name, offset, length)) return error;
    m_sndfile = TnsOpenSndfile(&m_range, &m_rate, &m_channels);
    if (!m_sndfile) return BASS_ERROR_FORMAT;
    m_ring.assign(size_t(kRingFrames) * 2, 0.0f);
    m_scratch.assign(size_t(kChunkFrames) * size_t(m_channels), 0.0f);
    return BASS_OK;
}

int TnsStreamDecoder::pull(float* stereo, int frames)
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

bool TnsStreamDecoder::ended() const
{
    return m_eof.load(std::memory_order_acquire) &&
           m_write.load(std::memory_order_acquire) == m_read.load(std::memory_order_acquire);
}

bool TnsStreamDecoder::decodeAhead(int maxFrames)
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
            TnsToStereo(&m_scratch[size_t(i) * size_t(m_channels)], m_channels, 1, &m_ring[at]);
        }
        m_write.store(write + got, std::memory_order_release);
        maxFrames -= int(got);
        decoded = true;
    }
    return decoded;
}

void TnsStreamDecoder::restart(bool loop)
{
    if (m_sndfile) sf_seek(static_cast<SNDFILE*>(m_sndfile), 0, SEEK_SET);
    m_read.store(0);
    m_write.store(0);
    m_eof.store(false);
    m_loop.store(loop);
}

namespace {
std::atomic<TnsAudioThreadHook> g_threadHook{nullptr};
} // namespace

void TnsSetAudioThreadHook(TnsAudioThreadHook hook)
{
    g_threadHook.store(hook);
}

void TnsRunAudioThreadHook()
{
    if (TnsAudioThreadHook hook = g_threadHook.load()) hook();
}

TnsStreamPump::TnsStreamPump() : m_thread([this] { run(); }) {}

TnsStreamPump::~TnsStreamPump()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void TnsStreamPump::add(TnsStreamDecoder* stream)
{
    m_streams.push_back(stream);
}

void TnsStreamPump::remove(TnsStreamDecoder* stream)
{
    m_streams.erase(std::remove(m_streams.begin(), m_streams.end(), stream), m_streams.end());
}

void TnsStreamPump::run()
{
    TnsRunAudioThreadHook();
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_quit) {
        for (TnsStreamDecoder* s : m_streams) s->decodeAhead(1 << 30);
        // A ring holds about three quarters of a second; waking every 10 ms keeps
        // it nearly full even at high playback rates.
        m_wake.wait_for(lock, std::chrono::milliseconds(10));
    }
}
