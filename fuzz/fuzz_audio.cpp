// Sound files through the audio layer (which loader is chosen when built): a
// sample, a stream or a tracker module is refused or loads and plays a moment.
#include <cstdlib>
#include <vector>

#include "engine/platform/audio/bass_testing.h"
#include "fuzz/fuzz_support.h"

namespace {

enum Kind { kSample, kStream, kModule };

void playAMoment()
{
    std::vector<int16_t> out(2048 * 2);
    FUZZ_CHECK(TNS_BassCaptureRender(out.data(), 2048));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20)) return 0;
    // The audio layer alone, on the capture device (no thread, no sound card).
    static const bool ready = [] {
        fuzz::enterScratchDir();
        TNS_BassUseCaptureDevice(true);
        if (!BASS_Init(TNS_BASS_DEFAULT_DEVICE, 44100, 0, nullptr)) std::abort();
        return true;
    }();
    (void)ready;
    // The audio layer reads files (a range of one, as in a PAK file).
    fuzz::writeBytes("input.snd", data, size);
    const char* file = "input.snd";
    switch (TARNIS_FUZZ_AUDIO) {
    case kSample:
        if (HSAMPLE s = BASS_SampleLoad(FALSE, file, 0, 0, 4, 0)) {
            FUZZ_CHECK(BASS_SamplePlayEx(s, 0, -1, 100, 0, FALSE) != 0);
            playAMoment();
            BASS_SampleFree(s);
        }
        break;
    case kStream:
        if (HSTREAM s = BASS_StreamCreateFile(FALSE, file, 0, 0, 0)) {
            BASS_StreamPlay(s, TRUE, 0);
            playAMoment();
            BASS_StreamFree(s);
        }
        break;
    default:
        if (HMUSIC m = BASS_MusicLoad(FALSE, file, 0, 0, 0)) {
            BASS_MusicPlayEx(m, 0, -1, TRUE);
            playAMoment();
            BASS_MusicFree(m);
        }
        break;
    }
    return 0;
}
