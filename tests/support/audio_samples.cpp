#include "tests/support/audio_samples.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <sndfile.h>

namespace sfxtest {

bool writeSound(const std::string& path, const std::vector<float>& frames, int channels, int rate)
{
    SF_INFO info{};
    info.channels = channels;
    info.samplerate = rate;
    const std::string ext = path.substr(path.rfind('.') + 1);
    if (ext == "flac") info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    else if (ext == "ogg") info.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    else if (ext == "aiff") info.format = SF_FORMAT_AIFF | SF_FORMAT_PCM_16;
    else info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* sf = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!sf) return false;
    sf_writef_float(sf, frames.data(), sf_count_t(frames.size() / size_t(channels)));
    sf_close(sf);
    return true;
}

std::vector<float> constant(float value, int frames)
{
    return std::vector<float>(size_t(frames), value);
}

std::vector<float> sine(float hz, float amplitude, int frames, int rate)
{
    std::vector<float> out(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) out[size_t(i)] = amplitude * std::sin(2.0f * float(M_PI) * hz * float(i) / float(rate));
    return out;
}

std::string modModule()
{
    std::string m(20, '\0');
    m.replace(0, 4, "test");
    // Sample 1: 64 bytes of square wave, looped over its whole length, volume 64.
    std::string sample(30, '\0'); // loop start 0
    sample[23] = 32; // length in words
    sample[25] = 64; // volume
    sample[29] = 32; // loop length in words
    m += sample;
    for (int i = 1; i < 31; ++i) m += std::string(30, '\0');
    m += char(1);   // song length: one order
    m += char(127); // restart
    m += std::string(128, '\0');
    m += "M.K.";
    std::string pattern(64 * 4 * 4, '\0');
    // Row 0, channel 1: sample 1 at period 428; channel 2: speed 1.
    const int period = 428;
    pattern[0] = char(((1 & 0xF0)) | ((period >> 8) & 0x0F));
    pattern[1] = char(period & 0xFF);
    pattern[2] = char((1 & 0x0F) << 4);
    pattern[4 + 2] = 0x0F;
    pattern[4 + 3] = 0x01;
    m += pattern;
    for (int i = 0; i < 64; ++i) m += char(i < 32 ? 100 : -100);
    return m;
}

int zeroCrossings(const std::vector<int16_t>& stereo, int channel, size_t from, size_t to)
{
    int count = 0;
    int previous = 0;
    for (size_t i = from; i < to; ++i) {
        const int s = stereo[i * 2 + size_t(channel)];
        const int sign = s > 0 ? 1 : (s < 0 ? -1 : 0);
        if (sign != 0) {
            if (previous != 0 && sign != previous) ++count;
            previous = sign;
        }
    }
    return count;
}

int peak(const std::vector<int16_t>& stereo, int channel, size_t from, size_t to)
{
    int best = 0;
    for (size_t i = from; i < to && i * 2 + 1 < stereo.size(); ++i)
        best = std::max(best, std::abs(int(stereo[i * 2 + size_t(channel)])));
    return best;
}

} // namespace sfxtest
