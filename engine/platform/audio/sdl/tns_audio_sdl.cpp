// The SDL2 audio device behind the audio-library subset: it only hands the
// mixer the buffer to fill. The audio subsystem is started on its own, so a
// failing audio driver leaves video untouched. Limits: the default device only.
#include "engine/platform/audio/tns_audio_output.h"
#include "engine/platform/win32/tns_sdl_internal.h"

namespace tns::audio {

namespace {

class SdlOutput : public Output {
public:
    explicit SdlOutput(SDL_AudioDeviceID device) : m_device(device) {}
    ~SdlOutput() override
    {
        SDL_CloseAudioDevice(m_device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    bool start() override
    {
        SDL_PauseAudioDevice(m_device, 0);
        return true;
    }
    bool pause() override
    {
        SDL_PauseAudioDevice(m_device, 1);
        return true;
    }

private:
    SDL_AudioDeviceID m_device;
};

void SDLCALL fillBuffer(void* user, Uint8* stream, int bytes)
{
    RunThreadHook();
    static_cast<Mixer*>(user)->renderS16(reinterpret_cast<int16_t*>(stream), bytes / 4);
}

} // namespace

std::unique_ptr<Output> OpenSdlOutput(Mixer* mixer, OutputError* error)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        *error = OutputError::Driver;
        return nullptr;
    }
    SDL_AudioSpec want{};
    want.freq = mixer->outputRate();
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = fillBuffer;
    want.userdata = mixer;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts if the hardware differs, so the mixer
    // always renders stereo 16-bit at the rate it was made for.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        *error = OutputError::Device;
        return nullptr;
    }
    SDL_PauseAudioDevice(device, 0);
    return std::make_unique<SdlOutput>(device);
}

} // namespace tns::audio
