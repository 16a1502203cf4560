// The float mixer: linear-interpolating resampler per voice, per-frame slides,
// balance pan, global volumes per voice kind, one clip at the 16-bit output.
#include "engine/platform/tns_audio_mixer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

TnsMixer::TnsMixer(int outputRate) : m_outputRate(outputRate > 0 ? outputRate : 44100)
{
    m_mixBuffer.resize(size_t(kChunkFrames) * 2);
}

void TnsMixer::addVoice(TnsVoice* voice)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_voices.push_back(voice);
}

void TnsMixer::removeVoice(TnsVoice* voice)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_voices.erase(std::remove(m_voices.begin(), m_voices.end(), voice), m_voices.end());
}

void TnsMixer::startVoice(TnsVoice* voice)
{
    voice->state = TNS_VOICE_PLAYING;
    voice->position = 0.0;
    voice->blockLength = 0;
    voice->blockPos = 0;
    voice->fraction = 0.0;
    voice->framesReady = 0;
    voice->starved = false;
    voice->stopAfterFade = false;
    voice->slideRate.active = voice->slideVolume.active = voice->slidePan.active = false;
    voice->startStamp = nextStamp();
    voice->peakLeft = voice->peakRight = 0.0f;
}

void TnsMixer::stopVoice(TnsVoice* voice)
{
    voice->state = TNS_VOICE_STOPPED;
    voice->stopAfterFade = false;
    voice->slideRate.active = voice->slideVolume.active = voice->slidePan.active = false;
    voice->peakLeft = voice->peakRight = 0.0f;
}

void TnsMixer::setRate(TnsVoice* voice, float rate)
{
    voice->rate = rate;
    voice->slideRate.active = false;
}

void TnsMixer::slide(TnsVoice* voice, int freq, int volume, int pan, uint32_t timeMs)
{
    const int64_t total = int64_t(timeMs) * m_outputRate / 1000;
    auto begin = [total](TnsSlide& s, float& value, float target) {
        if (total <= 0) {
            value = target;
            s.active = false;
            return;
        }
        s = TnsSlide{true, value, target, 0, total};
    };
    if (freq != -1) begin(voice->slideRate, voice->rate, freq == 0 ? voice->baseRate : float(freq));
    if (pan != -101) begin(voice->slidePan, voice->pan, float(pan) / 100.0f);
    if (volume != -1) {
        const bool fade = volume < 0;
        voice->stopAfterFade = fade;
        begin(voice->slideVolume, voice->volume, fade ? 0.0f : float(volume) / 100.0f);
        if (fade && total <= 0) stopVoice(voice);
    }
}

void TnsMixer::setGlobalVolumes(int music, int samples, int streams)
{
    if (music >= 0) m_global[int(TnsVoiceKind::Music)] = float(music) / 100.0f;
    if (samples >= 0) m_global[int(TnsVoiceKind::Sample)] = float(samples) / 100.0f;
    if (streams >= 0) m_global[int(TnsVoiceKind::Stream)] = float(streams) / 100.0f;
}

namespace {

// One frame of a slide; true when it has just reached its target.
bool stepSlide(TnsSlide& s, float& value)
{
    if (!s.active) return false;
    if (++s.elapsed >= s.total) {
        value = s.to;
        s.active = false;
        return true;
    }
    value = s.from + (s.to - s.from) * float(double(s.elapsed) / double(s.total));
    return false;
}

} // namespace

bool TnsMixer::advanceSlides(TnsVoice& v)
{
    stepSlide(v.slideRate, v.rate);
    stepSlide(v.slidePan, v.pan);
    if (stepSlide(v.slideVolume, v.volume) && v.stopAfterFade) {
        stopVoice(&v);
        return false;
    }
    return true;
}

bool TnsMixer::fetchFrame(TnsVoice& v, float* frame)
{
    if (v.blockPos >= v.blockLength) {
        const int got = v.source->pull(v.block.data(), int(v.block.size() / 2));
        v.blockLength = got > 0 ? got : 0;
        v.blockPos = 0;
        if (v.blockLength == 0) return false;
    }
    frame[0] = v.block[v.blockPos * 2];
    frame[1] = v.block[v.blockPos * 2 + 1];
    ++v.blockPos;
    return true;
}

void TnsMixer::mixVoice(TnsVoice& v, float* out, int frames)
{
    const float global = m_global[int(v.kind)];
    const double outRate = double(m_outputRate);
    float peakL = 0.0f, peakR = 0.0f;
    v.starved = false;
    for (int i = 0; i < frames && v.state == TNS_VOICE_PLAYING; ++i) {
        if ((v.slideRate.active || v.slideVolume.active || v.slidePan.active) && !advanceSlides(v)) break;
        const double step = std::max(0.0, double(v.rate) / outRate);
        float l, r;
        if (v.sample) {
            const TnsSampleData& d = *v.sample;
            const int64_t idx = int64_t(v.position);
            const float f = float(v.position - double(idx));
            const float* a = &d.frames[size_t(idx) * 2];
            const float* b = idx + 1 < d.frameCount ? a + 2 : (v.loop ? &d.frames[0] : a);
            l = a[0] + (b[0] - a[0]) * f;
            r = a[1] + (b[1] - a[1]) * f;
            v.position += step;
            if (v.position >= double(d.frameCount)) {
                if (v.loop) {
                    v.position = std::fmod(v.position, double(d.frameCount));
                } else {
                    stopVoice(&v);
                }
            }
        } else {
            // Bring current/next up to the interpolation position; a source that
            // has nothing yet leaves the voice waiting where it is.
            bool ready = true;
            while (ready) {
                if (v.framesReady < 2) {
                    if (!fetchFrame(v, v.framesReady == 0 ? v.current : v.next)) ready = false;
                    else ++v.framesReady;
                } else if (v.fraction >= 1.0) {
                    v.current[0] = v.next[0];
                    v.current[1] = v.next[1];
                    v.framesReady = 1;
                    v.fraction -= 1.0;
                } else {
                    break;
                }
            }
            if (!ready) {
                if (v.source->ended()) stopVoice(&v);
                else v.starved = true;
                break;
            }
            const float f = float(v.fraction);
            l = v.current[0] + (v.next[0] - v.current[0]) * f;
            r = v.current[1] + (v.next[1] - v.current[1]) * f;
            v.fraction += step;
        }
        const float gain = v.volume * global;
        const float gl = gain * (v.pan > 0.0f ? 1.0f - v.pan : 1.0f);
        const float gr = gain * (v.pan < 0.0f ? 1.0f + v.pan : 1.0f);
        l *= gl;
        r *= gr;
        out[i * 2] += l;
        out[i * 2 + 1] += r;
        peakL = std::max(peakL, std::fabs(l));
        peakR = std::max(peakR, std::fabs(r));
    }
    v.peakLeft = peakL;
    v.peakRight = peakR;
}

void TnsMixer::render(float* stereo, int frames)
{
    if (frames <= 0) return;
    const auto started = std::chrono::steady_clock::now();
    std::memset(stereo, 0, size_t(frames) * 2 * sizeof(float));
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (TnsVoice* v : m_voices)
            if (v->state == TNS_VOICE_PLAYING) mixVoice(*v, stereo, frames);
    }
    const double spent = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double share = 100.0 * spent * double(m_outputRate) / double(frames);
    const float previous = m_cpu.load(std::memory_order_relaxed);
    m_cpu.store(previous * 0.9f + float(share) * 0.1f, std::memory_order_relaxed);
}

void TnsMixer::renderS16(int16_t* out, int frames)
{
    while (frames > 0) {
        const int n = std::min(frames, kChunkFrames);
        render(m_mixBuffer.data(), n);
        for (int i = 0; i < n * 2; ++i) {
            const float s = std::clamp(m_mixBuffer[size_t(i)], -1.0f, 1.0f);
            out[i] = int16_t(std::lround(s * 32767.0f));
        }
        out += n * 2;
        frames -= n;
    }
}
