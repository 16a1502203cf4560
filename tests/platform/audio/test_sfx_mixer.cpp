// The mixer core without any device: amplitudes, pitch, slides and fades,
// pulled sources that run dry, and the single clip at the output.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "engine/platform/audio/tns_audio_mixer.h"
#include "tests/support/audio_samples.h"
#include "tests/support/test_support.h"

namespace audio = tns::audio;

namespace {

constexpr int kRate = 44100;

audio::SampleData stereoData(const std::vector<float>& mono, int rate = kRate)
{
    audio::SampleData d;
    d.rate = rate;
    d.frameCount = int64_t(mono.size());
    for (float s : mono) {
        d.frames.push_back(s);
        d.frames.push_back(s);
    }
    return d;
}

struct SampleVoice {
    audio::Voice voice;
    explicit SampleVoice(const audio::SampleData& d)
    {
        voice.sample = &d;
        voice.baseRate = voice.rate = float(d.rate);
    }
};

// Runs f with the mixer's lock held, as the operations on voices require.
template <class F>
void locked(audio::Mixer& mixer, F&& f)
{
    std::lock_guard<std::mutex> lock(mixer.mutex());
    f();
}

std::vector<float> renderFloat(audio::Mixer& mixer, int frames)
{
    std::vector<float> out(size_t(frames) * 2);
    mixer.render(out.data(), frames);
    return out;
}

// Expected values: a constant 0.5 signal times volume, times the balance gain
// (the far side loses the pan share, the near side keeps full level).
TEST(SfxMixer, VolumeAndPanScaleEachSide)
{
    audio::Mixer mixer(kRate);
    audio::SampleData data = stereoData(sfxtest::constant(0.5f, 1000));
    SampleVoice v(data);
    mixer.addVoice(&v.voice);
    locked(mixer, [&] { mixer.startVoice(&v.voice); v.voice.volume = 0.5f; v.voice.pan = 0.5f; });
    std::vector<float> out = renderFloat(mixer, 100);
    EXPECT_NEAR(out[20], 0.125f, 1e-6);
    EXPECT_NEAR(out[21], 0.25f, 1e-6);
    EXPECT_NEAR(v.voice.peakLeft, 0.125f, 1e-6);
    EXPECT_NEAR(v.voice.peakRight, 0.25f, 1e-6);

    locked(mixer, [&] { mixer.setGlobalVolumes(-1, 50, -1); v.voice.pan = -1.0f; });
    out = renderFloat(mixer, 100);
    EXPECT_NEAR(out[20], 0.125f, 1e-6);
    EXPECT_EQ(out[21], 0.0f);
}

TEST(SfxMixer, FrequencyChangesPitchAndLength)
{
    audio::Mixer mixer(kRate);
    // 441 Hz for one second: 882 zero crossings at the own rate.
    audio::SampleData data = stereoData(sfxtest::sine(441.0f, 0.5f, kRate, kRate));
    SampleVoice v(data);
    mixer.addVoice(&v.voice);
    locked(mixer, [&] { mixer.startVoice(&v.voice); v.voice.rate = 2.0f * kRate; });
    std::vector<int16_t> out(size_t(kRate) * 2);
    mixer.renderS16(out.data(), kRate);
    // Twice the rate: the whole second plays in half a second at 882 Hz, then silence.
    EXPECT_NEAR(sfxtest::zeroCrossings(out, 0, 0, kRate / 2), 882, 3);
    EXPECT_EQ(sfxtest::peak(out, 0, kRate / 2 + 10, kRate), 0);
    EXPECT_EQ(v.voice.state, audio::kVoiceStopped);
}

TEST(SfxMixer, FadeToSilenceStopsWithinItsTime)
{
    audio::Mixer mixer(kRate);
    audio::SampleData data = stereoData(sfxtest::constant(1.0f, kRate));
    SampleVoice v(data);
    v.voice.loop = true;
    mixer.addVoice(&v.voice);
    locked(mixer, [&] {
        mixer.startVoice(&v.voice);
        mixer.slide(&v.voice, -1, -2, -101, 100); // 4410 frames
    });
    std::vector<float> out = renderFloat(mixer, 8000);
    EXPECT_NEAR(out[2205 * 2], 0.5f, 0.01f) << "linear fade: half way at half time";
    EXPECT_LT(out[4400 * 2], 0.01f);
    EXPECT_EQ(out[4410 * 2], 0.0f);
    EXPECT_EQ(v.voice.state, audio::kVoiceStopped);

    // A fade of zero time stops at once; a slide to a volume keeps playing.
    locked(mixer, [&] {
        mixer.startVoice(&v.voice);
        mixer.slide(&v.voice, -1, -2, -101, 0);
        EXPECT_EQ(v.voice.state, audio::kVoiceStopped);
        mixer.startVoice(&v.voice);
        v.voice.volume = 1.0f;
        mixer.slide(&v.voice, 0, 20, 100, 10);
    });
    out = renderFloat(mixer, 1000);
    EXPECT_EQ(v.voice.state, audio::kVoicePlaying);
    EXPECT_NEAR(out[999 * 2 + 1], 0.2f, 1e-5);
    EXPECT_NEAR(out[999 * 2], 0.0f, 1e-5);
}

TEST(SfxMixer, MixesInFloatAndClipsOnlyAtTheOutput)
{
    audio::Mixer mixer(kRate);
    audio::SampleData data = stereoData(sfxtest::constant(0.8f, 1000));
    SampleVoice a(data), b(data);
    mixer.addVoice(&a.voice);
    mixer.addVoice(&b.voice);
    locked(mixer, [&] { mixer.startVoice(&a.voice); mixer.startVoice(&b.voice); b.voice.volume = -0.0f; });
    std::vector<float> out = renderFloat(mixer, 10);
    EXPECT_NEAR(out[0], 0.8f, 1e-6);
    locked(mixer, [&] { b.voice.volume = 1.0f; });
    out = renderFloat(mixer, 10);
    EXPECT_NEAR(out[0], 1.6f, 1e-6) << "no clipping inside the mix";
    std::vector<int16_t> pcm(20);
    mixer.renderS16(pcm.data(), 10);
    EXPECT_EQ(pcm[0], 32767);
    mixer.removeVoice(&b.voice);
    EXPECT_NEAR(renderFloat(mixer, 10)[0], 0.8f, 1e-6) << "a removed voice is no longer mixed";
}

// A pulled source that hands out a counted number of frames per call.
class TrickleSource : public audio::PullSource {
public:
    int available = 0;
    bool finished = false;
    int next = 0;
    int pull(float* stereo, int frames) override
    {
        const int n = std::min(frames, available);
        for (int i = 0; i < n; ++i) stereo[i * 2] = stereo[i * 2 + 1] = float(next++) * 0.001f;
        available -= n;
        return n;
    }
    bool ended() const override { return finished && available == 0; }
};

// The frame-by-frame mix of a sample voice (interpolation, per-frame rate
// slide, loop or stop at the end) that the mixer's runs must reproduce to the bit.
struct ReferenceVoice {
    const audio::SampleData* data = nullptr;
    bool loop = true;
    bool playing = true;
    double position = 0.0;
    float rate = 0.0f, volume = 1.0f, pan = 0.0f;
    audio::Slide slideRate;

    void mix(float* out, int frames, int outRate)
    {
        const float gl = volume * (pan > 0.0f ? 1.0f - pan : 1.0f);
        const float gr = volume * (pan < 0.0f ? 1.0f + pan : 1.0f);
        for (int i = 0; i < frames && playing; ++i) {
            if (slideRate.active) {
                if (++slideRate.elapsed >= slideRate.total) {
                    rate = slideRate.to;
                    slideRate.active = false;
                } else {
                    rate = slideRate.from + (slideRate.to - slideRate.from) *
                                                float(double(slideRate.elapsed) / double(slideRate.total));
                }
            }
            const double step = std::max(0.0, double(rate) / double(outRate));
            const int64_t idx = int64_t(position);
            const float f = float(position - double(idx));
            const float* a = &data->frames[size_t(idx) * 2];
            const float* b = idx + 1 < data->frameCount ? a + 2 : (loop ? &data->frames[0] : a);
            out[i * 2] += (a[0] + (b[0] - a[0]) * f) * gl;
            out[i * 2 + 1] += (a[1] + (b[1] - a[1]) * f) * gr;
            position += step;
            if (position >= double(data->frameCount)) {
                if (loop) position = std::fmod(position, double(data->frameCount));
                else playing = false;
            }
        }
    }
};

audio::SampleData noiseData(int frames, uint32_t seed)
{
    audio::SampleData d;
    d.frameCount = frames;
    for (int i = 0; i < frames * 2; ++i) {
        seed = seed * 1664525u + 1013904223u;
        d.frames.push_back(float(int32_t(seed >> 8) - (1 << 23)) / float(1 << 23));
    }
    return d;
}

// Rates on and off the output rate, steps that are exact binary fractions,
// steps larger than the sample, positions crossing every power of two, the
// halfway-rounding case, a start inside the data, a stop at the end, a rate
// slide half way through, and buffers of odd sizes: all bit-identical.
TEST(SfxMixer, MixMatchesTheFrameByFrameReference)
{
    struct Case {
        int outRate, frames;
        float rate, volume, pan;
        bool loop;
        double start;
        const char* what;
    };
    const Case cases[] = {
        {kRate, 5000, 31337.7f, 0.8f, -0.3f, true, 0.0, "resampled, looping"},
        {kRate, 3000, 33075.0f, 0.5f, 0.6f, true, 17.0, "step 0.75, started inside"},
        {kRate, 2000, 52000.0f, 1.0f, 0.0f, false, 0.0, "stops at its end"},
        {kRate, 777, float(kRate), 0.3f, 1.0f, true, 0.0, "at the output rate"},
        {8000, 60, 200000.0f, 0.9f, -1.0f, true, 0.0, "step larger than the sample"},
        {8000, 61, 200000.0f, 0.9f, 0.2f, false, 3.0, "large step, stopping"},
        {1 << 30, 100, 1.0f + 1.0f / 8388608.0f, 1.0f, 0.0f, true, 1.0, "halfway rounding"},
        {kRate, 300000, 47000.5f, 0.6f, 0.1f, true, 0.0, "long sample"},
    };
    const int chunks[] = {1, 7, 256, 1000, 333, 4096, 2};
    for (const Case& c : cases) {
        for (bool withSlide : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (withSlide ? ", rate slide" : ""));
            audio::SampleData data = noiseData(c.frames, uint32_t(c.frames));
            audio::Mixer mixer(c.outRate);
            SampleVoice v(data);
            v.voice.loop = c.loop;
            mixer.addVoice(&v.voice);
            ReferenceVoice ref;
            ref.data = &data;
            ref.loop = c.loop;
            ref.position = c.start;
            ref.rate = c.rate;
            ref.volume = c.volume;
            ref.pan = c.pan;
            locked(mixer, [&] {
                mixer.startVoice(&v.voice);
                v.voice.position = c.start;
                v.voice.rate = c.rate;
                v.voice.volume = c.volume;
                v.voice.pan = c.pan;
            });
            int mismatches = 0;
            for (int k = 0; k < 40; ++k) {
                const int n = chunks[k % 7];
                if (withSlide && k == 5) {
                    std::lock_guard<std::mutex> lock(mixer.mutex());
                    mixer.slide(&v.voice, int(c.rate * 0.7f) + 100, -1, -101, 20);
                    ref.slideRate = v.voice.slideRate;
                }
                std::vector<float> ours = renderFloat(mixer, n);
                std::vector<float> theirs(size_t(n) * 2, 0.0f);
                ref.mix(theirs.data(), n, c.outRate);
                for (size_t i = 0; i < ours.size(); ++i)
                    if (std::memcmp(&ours[i], &theirs[i], sizeof(float)) != 0) ++mismatches;
                ASSERT_EQ(v.voice.state == audio::kVoicePlaying, ref.playing) << "buffer " << k;
                if (ref.playing) {
                    ASSERT_EQ(v.voice.position, ref.position) << "buffer " << k;
                    ASSERT_EQ(v.voice.rate, ref.rate) << "buffer " << k;
                }
            }
            EXPECT_EQ(mismatches, 0);
        }
    }
}

// A pulled voice at the output rate plays its source frame for frame, through
// block boundaries, dry spells (waiting, not ending) and odd buffer sizes, and
// stops once its source has ended.
TEST(SfxMixer, PulledVoiceAtTheOutputRatePlaysEveryFrameOnce)
{
    audio::Mixer mixer(kRate);
    TrickleSource source;
    audio::Voice v;
    v.kind = audio::VoiceKind::Music;
    v.baseRate = v.rate = float(kRate);
    v.source = &source;
    v.block.assign(size_t(audio::Voice::kBlockFrames) * 2, 0.0f);
    mixer.addVoice(&v);
    locked(mixer, [&] { mixer.startVoice(&v); v.volume = 0.7f; v.pan = 0.3f; });
    const float gl = 0.7f * (1.0f - 0.3f), gr = 0.7f;
    const int gives[] = {300, 0, 1000, 5, 1, 2000, 700};
    const int renders[] = {200, 200, 513, 1, 1024, 1500, 1300};
    int given = 0, played = 0, mismatches = 0;
    for (int k = 0; k < 7; ++k) {
        source.available += gives[k];
        given += gives[k];
        std::vector<float> out = renderFloat(mixer, renders[k]);
        // A frame plays once the frame after it is in: given - 1 frames at most.
        const int expected = std::min(renders[k], given - 1 - played);
        for (int i = 0; i < renders[k]; ++i) {
            const float s = i < expected ? float(played + i) * 0.001f : 0.0f;
            if (out[size_t(i) * 2] != s * gl || out[size_t(i) * 2 + 1] != s * gr) ++mismatches;
        }
        played += expected;
        EXPECT_EQ(v.starved, expected < renders[k]) << "render " << k;
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(played, given - 1);
    EXPECT_EQ(v.state, audio::kVoicePlaying) << "dry, not ended";
    source.finished = true;
    renderFloat(mixer, 100);
    EXPECT_EQ(v.state, audio::kVoiceStopped);
}

} // namespace
