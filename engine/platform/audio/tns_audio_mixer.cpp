// The float mixer: linear-interpolating resampler per voice, per-frame slides,
// balance pan, global volumes per voice kind, one clip at the 16-bit output.
#include "engine/platform/audio/tns_audio_mixer.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>

namespace tns::audio {
#endif

Mixer::Mixer(int outputRate) : m_outputRate(outputRate > 0 ? outputRate : 44100)
{
    m_mixBuffer.resize(size_t(kChunkFrames) * 2);
}

void Mixer::addVoice(Voice* voice)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_voices.push_back(voice);
}

void Mixer::removeVoice(Voice* voice)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_voices.erase(std::remove(m_voices.begin(), m_voices.end(), voice), m_voices.end());
}

void Mixer::startVoice(Voice* voice)
{
    voice->state = kVoicePlaying;
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

void Mixer::stopVoice(Voice* voice)
{
    voice->state = kVoiceStopped;
    voice->stopAfterFade = false;
    voice->slideRate.active = voice->slideVolume.active = voice->slidePan.active = false;
    voice->peakLeft = voice->peakRight = 0.0f;
}

void Mixer::setRate(Voice* voice, float rate)
{
    voice->rate = rate;
    voice->slideRate.active = false;
}

void Mixer::slide(Voice* voice, int freq, int volume, int pan, uint32_t timeMs)
{
    const int64_t total = int64_t(timeMs) * m_outputRate / 1000;
    auto begin = [total](Slide& s, float& value, float target) {
        if (total <= 0) {
            value = target;
            s.active = false;
            return;
        }
        s = Slide{true, value, target, 0, total};
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

void Mixer::setGlobalVolumes(int music, int samples, int streams)
{
    if (music >= 0) m_global[int(VoiceKind::Music)] = float(music) / 100.0f;
    if (samples >= 0) m_global[int(VoiceKind::Sample)] = float(samples) / 100.0f;
    if (streams >= 0) m_global[int(VoiceKind::Stream)] = float(streams) / 100.0f;
}

namespace {

// One frame of a slide; true when it has just reached its target.
bool stepSlide(Slide& s, float& value)
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

bool Mixer::advanceSlides(Voice& v)
{
    stepSlide(v.slideRate, v.rate);
    stepSlide(v.slidePan, v.pan);
    if (stepSlide(v.slideVolume, v.volume) && v.stopAfterFade) {
        stopVoice(&v);
        return false;
    }
    return true;
}

bool Mixer::fetchFrame(Voice& v, float* frame)
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

bool Mixer::mixFrame(Voice& v, float* o, float global, float& peakL, float& peakR)
{
    if ((v.slideRate.active || v.slideVolume.active || v.slidePan.active) && !advanceSlides(v)) return false;
    const double step = std::max(0.0, double(v.rate) / double(m_outputRate));
    float l, r;
    if (v.sample) {
        const SampleData& d = *v.sample;
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
            return false;
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
    o[0] += l;
    o[1] += r;
    peakL = std::max(peakL, std::fabs(l));
    peakR = std::max(peakR, std::fabs(r));
    return true;
}

// A run of a sample voice that reaches neither the last frame (whose neighbour
// depends on looping) nor a loop point, with the position inside one binade of
// doubles [2^(e-1), 2^e). There every position is a multiple of the binade's
// grid u, so position + step rounds to position + s, s being step rounded to
// the grid (unless step lies exactly halfway, where the rounding depends on
// the position: those frames go the general way). Position j of the run is
// then exactly p + j * s, the value the frame-by-frame sum reaches, and the
// frames need no checks and no loop-carried sum.
int Mixer::mixSampleRun(Voice& v, float* out, int frames, double step, float gl, float gr, float& peakL,
                           float& peakR)
{
    const SampleData& d = *v.sample;
    const int64_t count = d.frameCount;
    const double p = v.position;
    if (!(step > 0.0) || count < 2 || count > int64_t(INT32_MAX) || !(p >= 1.0) || !(p < double(count - 1)))
        return 0;
    int ex = 0;
    std::frexp(p, &ex); // p in [2^(ex-1), 2^ex)
    const double top = std::ldexp(1.0, ex);
    const double u = std::ldexp(1.0, ex - 53);
    const double q = step / u;
    const double qi = std::floor(q);
    const double rem = q - qi;
    if (rem == 0.5) return 0;
    const double s = (rem > 0.5 ? qi + 1.0 : qi) * u;
    // The run ends before the position reaches the last frame or the binade's top.
    const double limit = std::min(double(count - 1), top);
    int n = frames;
    if (s > 0.0) {
        const double fit = std::floor((limit - p) / s);
        if (fit < double(frames)) n = fit > 0.0 ? int(fit) : 0;
        while (n > 0 && p + double(n) * s >= limit) --n;
    }
    if (n <= 0) return 0;

    const float* base = d.frames.data();
    int j = 0;
#if defined(__SSE2__)
    if (n >= 2) {
        __m128d pos = _mm_set_pd(p + s, p);
        const __m128d step2 = _mm_set1_pd(2.0 * s);
        const __m128 gain = _mm_set_ps(gr, gl, gr, gl);
        const __m128 absMask = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF));
        __m128 peak = _mm_setzero_ps();
        for (; j + 2 <= n; j += 2) {
            const __m128i idx = _mm_cvttpd_epi32(pos);
            const __m128 f = _mm_cvtpd_ps(_mm_sub_pd(pos, _mm_cvtepi32_pd(idx)));
            const int i0 = _mm_cvtsi128_si32(idx);
            const int i1 = _mm_cvtsi128_si32(_mm_shuffle_epi32(idx, 1));
            const __m128 x0 = _mm_loadu_ps(base + size_t(i0) * 2); // a0 a1 b0 b1
            const __m128 x1 = _mm_loadu_ps(base + size_t(i1) * 2);
            const __m128 a = _mm_movelh_ps(x0, x1);
            const __m128 b = _mm_movehl_ps(x1, x0);
            const __m128 ff = _mm_unpacklo_ps(f, f);
            const __m128 lr = _mm_mul_ps(_mm_add_ps(a, _mm_mul_ps(_mm_sub_ps(b, a), ff)), gain);
            float* o = out + size_t(j) * 2;
            _mm_storeu_ps(o, _mm_add_ps(_mm_loadu_ps(o), lr));
            peak = _mm_max_ps(peak, _mm_and_ps(lr, absMask));
            pos = _mm_add_pd(pos, step2);
        }
        alignas(16) float pk[4];
        _mm_store_ps(pk, peak);
        peakL = std::max(peakL, std::max(pk[0], pk[2]));
        peakR = std::max(peakR, std::max(pk[1], pk[3]));
    }
#endif
    for (; j < n; ++j) {
        const double pos = p + double(j) * s;
        const int64_t idx = int64_t(pos);
        const float f = float(pos - double(idx));
        const float* a = base + size_t(idx) * 2;
        const float l = (a[0] + (a[2] - a[0]) * f) * gl;
        const float r = (a[1] + (a[3] - a[1]) * f) * gr;
        out[size_t(j) * 2] += l;
        out[size_t(j) * 2 + 1] += r;
        peakL = std::max(peakL, std::fabs(l));
        peakR = std::max(peakR, std::fabs(r));
    }
    v.position = p + double(n) * s;
    return n;
}

// A pulled voice at the output rate: every frame moves current to next and
// takes the next frame of the block, interpolating at fraction 0. Runs while
// the block holds frames; the frame that pulls goes the general way.
int Mixer::mixPulledRun(Voice& v, float* out, int frames, double step, float gl, float gr, float& peakL,
                           float& peakR)
{
    if (step != 1.0 || v.fraction != 1.0 || v.framesReady != 2) return 0;
    const int n = std::min(frames, v.blockLength - v.blockPos);
    if (n <= 0) return 0;
    const float* src = v.block.data() + size_t(v.blockPos) * 2;
    const float f = 0.0f; // the fraction after moving on by one frame
    float pl = peakL, pr = peakR;
    {
        const float l = (v.next[0] + (src[0] - v.next[0]) * f) * gl;
        const float r = (v.next[1] + (src[1] - v.next[1]) * f) * gr;
        out[0] += l;
        out[1] += r;
        pl = std::max(pl, std::fabs(l));
        pr = std::max(pr, std::fabs(r));
    }
    for (int j = 1; j < n; ++j) {
        const float* c = src + size_t(j - 1) * 2;
        const float l = (c[0] + (c[2] - c[0]) * f) * gl;
        const float r = (c[1] + (c[3] - c[1]) * f) * gr;
        out[size_t(j) * 2] += l;
        out[size_t(j) * 2 + 1] += r;
        pl = std::max(pl, std::fabs(l));
        pr = std::max(pr, std::fabs(r));
    }
    peakL = pl;
    peakR = pr;
    if (n >= 2) {
        v.current[0] = src[size_t(n - 2) * 2];
        v.current[1] = src[size_t(n - 2) * 2 + 1];
    } else {
        v.current[0] = v.next[0];
        v.current[1] = v.next[1];
    }
    v.next[0] = src[size_t(n - 1) * 2];
    v.next[1] = src[size_t(n - 1) * 2 + 1];
    v.blockPos += n;
    return n;
}

void Mixer::mixVoice(Voice& v, float* out, int frames)
{
    const float global = m_global[int(v.kind)];
    float peakL = 0.0f, peakR = 0.0f;
    v.starved = false;
    int i = 0;
    while (i < frames && v.state == kVoicePlaying) {
        if (!v.slideRate.active && !v.slideVolume.active && !v.slidePan.active) {
            // Nothing changes per frame: gains and step once for the run.
            const double step = std::max(0.0, double(v.rate) / double(m_outputRate));
            const float gain = v.volume * global;
            const float gl = gain * (v.pan > 0.0f ? 1.0f - v.pan : 1.0f);
            const float gr = gain * (v.pan < 0.0f ? 1.0f + v.pan : 1.0f);
            float* o = out + size_t(i) * 2;
            i += v.sample ? mixSampleRun(v, o, frames - i, step, gl, gr, peakL, peakR)
                          : mixPulledRun(v, o, frames - i, step, gl, gr, peakL, peakR);
            if (i >= frames) break;
        }
        if (!mixFrame(v, out + size_t(i) * 2, global, peakL, peakR)) break;
        ++i;
    }
    v.peakLeft = peakL;
    v.peakRight = peakR;
}

void Mixer::render(float* stereo, int frames)
{
    if (frames <= 0) return;
    const auto started = std::chrono::steady_clock::now();
    std::memset(stereo, 0, size_t(frames) * 2 * sizeof(float));
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (Voice* v : m_voices)
            if (v->state == kVoicePlaying) mixVoice(*v, stereo, frames);
    }
    const double spent = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double share = 100.0 * spent * double(m_outputRate) / double(frames);
    const float previous = m_cpu.load(std::memory_order_relaxed);
    m_cpu.store(previous * 0.9f + float(share) * 0.1f, std::memory_order_relaxed);
}

void Mixer::renderS16(int16_t* out, int frames)
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

} // namespace tns::audio
