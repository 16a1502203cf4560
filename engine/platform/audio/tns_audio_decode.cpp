// Byte ranges of files as libsndfile virtual I/O, whole-sample decoding, and
// tracker modules through libopenmpt. Stands in for the audio library's own
// file readers; the formats are whatever the installed libraries read.
#include "engine/platform/audio/tns_audio_decode.h"

#include <algorithm>

#include <libopenmpt/libopenmpt.h>
#include <sndfile.h>

#include "engine/platform/audio/bass.h"

namespace {

constexpr int64_t kMaxModuleBytes = int64_t(64) << 20;

sf_count_t vioLength(void* user)
{
    return static_cast<TnsFileRange*>(user)->length;
}

sf_count_t vioSeek(sf_count_t offset, int whence, void* user)
{
    auto* r = static_cast<TnsFileRange*>(user);
    int64_t target = offset;
    if (whence == SEEK_CUR) target += r->pos;
    else if (whence == SEEK_END) target += r->length;
    // Decoders never get to see bytes outside the range, whatever they ask for.
    r->pos = std::clamp<int64_t>(target, 0, r->length);
    fseeko(r->file, off_t(r->begin + r->pos), SEEK_SET);
    return r->pos;
}

sf_count_t vioRead(void* dst, sf_count_t count, void* user)
{
    return static_cast<TnsFileRange*>(user)->read(dst, count);
}

sf_count_t vioWrite(const void*, sf_count_t, void*)
{
    return 0;
}

sf_count_t vioTell(void* user)
{
    return static_cast<TnsFileRange*>(user)->pos;
}

} // namespace

int TnsFileRange::open(const char* name, uint32_t offset, uint32_t length)
{
    close();
    if (!name || !*name) return BASS_ERROR_FILEOPEN;
    file = fopen(name, "rb");
    if (!file) return BASS_ERROR_FILEOPEN;
    fseeko(file, 0, SEEK_END);
    const int64_t size = ftello(file);
    const int64_t len = length ? int64_t(length) : size - int64_t(offset);
    if (size < 0 || int64_t(offset) > size || len < 0 || int64_t(offset) + len > size) {
        close();
        return BASS_ERROR_FILEOPEN;
    }
    begin = offset;
    this->length = len;
    pos = 0;
    fseeko(file, off_t(begin), SEEK_SET);
    return BASS_OK;
}

void TnsFileRange::close()
{
    if (file) fclose(file);
    file = nullptr;
    begin = length = pos = 0;
}

int64_t TnsFileRange::read(void* dst, int64_t count)
{
    if (!file || count <= 0) return 0;
    const int64_t n = std::min(count, length - pos);
    if (n <= 0) return 0;
    const int64_t got = int64_t(fread(dst, 1, size_t(n), file));
    pos += got;
    return got;
}

// Shared with the stream decoder.
void* TnsOpenSndfile(TnsFileRange* range, int* rate, int* channels)
{
    static SF_VIRTUAL_IO vio = {vioLength, vioSeek, vioRead, vioWrite, vioTell};
    SF_INFO info{};
    SNDFILE* sf = sf_open_virtual(&vio, SFM_READ, &info, range);
    if (!sf) return nullptr;
    if (info.channels < 1 || info.samplerate < 1) {
        sf_close(sf);
        return nullptr;
    }
    *rate = info.samplerate;
    *channels = info.channels;
    return sf;
}

void TnsToStereo(const float* in, int channels, int frames, float* out)
{
    for (int i = 0; i < frames; ++i) {
        const float* f = in + size_t(i) * size_t(channels);
        out[i * 2] = f[0];
        out[i * 2 + 1] = channels > 1 ? f[1] : f[0];
    }
}

int TnsDecodeSample(const char* name, uint32_t offset, uint32_t length, TnsSampleData* out)
{
    TnsFileRange range;
    if (int error = range.open(name, offset, length)) return error;
    int rate = 0, channels = 0;
    auto* sf = static_cast<SNDFILE*>(TnsOpenSndfile(&range, &rate, &channels));
    if (!sf) return BASS_ERROR_FORMAT;
    constexpr int kChunk = 4096;
    std::vector<float> scratch(size_t(kChunk) * size_t(channels));
    std::vector<float> frames;
    int64_t total = 0;
    int error = BASS_OK;
    for (;;) {
        const sf_count_t got = sf_readf_float(sf, scratch.data(), kChunk);
        if (got <= 0) break;
        if (total + got > kTnsMaxSampleFrames) {
            error = BASS_ERROR_MEM;
            break;
        }
        frames.resize(size_t(total + got) * 2);
        TnsToStereo(scratch.data(), channels, int(got), &frames[size_t(total) * 2]);
        total += got;
    }
    sf_close(sf);
    if (error) return error;
    if (total == 0) return BASS_ERROR_FORMAT;
    out->frames = std::move(frames);
    out->frameCount = total;
    out->rate = rate;
    return BASS_OK;
}

TnsModuleSource::~TnsModuleSource()
{
    if (m_module) openmpt_module_destroy(static_cast<openmpt_module*>(m_module));
}

int TnsModuleSource::open(const char* name, uint32_t offset, uint32_t length)
{
    TnsFileRange range;
    if (int error = range.open(name, offset, length)) return error;
    if (range.length > kMaxModuleBytes) return BASS_ERROR_MEM;
    if (range.length == 0) return BASS_ERROR_FORMAT;
    std::vector<char> bytes(size_t(range.length));
    if (range.read(bytes.data(), range.length) != range.length) return BASS_ERROR_FILEOPEN;
    int error = 0;
    m_module = openmpt_module_create_from_memory2(bytes.data(), bytes.size(), openmpt_log_func_silent, nullptr,
                                                  openmpt_error_func_ignore, nullptr, &error, nullptr, nullptr);
    if (!m_module) return BASS_ERROR_FORMAT;
    m_ended = false;
    return BASS_OK;
}

void TnsModuleSource::restart(uint32_t order, bool loop)
{
    auto* mod = static_cast<openmpt_module*>(m_module);
    if (!mod) return;
    openmpt_module_set_repeat_count(mod, loop ? -1 : 0);
    openmpt_module_set_position_order_row(mod, int32_t(std::min<uint32_t>(order, INT32_MAX)), 0);
    m_ended = false;
}

int TnsModuleSource::pull(float* stereo, int frames)
{
    if (!m_module || m_ended) return 0;
    const size_t got = openmpt_module_read_interleaved_float_stereo(static_cast<openmpt_module*>(m_module), m_rate,
                                                                    size_t(frames), stereo);
    if (got == 0) m_ended = true;
    return int(got);
}
