// Sound files through the audio layer (which loader is chosen when built): a
// sample, a stream or a tracker module is refused or loads and plays a moment.
#include <vector>

#include "fuzz/fuzz_engine.h"

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
    fuzz::soundEngine();
    // An exact-size copy: a read past the end is a read past the allocation.
    std::vector<uint8_t> bytes(data, data + size);
    switch (TARNIS_FUZZ_AUDIO) {
    case kSample:
        if (HSAMPLE s = BASS_SampleLoad(TRUE, bytes.data(), 0, DWORD(size), 4, 0)) {
            FUZZ_CHECK(BASS_SamplePlayEx(s, 0, -1, 100, 0, FALSE) != 0);
            playAMoment();
            BASS_SampleFree(s);
        }
        break;
    case kStream:
        if (HSTREAM s = BASS_StreamCreateFile(TRUE, bytes.data(), 0, DWORD(size), 0)) {
            BASS_StreamPlay(s, TRUE, 0);
            playAMoment();
            BASS_StreamFree(s);
        }
        break;
    default:
        if (HMUSIC m = BASS_MusicLoad(TRUE, bytes.data(), 0, DWORD(size), 0)) {
            BASS_MusicPlayEx(m, 0, -1, TRUE);
            playAMoment();
            BASS_MusicFree(m);
        }
        break;
    }
    return 0;
}
