// The mixer core without any device: amplitudes, pitch, slides and fades,
// pulled sources that run dry, and the single clip at the output.
#include <cmath>
#include <vector>

#include "engine/platform/tns_audio_mixer.h"
#include "tests/sfx/sfx_test_audio.h"
#include "tests/support/test_support.h"

namespace {

constexpr int kRate = 44100;

TnsSampleData stereoData(const std::vector<float>& mono, int rate = kRate)
{
    TnsSampleData d;
    d.rate = rate;
    d.frameCount = int64_t(mono.size());
    for (float s : mono) {
        d.frames.push_back(s);
        d.frames.push_back(s);
    }
    return d;
}

struct SampleVoice {
    TnsVoice voice;
    explicit SampleVoice(const TnsSampleData& d)
    {
        voice.sample = &d;
        voice.baseRate = voice.rate = float(d.rate);
    }
};

std::vector<float> renderFloat(TnsMixer& mixer, int frames)
{
    std::vector<float> out(size_t(frames) * 2);
    mixer.render(out.data(), frames);
    return out;
}

// Expected values: a constant 0.5 signal times volume, times the balance gain
// (the far side loses the pan share, the near side keeps full level).
TEST(SfxMixer, VolumeAndPanScaleEachSide)
{
    TnsMixer mixer(kRate);
    TnsSampleData data = stereoData(sfxtest::constant(0.5f, 1000));
    SampleVoice v(data);
    mixer.addVoice(&v.voice);
    {
        std::lock_guard<std::mutex> lock(mixer.mutex());
        mixer.startVoice(&v.voice);
        v.voice.volume = 0.5f;
        v.voice.pan = 0.5f;
    }
    std::vector<float> out = renderFloat(mixer, 100);
    EXPECT_NEAR(out[20], 0.125f, 1e-6);
    EXPECT_NEAR(out[21], 0.25f, 1e-6);
    EXPECT_NEAR(v.voice.peakLeft, 0.125f, 1e-6);
    EXPECT_NEAR(v.voice.peakRight, 0.25f, 1e-6);

    {
        std::lock_guard<std::mutex> lock(mixer.mutex());
        mixer.setGlobalVolumes(-1, 50, -1);
        v.voice.pan = -1.0f;
    }
    out = renderFloat(mixer, 100);
    EXPECT_NEAR(out[20], 0.125f, 1e-6);
    EXPECT_EQ(out[21], 0.0f);
}

TEST(SfxMixer, FrequencyChangesPitchAndLength)
{
    TnsMixer mixer(kRate);
    // 441 Hz for one second: 882 zero crossings at the own rate.
    TnsSampleData data = stereoData(sfxtest::sine(441.0f, 0.5f, kRate, kRate));
    SampleVoice v(data);
    mixer.addVoice(&v.voice);
    {
        std::lock_guard<std::mutex> lock(mixer.mutex());
        mixer.startVoice(&v.voice);
        v.voice.rate = 2.0f * kRate;
    }
    std::vector<int16_t> out(size_t(kRate) * 2);
    mixer.renderS16(out.data(), kRate);
    // Twice the rate: the whole second plays in half a second at 882 Hz, then silence.
    EXPECT_NEAR(sfxtest::zeroCrossings(out, 0, 0, kRate / 2), 882, 3);
    EXPECT_EQ(sfxtest::peak(out, 0, kRate / 2 + 10, kRate), 0);
    EXPECT_EQ(v.voice.state, TNS_VOICE_STOPPED);
}

TEST(SfxMixer, FadeToSilenceStopsWithinItsTime)
{
    TnsMixer mixer(kRate);
    TnsSampleData data = stereoData(sfxtest::constant(1.0f, kRate));
    SampleVoice v(data);
    v.voice.loop = true;
    mixer.addVoice(&v.voice);
    {
        std::lock_guard<std::mutex> lock(mixer.mutex());
        mixer.startVoice(&v.voice);
        mixer.slide(&v.voice, -1, -2, -101, 100); // 4410 frames
    }
    std::vector<float> out = renderFloat(mixer, 8000);
    EXPECT_NEAR(out[2205 * 2], 0.5f, 0.01f) << "linear fade: half way at half time";
    EXPECT_LT(out[4400 * 2], 0.01f);
    EXPECT_EQ(out[4410 * 2], 0.0f);
    EXPECT_EQ(v.voice.state, TNS_VOICE_STOPPED);

    // A fade of zero time stops at once; a slide to a volume keeps playing.
    {
        std::lock_guard<std::mutex> lock(mixer.mutex());
        mixer.startVoice(&v.voice);
        mixer.slide(&v.voice, -1, -2, -101, 0);
        EXPECT_EQ(v.voice.state, TNS_VOICE_STOPPED);
        mixer.startVoice(&v.voice);
        v.voice.volume = 1.0f;
        mixer.slide(&v.voice, 0, 20, 100, 10);
    }
    out = renderFloat(mixer, 1000);
    EXPECT_EQ(v.voice.state, TNS_VOICE_PLAYING);
    EXPECT_NEAR(out[999 * 2 + 1], 0.2f, 1e-5);
    EXPECT_NEAR(out[999 * 2], 0.0f, 1e-5);
}

TEST(SfxMixer, MixesInFloatAndClipsOnlyAtTheOutput)
{
    TnsMixer mixer(kRate);
    TnsSampleData data = stereoData(sfxtest::constant(0.8f, 1000));
    SampleVoice a(data), b(data);
    mixer.addVoice(&a.voice);
    mixer.addVoice(&b.voice);
    {
        std::lock_guard<std::mutex> lock(mixer.mutex());
        mixer.startVoice(&a.voice);
        mixer.startVoice(&b.voice);
        b.voice.volume = -0.0f;
    }
    std::vector<float> out = renderFloat(mixer, 10);
    EXPECT_NEAR(out[0], 0.8f, 1e-6);
    {
        std::lock_guard<std::mutex> lock(mixer.mutex());
        b.voice.volume = 1.0f;
    }
    out = renderFloat(mixer, 10);
    EXPECT_NEAR(out[0], 1.6f, 1e-6) << "no clipping inside the mix";
    std::vector<int16_t> pcm(20);
    mixer.renderS16(pcm.data(), 10);
    EXPECT_EQ(pcm[0], 32767);
}

// A pulled source that hands out a counted number of frames per call.
class TrickleSource : public TnsPullSource {
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

TEST(SfxMixer, PulledVoiceWaitsWhenDryAndStopsWhenEnded)
{
    TnsMixer mixer(kRate);
    TrickleSource source;
    TnsVoice v;
    v.kind = TnsVoiceKind::Stream;
    v.source = &source;
    v.block.assign(size_t(TnsVoice::kBlockFrames) * 2, 0.0f);
    mixer.addVoice(&v);
    source.available = 50;
    {
        std::lock_guard<std::mutex> lock(mixer.mutex());
        mixer.startVoice(&v);
    }
    std::vector<float> out = renderFloat(mixer, 100);
    EXPECT_TRUE(v.starved);
    EXPECT_EQ(v.state, TNS_VOICE_PLAYING);
    EXPECT_NEAR(out[48 * 2], 0.048f, 1e-6);
    EXPECT_EQ(out[60 * 2], 0.0f);
    // More data: the voice continues with the very next frame.
    source.available = 10;
    out = renderFloat(mixer, 5);
    EXPECT_NEAR(out[0], 0.049f, 1e-6);
    source.finished = true;
    source.available = 0;
    renderFloat(mixer, 100);
    EXPECT_EQ(v.state, TNS_VOICE_STOPPED);
}

TEST(SfxMixer, LoopingSampleKeepsPlayingPastItsEnd)
{
    TnsMixer mixer(kRate);
    TnsSampleData data = stereoData(sfxtest::constant(0.5f, 100));
    SampleVoice v(data);
    v.voice.loop = true;
    mixer.addVoice(&v.voice);
    {
        std::lock_guard<std::mutex> lock(mixer.mutex());
        mixer.startVoice(&v.voice);
    }
    std::vector<float> out = renderFloat(mixer, 1000);
    EXPECT_NEAR(out[999 * 2], 0.5f, 1e-6);
    EXPECT_EQ(v.voice.state, TNS_VOICE_PLAYING);
    mixer.removeVoice(&v.voice);
    out = renderFloat(mixer, 10);
    EXPECT_EQ(out[0], 0.0f);
}

} // namespace
