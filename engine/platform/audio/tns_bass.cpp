// The audio-library functions: handle tables, argument checks and error codes
// over the mixer, the decoders and the outputs. Called from the engine thread
// only; the render thread sees nothing but the mixer's voices.
// Handles: kind in bits 28-31, slot + 1 in bits 16-27, sample copy in bits 0-15.
#include "engine/platform/audio/bass.h"
#include "engine/platform/audio/bass_testing.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "engine/platform/audio/tns_audio_decode.h"
#include "engine/platform/audio/tns_audio_output.h"
#include "engine/platform/win32/tns_seh.h"

namespace audio = tns::audio;

namespace {

enum : DWORD { kKindSample = 1, kKindStream = 2, kKindMusic = 3, kKindCopy = 4 };
constexpr size_t kMaxSlots = 4095;
constexpr DWORD kMaxCopies = 65535;

struct SampleObj {
    audio::SampleData data;
    std::vector<audio::Voice> copies;
    bool takeOver = false;
};

struct StreamObj {
    audio::StreamDecoder decoder;
    audio::Voice voice;
    bool started = false;
};

struct MusicObj {
    std::unique_ptr<audio::ModuleSource> source;
    audio::Voice voice;
};

struct Device {
    std::unique_ptr<audio::Mixer> mixer;
    std::unique_ptr<audio::StreamPump> pump;
    std::unique_ptr<audio::Output> output;
    std::vector<std::unique_ptr<SampleObj>> samples;
    std::vector<std::unique_ptr<StreamObj>> streams;
    std::vector<std::unique_ptr<MusicObj>> musics;
};

Device* g_device = nullptr;
int g_error = BASS_OK;
bool g_useCapture = false;

BOOL fail(int code)
{
    g_error = code;
    return FALSE;
}

// The core's reasons in the library's codes.
int bassError(audio::DecodeError error)
{
    switch (error) {
    case audio::DecodeError::None: return BASS_OK;
    case audio::DecodeError::FileOpen: return BASS_ERROR_FILEOPEN;
    case audio::DecodeError::Format: return BASS_ERROR_FORMAT;
    case audio::DecodeError::Memory: return BASS_ERROR_MEM;
    }
    return BASS_ERROR_UNKNOWN;
}

static_assert(audio::kVoiceStopped == int(BASS_ACTIVE_STOPPED) && audio::kVoicePlaying == int(BASS_ACTIVE_PLAYING) &&
              audio::kVoicePaused == int(BASS_ACTIVE_PAUSED), "the mixer keeps its voices' states in the library's values");

BOOL ok()
{
    g_error = BASS_OK;
    return TRUE;
}

DWORD makeHandle(DWORD kind, size_t slot, DWORD copy = 0)
{
    return (kind << 28) | (DWORD(slot + 1) << 16) | copy;
}

template <class T>
size_t freeSlot(std::vector<std::unique_ptr<T>>& table)
{
    for (size_t i = 0; i < table.size(); ++i)
        if (!table[i]) return i;
    if (table.size() >= kMaxSlots) return kMaxSlots;
    table.emplace_back();
    return table.size() - 1;
}

template <class T>
T* lookup(std::vector<std::unique_ptr<T>>& table, DWORD handle, DWORD kind, size_t* slotOut = nullptr)
{
    if (!g_device || (handle >> 28) != kind) return nullptr;
    const DWORD slot1 = (handle >> 16) & 0xFFF;
    if (slot1 == 0 || slot1 > table.size()) return nullptr;
    if (slotOut) *slotOut = slot1 - 1;
    return table[slot1 - 1].get();
}

// The voices a channel handle names: all copies of a sample, one copy, or the
// one voice of a stream or music.
struct VoiceSet {
    audio::Voice* first = nullptr;
    size_t count = 0;
};

VoiceSet resolve(DWORD handle)
{
    if (!g_device) return {};
    switch (handle >> 28) {
    case kKindSample:
        if (SampleObj* s = lookup(g_device->samples, handle, kKindSample))
            return {s->copies.data(), s->copies.size()};
        break;
    case kKindCopy:
        if (SampleObj* s = lookup(g_device->samples, (handle & 0x0FFFFFFF) | (kKindSample << 28), kKindSample)) {
            const DWORD copy = handle & 0xFFFF;
            if (copy < s->copies.size()) return {&s->copies[copy], 1};
        }
        break;
    case kKindStream:
        if (StreamObj* s = lookup(g_device->streams, handle, kKindStream)) return {&s->voice, 1};
        break;
    case kKindMusic:
        if (MusicObj* m = lookup(g_device->musics, handle, kKindMusic)) return {&m->voice, 1};
        break;
    default:
        break;
    }
    return {};
}

bool validFreq(int freq)
{
    return freq == -1 || freq == 0 || (freq >= 100 && freq <= 200000);
}

bool validPan(int pan)
{
    return pan == -101 || (pan >= -100 && pan <= 100);
}

void initVoice(audio::Voice& v, audio::VoiceKind kind, float baseRate, audio::PullSource* source)
{
    v.kind = kind;
    v.baseRate = v.rate = baseRate;
    v.source = source;
    if (source) v.block.assign(size_t(audio::Voice::kBlockFrames) * 2, 0.0f);
}

// Frees the device's objects in an order that never leaves the render or decode
// thread looking at freed memory: output first, then the decode thread.
void destroyDevice(Device* d)
{
    d->output.reset();
    d->pump.reset();
    d->samples.clear();
    d->streams.clear();
    d->musics.clear();
    delete d;
}

} // namespace

BOOL BASS_Init(int device, DWORD freq, DWORD, HWND)
{
    if (g_device) return fail(BASS_ERROR_ALREADY);
    if (device != TNS_BASS_DEFAULT_DEVICE && device != TNS_BASS_NOSOUND_DEVICE) return fail(BASS_ERROR_DEVICE);
    if (freq < 8000 || freq > 192000) return fail(BASS_ERROR_ILLPARAM);
    audio::SetThreadHook(TNS_PrepareThreadForFaults);
    auto* d = new Device;
    d->mixer = std::make_unique<audio::Mixer>(int(freq));
    d->pump = std::make_unique<audio::StreamPump>();
    audio::OutputError error = audio::OutputError::None;
    if (device == TNS_BASS_NOSOUND_DEVICE) d->output = audio::OpenNoSoundOutput(d->mixer.get());
    else if (g_useCapture) d->output = audio::OpenCaptureOutput(d->mixer.get());
    else d->output = audio::OpenSdlOutput(d->mixer.get(), &error);
    if (!d->output) {
        destroyDevice(d);
        return fail(error == audio::OutputError::Driver ? BASS_ERROR_DRIVER : BASS_ERROR_DEVICE);
    }
    g_device = d;
    return ok();
}

BOOL BASS_Start()
{
    if (!g_device) return fail(BASS_ERROR_INIT);
    return g_device->output->start() ? ok() : fail(BASS_ERROR_START);
}

BOOL BASS_Pause()
{
    if (!g_device) return fail(BASS_ERROR_INIT);
    return g_device->output->pause() ? ok() : fail(BASS_ERROR_UNKNOWN);
}

BOOL BASS_Stop()
{
    if (!g_device) return fail(BASS_ERROR_INIT);
    g_device->output->pause();
    std::lock_guard<std::mutex> lock(g_device->mixer->mutex());
    for (auto& s : g_device->samples)
        if (s)
            for (audio::Voice& v : s->copies) g_device->mixer->stopVoice(&v);
    for (auto& s : g_device->streams)
        if (s) g_device->mixer->stopVoice(&s->voice);
    for (auto& m : g_device->musics)
        if (m) g_device->mixer->stopVoice(&m->voice);
    return ok();
}

void BASS_Free()
{
    if (!g_device) {
        fail(BASS_ERROR_INIT);
        return;
    }
    destroyDevice(g_device);
    g_device = nullptr;
    ok();
}

BOOL BASS_SetGlobalVolumes(int musvol, int samvol, int strvol)
{
    if (!g_device) return fail(BASS_ERROR_INIT);
    for (int v : {musvol, samvol, strvol})
        if (v < -1 || v > 100) return fail(BASS_ERROR_ILLPARAM);
    std::lock_guard<std::mutex> lock(g_device->mixer->mutex());
    g_device->mixer->setGlobalVolumes(musvol, samvol, strvol);
    return ok();
}

float BASS_GetCPU()
{
    if (!g_device) {
        fail(BASS_ERROR_INIT);
        return 0.0f;
    }
    ok();
    return g_device->mixer->cpu();
}

int BASS_ErrorGetCode()
{
    return g_error;
}

HSAMPLE BASS_SampleLoad(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD max, DWORD flags)
{
    if (!g_device) return fail(BASS_ERROR_INIT);
    if (mem) return fail(BASS_ERROR_NOTAVAIL);
    if (max < 1 || max > kMaxCopies) return fail(BASS_ERROR_ILLPARAM);
    const size_t slot = freeSlot(g_device->samples);
    if (slot == kMaxSlots) return fail(BASS_ERROR_MEM);
    auto s = std::make_unique<SampleObj>();
    if (auto error = audio::DecodeSample(static_cast<const char*>(file), offset, length, &s->data); error != audio::DecodeError::None)
        return fail(bassError(error));
    s->takeOver = (flags & BASS_SAMPLE_OVER_POS) != 0;
    s->copies.resize(max);
    for (audio::Voice& v : s->copies) {
        initVoice(v, audio::VoiceKind::Sample, float(s->data.rate), nullptr);
        v.sample = &s->data;
        g_device->mixer->addVoice(&v);
    }
    g_device->samples[slot] = std::move(s);
    ok();
    return makeHandle(kKindSample, slot);
}

HCHANNEL BASS_SamplePlayEx(HSAMPLE handle, DWORD start, int freq, int volume, int pan, BOOL loop)
{
    size_t slot = 0;
    SampleObj* s = g_device ? lookup(g_device->samples, handle, kKindSample, &slot) : nullptr;
    if (!s) return fail(g_device ? BASS_ERROR_HANDLE : BASS_ERROR_INIT);
    if (!validFreq(freq) || volume < -1 || volume > 100 || !validPan(pan)) return fail(BASS_ERROR_ILLPARAM);
    audio::Mixer& mixer = *g_device->mixer;
    std::lock_guard<std::mutex> lock(mixer.mutex());
    audio::Voice* chosen = nullptr;
    for (audio::Voice& v : s->copies) {
        if (v.state == audio::kVoiceStopped) {
            chosen = &v;
            break;
        }
    }
    if (!chosen) {
        if (!s->takeOver) return fail(BASS_ERROR_NOCHAN);
        chosen = &*std::min_element(s->copies.begin(), s->copies.end(),
                                    [](const audio::Voice& a, const audio::Voice& b) { return a.startStamp < b.startStamp; });
    }
    mixer.startVoice(chosen);
    chosen->position = start < s->data.frameCount ? double(start) : 0.0;
    chosen->rate = freq > 0 ? float(freq) : chosen->baseRate;
    chosen->volume = volume >= 0 ? float(volume) / 100.0f : 1.0f;
    chosen->pan = pan != -101 ? float(pan) / 100.0f : 0.0f;
    chosen->loop = loop != 0;
    ok();
    return makeHandle(kKindCopy, slot, DWORD(chosen - s->copies.data()));
}

BOOL BASS_SampleStop(HSAMPLE handle)
{
    if (!g_device) return fail(BASS_ERROR_INIT);
    if ((handle >> 28) != kKindSample) return fail(BASS_ERROR_HANDLE);
    return BASS_ChannelStop(handle);
}

void BASS_SampleFree(HSAMPLE handle)
{
    size_t slot = 0;
    SampleObj* s = g_device ? lookup(g_device->samples, handle, kKindSample, &slot) : nullptr;
    if (!s) {
        fail(g_device ? BASS_ERROR_HANDLE : BASS_ERROR_INIT);
        return;
    }
    for (audio::Voice& v : s->copies) g_device->mixer->removeVoice(&v);
    g_device->samples[slot].reset();
    ok();
}

HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD)
{
    if (!g_device) return fail(BASS_ERROR_INIT);
    if (mem) return fail(BASS_ERROR_NOTAVAIL);
    const size_t slot = freeSlot(g_device->streams);
    if (slot == kMaxSlots) return fail(BASS_ERROR_MEM);
    auto s = std::make_unique<StreamObj>();
    if (auto error = s->decoder.open(static_cast<const char*>(file), offset, length); error != audio::DecodeError::None)
        return fail(bassError(error));
    initVoice(s->voice, audio::VoiceKind::Stream, float(s->decoder.rate()), &s->decoder);
    g_device->mixer->addVoice(&s->voice);
    {
        std::lock_guard<std::mutex> lock(g_device->pump->mutex());
        g_device->pump->add(&s->decoder);
    }
    g_device->streams[slot] = std::move(s);
    ok();
    return makeHandle(kKindStream, slot);
}

BOOL BASS_StreamPlay(HSTREAM handle, BOOL flush, DWORD flags)
{
    StreamObj* s = g_device ? lookup(g_device->streams, handle, kKindStream) : nullptr;
    if (!s) return fail(g_device ? BASS_ERROR_HANDLE : BASS_ERROR_INIT);
    const bool loop = (flags & BASS_SAMPLE_LOOP) != 0;
    audio::Mixer& mixer = *g_device->mixer;
    if (!flush && s->started && !s->decoder.ended()) {
        std::lock_guard<std::mutex> lock(mixer.mutex());
        s->decoder.setLoop(loop);
        s->voice.state = audio::kVoicePlaying;
        return ok();
    }
    // Stop the voice first: once the render thread has let go of the ring, the
    // ring may be emptied and refilled from the start.
    {
        std::lock_guard<std::mutex> lock(mixer.mutex());
        mixer.stopVoice(&s->voice);
    }
    {
        std::lock_guard<std::mutex> lock(g_device->pump->mutex());
        s->decoder.restart(loop);
        // A first block now, so the sound starts with the next buffer.
        s->decoder.decodeAhead(4096);
    }
    {
        std::lock_guard<std::mutex> lock(mixer.mutex());
        mixer.startVoice(&s->voice);
    }
    g_device->pump->wake();
    s->started = true;
    return ok();
}

void BASS_StreamFree(HSTREAM handle)
{
    size_t slot = 0;
    StreamObj* s = g_device ? lookup(g_device->streams, handle, kKindStream, &slot) : nullptr;
    if (!s) {
        fail(g_device ? BASS_ERROR_HANDLE : BASS_ERROR_INIT);
        return;
    }
    g_device->mixer->removeVoice(&s->voice);
    {
        std::lock_guard<std::mutex> lock(g_device->pump->mutex());
        g_device->pump->remove(&s->decoder);
    }
    g_device->streams[slot].reset();
    ok();
}

HMUSIC BASS_MusicLoad(BOOL mem, const void* file, DWORD offset, DWORD length, DWORD)
{
    if (!g_device) return fail(BASS_ERROR_INIT);
    if (mem) return fail(BASS_ERROR_NOTAVAIL);
    const size_t slot = freeSlot(g_device->musics);
    if (slot == kMaxSlots) return fail(BASS_ERROR_MEM);
    auto m = std::make_unique<MusicObj>();
    m->source = std::make_unique<audio::ModuleSource>(g_device->mixer->outputRate());
    if (auto error = m->source->open(static_cast<const char*>(file), offset, length); error != audio::DecodeError::None)
        return fail(bassError(error));
    initVoice(m->voice, audio::VoiceKind::Music, float(g_device->mixer->outputRate()), m->source.get());
    g_device->mixer->addVoice(&m->voice);
    g_device->musics[slot] = std::move(m);
    ok();
    return makeHandle(kKindMusic, slot);
}

BOOL BASS_MusicPlayEx(HMUSIC handle, DWORD pos, int flags, BOOL)
{
    MusicObj* m = g_device ? lookup(g_device->musics, handle, kKindMusic) : nullptr;
    if (!m) return fail(g_device ? BASS_ERROR_HANDLE : BASS_ERROR_INIT);
    std::lock_guard<std::mutex> lock(g_device->mixer->mutex());
    m->source->restart(pos, (DWORD(flags) & BASS_MUSIC_LOOP) != 0);
    g_device->mixer->startVoice(&m->voice);
    return ok();
}

void BASS_MusicFree(HMUSIC handle)
{
    size_t slot = 0;
    MusicObj* m = g_device ? lookup(g_device->musics, handle, kKindMusic, &slot) : nullptr;
    if (!m) {
        fail(g_device ? BASS_ERROR_HANDLE : BASS_ERROR_INIT);
        return;
    }
    g_device->mixer->removeVoice(&m->voice);
    g_device->musics[slot].reset();
    ok();
}

// Stopping, pausing or resuming a channel that is not in the state the call
// leaves succeeds and changes nothing.
BOOL BASS_ChannelStop(DWORD handle)
{
    if (!g_device) return fail(BASS_ERROR_INIT);
    VoiceSet set = resolve(handle);
    if (!set.first) return fail(BASS_ERROR_HANDLE);
    std::lock_guard<std::mutex> lock(g_device->mixer->mutex());
    for (size_t i = 0; i < set.count; ++i) g_device->mixer->stopVoice(&set.first[i]);
    return ok();
}

BOOL BASS_ChannelPause(DWORD handle)
{
    if (!g_device) return fail(BASS_ERROR_INIT);
    VoiceSet set = resolve(handle);
    if (!set.first) return fail(BASS_ERROR_HANDLE);
    std::lock_guard<std::mutex> lock(g_device->mixer->mutex());
    for (size_t i = 0; i < set.count; ++i)
        if (set.first[i].state == audio::kVoicePlaying) set.first[i].state = audio::kVoicePaused;
    return ok();
}

BOOL BASS_ChannelResume(DWORD handle)
{
    if (!g_device) return fail(BASS_ERROR_INIT);
    VoiceSet set = resolve(handle);
    if (!set.first) return fail(BASS_ERROR_HANDLE);
    std::lock_guard<std::mutex> lock(g_device->mixer->mutex());
    for (size_t i = 0; i < set.count; ++i)
        if (set.first[i].state == audio::kVoicePaused) set.first[i].state = audio::kVoicePlaying;
    return ok();
}

BOOL BASS_ChannelSetAttributes(DWORD handle, int freq, int volume, int pan)
{
    if (!g_device) return fail(BASS_ERROR_INIT);
    VoiceSet set = resolve(handle);
    if (!set.first) return fail(BASS_ERROR_HANDLE);
    if (!validFreq(freq) || volume < -1 || volume > 100 || !validPan(pan)) return fail(BASS_ERROR_ILLPARAM);
    std::lock_guard<std::mutex> lock(g_device->mixer->mutex());
    for (size_t i = 0; i < set.count; ++i) {
        audio::Voice& v = set.first[i];
        if (freq != -1) g_device->mixer->setRate(&v, freq == 0 ? v.baseRate : float(freq));
        if (volume != -1) {
            v.volume = float(volume) / 100.0f;
            v.slideVolume.active = false;
            v.stopAfterFade = false;
        }
        if (pan != -101) {
            v.pan = float(pan) / 100.0f;
            v.slidePan.active = false;
        }
    }
    return ok();
}

BOOL BASS_ChannelSlideAttributes(DWORD handle, int freq, int volume, int pan, DWORD time)
{
    if (!g_device) return fail(BASS_ERROR_INIT);
    VoiceSet set = resolve(handle);
    if (!set.first) return fail(BASS_ERROR_HANDLE);
    if (!validFreq(freq) || volume < -2 || volume > 100 || !validPan(pan)) return fail(BASS_ERROR_ILLPARAM);
    std::lock_guard<std::mutex> lock(g_device->mixer->mutex());
    for (size_t i = 0; i < set.count; ++i)
        if (set.first[i].state != audio::kVoiceStopped) g_device->mixer->slide(&set.first[i], freq, volume, pan, time);
    return ok();
}

DWORD BASS_ChannelIsActive(DWORD handle)
{
    if (!g_device) return fail(BASS_ERROR_INIT);
    VoiceSet set = resolve(handle);
    if (!set.first) return fail(BASS_ERROR_HANDLE);
    std::lock_guard<std::mutex> lock(g_device->mixer->mutex());
    DWORD status = BASS_ACTIVE_STOPPED;
    for (size_t i = 0; i < set.count; ++i) {
        if (set.first[i].state == audio::kVoicePlaying) status = BASS_ACTIVE_PLAYING;
        else if (set.first[i].state == audio::kVoicePaused && status == BASS_ACTIVE_STOPPED) status = BASS_ACTIVE_PAUSED;
    }
    ok();
    return status;
}

DWORD BASS_ChannelGetLevel(DWORD handle)
{
    if (!g_device) {
        fail(BASS_ERROR_INIT);
        return DWORD(-1);
    }
    VoiceSet set = resolve(handle);
    if (!set.first) {
        fail(BASS_ERROR_HANDLE);
        return DWORD(-1);
    }
    std::lock_guard<std::mutex> lock(g_device->mixer->mutex());
    float left = 0.0f, right = 0.0f;
    for (size_t i = 0; i < set.count; ++i) {
        if (set.first[i].state != audio::kVoicePlaying) continue;
        left = std::max(left, set.first[i].peakLeft);
        right = std::max(right, set.first[i].peakRight);
    }
    auto scale = [](float peak) { return DWORD(std::lround(std::clamp(peak, 0.0f, 1.0f) * 128.0f)); };
    ok();
    return scale(left) | (scale(right) << 16);
}

void TNS_BassUseCaptureDevice(bool use)
{
    g_useCapture = use;
}

bool TNS_BassCaptureRender(int16_t* out, int frames)
{
    return g_device && g_device->output->capture(out, frames);
}

DWORD TNS_BassGetOutputRate()
{
    return g_device ? DWORD(g_device->mixer->outputRate()) : 0;
}
