// Byte ranges of files as libsndfile virtual I/O, whole-sample decoding, and
// tracker modules through libopenmpt. Stands in for the audio library's own
// file readers; the formats are whatever the installed libraries read.
#include "engine/platform/audio/tns_audio_decode.h"

#include <algorithm>

#include <libopenmpt/libopenmpt.h>
#include <sndfile.h>

namespace tns::audio {

namespace {

constexpr int64_t kMaxModuleBytes = int64_t(64) << 20;

sf_count_t vioLength(void* user)
{
    return static_cast<FileRange*>(user)->length;
}

sf_count_t vioSeek(sf_count_t offset, int whence, void* user)
{
    auto* r = static_cast<FileRange*>(user);
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
    return static_cast<FileRange*>(user)->read(dst, count);
}

sf_count_t vioWrite(const void*, sf_count_t, void*)
{
    return 0;
}

sf_count_t vioTell(void* user)
{
    return static_cast<FileRange*>(user)->pos;
}

} // namespace

DecodeError FileRange::open(const char* name, uint32_t offset, uint32_t length)
{
    close();
    if (!name || !*name) return DecodeError::FileOpen;
    file = fopen(name, "rb");
    if (!file) return DecodeError::FileOpen;
    fseeko(file, 0, SEEK_END);
    const int64_t size = ftello(file);
    const int64_t len = length ? int64_t(length) : size - int64_t(offset);
    if (size < 0 || int64_t(offset) > size || len < 0 || int64_t(offset) + len > size) {
        close();
        return DecodeError::FileOpen;
    }
    begin = offset;
    this->length = len;
    pos = 0;
    fseeko(file, off_t(begin), SEEK_SET);
    return DecodeError::None;
}

void FileRange::close()
{
    if (file) fclose(file);
    file = nullptr;
    begin = length = pos = 0;
}

int64_t FileRange::read(void* dst, int64_t count)
{
    if (!file || count <= 0) return 0;
    const int64_t n = std::min(count, length - pos);
    if (n <= 0) return 0;
    const int64_t got = int64_t(fread(dst, 1, size_t(n), file));
    pos += got;
    return got;
}

// Shared with the stream decoder.
void* OpenSndfile(FileRange* range, int* rate, int* channels)
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

void ToStereo(const float* in, int channels, int frames, float* out)
{
    for (int i = 0; i < frames; ++i) {
        const float* f = in + size_t(i) * size_t(channels);
        out[i * 2] = f[0];
        out[i * 2 + 1] = channels > 1 ? f[1] : f[0];
    }
}

DecodeError DecodeSample(const char* name, uint32_t offset, uint32_t length, SampleData* out)
{
    FileRange range;
    if (DecodeError error = range.open(name, offset, length); error != DecodeError::None) return error;
    int rate = 0, channels = 0;
    auto* sf = static_cast<SNDFILE*>(OpenSndfile(&range, &rate, &channels));
    if (!sf) return DecodeError::Format;
    constexpr int kChunk = 4096;
    std::vector<float> scratch(size_t(kChunk) * size_t(channels));
    std::vector<float> frames;
    int64_t total = 0;
    DecodeError error = DecodeError::None;
    for (;;) {
        const sf_count_t got = sf_readf_float(sf, scratch.data(), kChunk);
        if (got <= 0) break;
        if (total + got > kMaxSampleFrames) {
            error = DecodeError::Memory;
            break;
        }
        frames.resize(size_t(total + got) * 2);
        ToStereo(scratch.data(), channels, int(got), &frames[size_t(total) * 2]);
        total += got;
    }
    sf_close(sf);
    if (error != DecodeError::None) return error;
    if (total == 0) return DecodeError::Format;
    out->frames = std::move(frames);
    out->frameCount = total;
    out->rate = rate;
    return DecodeError::None;
}

ModuleSource::~ModuleSource()
{
    if (m_module) openmpt_module_destroy(static_cast<openmpt_module*>(m_module));
}

DecodeError ModuleSource::open(const char* name, uint32_t offset, uint32_t length)
{
    FileRange range;
    if (DecodeError error = range.open(name, offset, length); error != DecodeError::None) return error;
    if (range.length > kMaxModuleBytes) return DecodeError::Memory;
    if (range.length == 0) return DecodeError::Format;
    std::vector<char> bytes(size_t(range.length));
    if (range.read(bytes.data(), range.length) != range.length) return DecodeError::FileOpen;
    int error = 0;
    m_module = openmpt_module_create_from_memory2(bytes.data(), bytes.size(), openmpt_log_func_silent, nullptr,
                                                  openmpt_error_func_ignore, nullptr, &error, nullptr, nullptr);
    if (!m_module) return DecodeError::Format;
    m_ended = false;
    return DecodeError::None;
}

void ModuleSource::restart(uint32_t order, bool loop)
{
    auto* mod = static_cast<openmpt_module*>(m_module);
    if (!mod) return;
    openmpt_module_set_repeat_count(mod, loop ? -1 : 0);
    openmpt_module_set_position_order_row(mod, int32_t(std::min<uint32_t>(order, INT32_MAX)), 0);
    m_ended = false;
}

int ModuleSource::pull(float* stereo, int frames)
{
    if (!m_module || m_ended) return 0;
    const size_t got = openmpt_module_read_interleaved_float_stereo(static_cast<openmpt_module*>(m_module), m_rate,
                                                                    size_t(frames), stereo);
    if (got == 0) m_ended = true;
    return int(got);
}

} // namespace tns::audio
