// Outputs without a sound card: the no-sound device, whose thread mixes into a
// scratch buffer at real-time pace so channels play, fade and end as with sound,
// and the capture device, which mixes exactly what its caller pulls.
#include <atomic>
#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "engine/platform/audio/tns_audio_output.h"

namespace tns::audio {

namespace {

class NoSoundOutput : public Output {
public:
    explicit NoSoundOutput(Mixer* mixer) : m_mixer(mixer), m_thread([this] { run(); }) {}
    ~NoSoundOutput() override
    {
        m_quit.store(true);
        m_thread.join();
    }
    bool start() override
    {
        m_paused.store(false);
        return true;
    }
    bool pause() override
    {
        m_paused.store(true);
        return true;
    }

private:
    void run()
    {
        RunThreadHook();
        constexpr int kChunk = 1024;
        std::vector<float> scratch(size_t(kChunk) * 2);
        auto last = std::chrono::steady_clock::now();
        double owed = 0.0;
        while (!m_quit.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            const auto now = std::chrono::steady_clock::now();
            const double seconds = std::chrono::duration<double>(now - last).count();
            last = now;
            if (m_paused.load()) continue;
            owed += seconds * m_mixer->outputRate();
            while (owed >= 1.0) {
                const int n = owed > kChunk ? kChunk : int(owed);
                m_mixer->render(scratch.data(), n);
                owed -= n;
            }
        }
    }

    Mixer* m_mixer;
    std::atomic<bool> m_paused{false};
    std::atomic<bool> m_quit{false};
    std::thread m_thread;
};

class CaptureOutput : public Output {
public:
    explicit CaptureOutput(Mixer* mixer) : m_mixer(mixer) {}
    bool start() override
    {
        m_paused = false;
        return true;
    }
    bool pause() override
    {
        m_paused = true;
        return true;
    }
    bool capture(int16_t* out, int frames) override
    {
        if (frames <= 0) return true;
        if (m_paused) {
            std::fill(out, out + size_t(frames) * 2, int16_t(0));
            return true;
        }
        m_mixer->renderS16(out, frames);
        return true;
    }

private:
    Mixer* m_mixer;
    bool m_paused = false;
};

} // namespace

std::unique_ptr<Output> OpenNoSoundOutput(Mixer* mixer)
{
    return std::make_unique<NoSoundOutput>(mixer);
}

std::unique_ptr<Output> OpenCaptureOutput(Mixer* mixer)
{
    return std::make_unique<CaptureOutput>(mixer);
}

} // namespace tns::audio
