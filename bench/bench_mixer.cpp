// The engine's mixer rendering into a buffer: 32 sample voices resampled at
// different rates with volume and pan, and one 4-channel module through the
// engine's module source (libopenmpt). Each iteration renders one second of
// 44.1 kHz stereo in device-sized chunks, so its time is the share of a core.
// Peers: a naive linear-interpolation loop (the floor) for the voices, and
// libopenmpt's own openmpt_module_read_interleaved_float_stereo for the module.
#include <benchmark/benchmark.h>
#include <libopenmpt/libopenmpt.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_peer.h"
#include "engine/platform/audio/tns_audio_decode.h"
#include "engine/platform/audio/tns_audio_mixer.h"

namespace audio = tns::audio;

namespace {

constexpr int kRate = 44100;
constexpr int kChunk = 1024; // frames per render call, as an audio callback asks
constexpr int kVoices = 32;

// ---- inputs ----

// A decaying tone, looped by the voices; source rates differ per voice.
audio::SampleData tone(int rate, float hz)
{
    audio::SampleData d;
    d.rate = rate;
    d.frameCount = rate / 2;
    d.frames.resize(size_t(d.frameCount) * 2);
    for (int64_t i = 0; i < d.frameCount; ++i) {
        const float t = float(i) / float(rate);
        const float s = std::sin(6.2831853f * hz * t) * std::exp(-3.0f * t) * 0.5f;
        d.frames[size_t(i) * 2] = s;
        d.frames[size_t(i) * 2 + 1] = s * 0.8f;
    }
    return d;
}

struct VoiceSetup {
    float rate, volume, pan;
};

const std::vector<audio::SampleData>& samples()
{
    static const std::vector<audio::SampleData> all = [] {
        std::vector<audio::SampleData> v;
        const int rates[4] = {22050, 44100, 32000, 48000};
        for (int i = 0; i < kVoices; ++i) v.push_back(tone(rates[i % 4], 220.0f + 30.0f * float(i)));
        return v;
    }();
    return all;
}

// Every voice plays at a rate of its own (never the output rate), so each one resamples.
VoiceSetup voiceSetup(int i)
{
    return {float(samples()[size_t(i)].rate) * (0.75f + 0.02f * float(i)), 0.2f + 0.02f * float(i),
            -1.0f + 2.0f * float(i) / float(kVoices - 1)};
}

void putBE16(std::string& s, size_t at, int v)
{
    s[at] = char((v >> 8) & 0xFF);
    s[at + 1] = char(v & 0xFF);
}

// A ProTracker module of one 64-row pattern, four channels each playing its
// own looped 256-byte instrument, a note every two rows; the song loops.
std::string module()
{
    std::string m(20, '\0');
    m.replace(0, 5, "bench");
    constexpr int kSampleBytes = 256;
    for (int i = 0; i < 31; ++i) {
        std::string h(30, '\0');
        if (i < 4) {
            putBE16(h, 22, kSampleBytes / 2); // length in words
            h[25] = 48;                       // volume
            putBE16(h, 26, 0);                // loop start
            putBE16(h, 28, kSampleBytes / 2); // loop length
        }
        m += h;
    }
    m += char(1);   // song length: one order
    m += char(0);   // restart position
    m += std::string(128, '\0');
    m += "M.K.";
    const int periods[8] = {428, 381, 339, 320, 285, 254, 226, 214};
    std::string pattern(64 * 4 * 4, '\0');
    for (int row = 0; row < 64; row += 2) {
        for (int ch = 0; ch < 4; ++ch) {
            const int sample = ch + 1, period = periods[(row / 2 + ch * 3) % 8];
            const size_t at = size_t(row * 4 + ch) * 4;
            pattern[at] = char((sample & 0xF0) | ((period >> 8) & 0x0F));
            pattern[at + 1] = char(period & 0xFF);
            pattern[at + 2] = char((sample & 0x0F) << 4);
        }
    }
    m += pattern;
    for (int s = 0; s < 4; ++s) {
        for (int i = 0; i < kSampleBytes; ++i) {
            int v = 0;
            switch (s) {
            case 0: v = int(100.0 * std::sin(6.2831853 * i / 64.0)); break; // sine
            case 1: v = (i % 64) < 32 ? 90 : -90; break;                   // square
            case 2: v = (i % 64) * 3 - 96; break;                          // saw
            default: v = int((uint32_t(i) * 2654435761u) >> 25) - 64; break; // noise
            }
            m += char(v);
        }
    }
    return m;
}

const std::string& moduleBytes()
{
    static const std::string m = module();
    return m;
}

std::string g_modulePath;

// ---- ours: the engine's mixer ----

// The mixer with the voices asked for, all playing and looping.
struct EngineMix {
    audio::Mixer mixer{kRate};
    audio::Voice voices[kVoices];
    std::unique_ptr<audio::ModuleSource> music;
    audio::Voice musicVoice;

    EngineMix(bool withVoices, bool withModule)
    {
        if (withVoices) {
            for (int i = 0; i < kVoices; ++i) {
                audio::Voice& v = voices[i];
                v.kind = audio::VoiceKind::Sample;
                v.sample = &samples()[size_t(i)];
                v.baseRate = float(v.sample->rate);
                v.loop = true;
                mixer.addVoice(&v);
                std::lock_guard<std::mutex> lock(mixer.mutex());
                mixer.startVoice(&v);
                const VoiceSetup s = voiceSetup(i);
                v.rate = s.rate;
                v.volume = s.volume;
                v.pan = s.pan;
            }
        }
        if (withModule) {
            // As the audio library's music load and play set the voice up.
            music = std::make_unique<audio::ModuleSource>(kRate);
            if (music->open(g_modulePath.c_str(), 0, 0) != audio::DecodeError::None) {
                fprintf(stderr, "the engine's module source refused the module\n");
                exit(1);
            }
            musicVoice.kind = audio::VoiceKind::Music;
            musicVoice.baseRate = musicVoice.rate = float(kRate);
            musicVoice.source = music.get();
            musicVoice.block.assign(size_t(audio::Voice::kBlockFrames) * 2, 0.0f);
            musicVoice.loop = true;
            mixer.addVoice(&musicVoice);
            std::lock_guard<std::mutex> lock(mixer.mutex());
            music->restart(0, true);
            mixer.startVoice(&musicVoice);
        }
    }
};

void oursMix(benchmark::State& state, bool withVoices, bool withModule)
{
    EngineMix mix(withVoices, withModule);
    std::vector<float> out(size_t(kChunk) * 2);
    for (auto _ : state) {
        for (int done = 0; done < kRate; done += kChunk) {
            mix.mixer.render(out.data(), std::min(kChunk, kRate - done));
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kRate * (withVoices ? kVoices : 1));
}

// ---- peers ----

// The floor: the plain linear-interpolation loop with volume and balance pan.
struct NaiveVoice {
    const float* frames;
    int64_t count;
    double pos = 0.0, step;
    float gainLeft, gainRight;
};

std::vector<NaiveVoice> naiveVoices()
{
    std::vector<NaiveVoice> out;
    for (int i = 0; i < kVoices; ++i) {
        const audio::SampleData& d = samples()[size_t(i)];
        const VoiceSetup s = voiceSetup(i);
        out.push_back({d.frames.data(), d.frameCount, 0.0, double(s.rate) / kRate,
                       s.volume * (s.pan > 0.0f ? 1.0f - s.pan : 1.0f),
                       s.volume * (s.pan < 0.0f ? 1.0f + s.pan : 1.0f)});
    }
    return out;
}

void naiveMix(std::vector<NaiveVoice>& voices, float* out, int frames)
{
    std::fill(out, out + size_t(frames) * 2, 0.0f);
    for (NaiveVoice& v : voices) {
        for (int i = 0; i < frames; ++i) {
            const int64_t idx = int64_t(v.pos);
            const float f = float(v.pos - double(idx));
            const float* a = v.frames + idx * 2;
            const float* b = idx + 1 < v.count ? a + 2 : v.frames;
            out[i * 2] += (a[0] + (b[0] - a[0]) * f) * v.gainLeft;
            out[i * 2 + 1] += (a[1] + (b[1] - a[1]) * f) * v.gainRight;
            v.pos += v.step;
            if (v.pos >= double(v.count)) v.pos -= double(v.count);
        }
    }
}

openmpt_module* openPeerModule()
{
    int error = 0;
    openmpt_module* m =
        openmpt_module_create_from_memory2(moduleBytes().data(), moduleBytes().size(), openmpt_log_func_silent, nullptr,
                                           openmpt_error_func_ignore, nullptr, &error, nullptr, nullptr);
    if (!m) {
        fprintf(stderr, "libopenmpt refused the module\n");
        exit(1);
    }
    openmpt_module_set_repeat_count(m, -1);
    return m;
}

void peerMix(benchmark::State& state, bool withVoices, bool withModule)
{
    std::vector<NaiveVoice> voices = naiveVoices();
    openmpt_module* m = withModule ? openPeerModule() : nullptr;
    std::vector<float> out(size_t(kChunk) * 2), music(size_t(kChunk) * 2);
    for (auto _ : state) {
        for (int done = 0; done < kRate; done += kChunk) {
            const int n = std::min(kChunk, kRate - done);
            if (withVoices) naiveMix(voices, out.data(), n);
            if (m) {
                openmpt_module_read_interleaved_float_stereo(m, kRate, size_t(n), music.data());
                if (withVoices) {
                    for (int i = 0; i < n * 2; ++i) out[size_t(i)] += music[size_t(i)];
                }
            }
            benchmark::DoNotOptimize(out.data());
            benchmark::DoNotOptimize(music.data());
        }
    }
    if (m) openmpt_module_destroy(m);
    state.SetItemsProcessed(int64_t(state.iterations()) * kRate * (withVoices ? kVoices : 1));
}

void BM_Ours_Voices32(benchmark::State& s) { oursMix(s, true, false); }
void BM_Floor_Voices32(benchmark::State& s) { peerMix(s, true, false); }
void BM_Ours_Module(benchmark::State& s) { oursMix(s, false, true); }
void BM_OpenMPT_Module(benchmark::State& s) { peerMix(s, false, true); }
void BM_Ours_Voices32AndModule(benchmark::State& s) { oursMix(s, true, true); }
void BM_Peer_Voices32AndModule(benchmark::State& s) { peerMix(s, true, true); }

BENCHMARK(BM_Ours_Voices32)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Floor_Voices32)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Ours_Module)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenMPT_Module)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Ours_Voices32AndModule)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Peer_Voices32AndModule)->Unit(benchmark::kMicrosecond);

// Both sides render the same second once before the timing, so a reader sees
// they produce the same sound: the largest difference of the voices against
// the plain loop, and the peaks of the module from the engine and from libopenmpt.
void compareOutputs()
{
    std::vector<float> ours(size_t(kRate) * 2), peer(size_t(kRate) * 2);
    EngineMix voices(true, false);
    voices.mixer.render(ours.data(), kRate);
    std::vector<NaiveVoice> naive = naiveVoices();
    naiveMix(naive, peer.data(), kRate);
    float worst = 0.0f, peakOurs = 0.0f, peakPeer = 0.0f;
    for (size_t i = 0; i < ours.size(); ++i) worst = std::max(worst, std::fabs(ours[i] - peer[i]));
    EngineMix music(false, true);
    music.mixer.render(ours.data(), kRate);
    openmpt_module* m = openPeerModule();
    openmpt_module_read_interleaved_float_stereo(m, kRate, size_t(kRate), peer.data());
    openmpt_module_destroy(m);
    for (size_t i = 0; i < ours.size(); ++i) {
        peakOurs = std::max(peakOurs, std::fabs(ours[i]));
        peakPeer = std::max(peakPeer, std::fabs(peer[i]));
    }
    printf("output check: 32 voices, largest difference from the plain loop %.2g; module peak %.3f (libopenmpt "
           "alone %.3f)\n",
           double(worst), double(peakOurs), double(peakPeer));
}

} // namespace

int main(int argc, char** argv)
{
    // The engine's module source reads a file: the module goes to a scratch folder.
    char scratch[] = "/tmp/tarnis-bench-mixer-XXXXXX";
    if (!mkdtemp(scratch)) {
        perror("mkdtemp");
        return 1;
    }
    g_modulePath = std::string(scratch) + "/bench.mod";
    std::ofstream(g_modulePath, std::ios::binary) << moduleBytes();

    compareOutputs();
    printf("Each iteration renders one second of 44.1 kHz stereo: its time is the share of a core\n"
           "(1 ms = 0.1 %%). Items are voice-frames.\n");
    // One second of audio per iteration: ns x 1e-7 is the percentage of a core.
    const int rc = bench::runWithPeers(argc, argv,
                                       {
                                           {"BM_Ours_Voices32", "BM_Floor_Voices32"},
                                           {"BM_Ours_Module", "BM_OpenMPT_Module"},
                                           {"BM_Ours_Voices32AndModule", "BM_Peer_Voices32AndModule"},
                                       },
                                       {
                                           {"32 voices + module, % of a core", "BM_Ours_Voices32AndModule", 1e-7,
                                            "%", 0.5},
                                       });
    std::filesystem::remove_all(scratch);
    return rc;
}
