// The audio-library subset end to end: decoding byte ranges of real files,
// copies and take-over, streams, tracker music, levels, and the devices: the
// capture device, the no-sound device, SDL's disk writer and missing drivers.
#include <chrono>
#include <cstdlib>
#include <thread>

#include "engine/platform/audio/bass_testing.h"
#include "engine/platform/audio/bass.h"
#include "tests/support/audio_samples.h"
#include "tests/support/test_support.h"

namespace {

constexpr int kRate = 44100;

class BassCapture : public tst::InScratchDir {
protected:
    void SetUp() override
    {
        TNS_BassUseCaptureDevice(true);
        ASSERT_TRUE(BASS_Init(TNS_BASS_DEFAULT_DEVICE, kRate, TNS_BASS_ENGINE_DEVICE_FLAGS, nullptr));
    }
    void TearDown() override
    {
        BASS_Free();
        TNS_BassUseCaptureDevice(false);
    }
    std::vector<int16_t> render(int frames)
    {
        std::vector<int16_t> out(size_t(frames) * 2);
        EXPECT_TRUE(TNS_BassCaptureRender(out.data(), frames));
        return out;
    }
};

// A "PAK" holding the sound between unrelated bytes; returns the offset.
uint32_t embed(const std::string& soundPath, const std::string& pakPath, uint32_t* length)
{
    const std::string sound = tst::readFile(soundPath);
    const std::string head(100, 'J');
    tst::writeFile(pakPath, head + sound + std::string(77, 'T'));
    *length = uint32_t(sound.size());
    return uint32_t(head.size());
}

TEST_F(BassCapture, SamplesDecodeFromAByteRangeInEveryFormat)
{
    // 0.5 full scale is 16384 (within rounding and codec loss).
    for (const char* name : {"a.wav", "a.flac", "a.aiff", "a.ogg"}) {
        ASSERT_TRUE(sfxtest::writeSound(name, sfxtest::constant(0.5f, 8000), 1, kRate)) << name;
        uint32_t length = 0;
        const uint32_t offset = embed(name, "data.pak", &length);
        HSAMPLE s = BASS_SampleLoad(FALSE, "data.pak", offset, length, 1, 0);
        ASSERT_NE(s, 0u) << name << " error " << BASS_ErrorGetCode();
        ASSERT_NE(BASS_SamplePlayEx(s, 0, -1, 100, -101, FALSE), 0u);
        std::vector<int16_t> out = render(4000);
        EXPECT_NEAR(out[2000 * 2], 16384, 700) << name;
        EXPECT_NEAR(out[2000 * 2 + 1], 16384, 700) << name;
        BASS_SampleFree(s);
    }
}

TEST_F(BassCapture, BadFilesFailWithTheirErrorCodes)
{
    ASSERT_TRUE(sfxtest::writeSound("a.wav", sfxtest::constant(0.5f, 100), 1, kRate));
    const DWORD size = DWORD(tst::readFile("a.wav").size());

    // Missing and undecodable files of each kind fail through the engine's loaders (tested there).
    EXPECT_EQ(BASS_SampleLoad(FALSE, "a.wav", 10, size, 1, 0), 0u) << "range past the end";
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEOPEN);
    EXPECT_EQ(BASS_SampleLoad(FALSE, "a.wav", 0, 0, 0, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
    EXPECT_EQ(BASS_MusicLoad(FALSE, "a.wav", 0, 1, 0), 0u) << "one byte is no module";
    EXPECT_NE(BASS_ErrorGetCode(), BASS_OK);

    HSAMPLE s = BASS_SampleLoad(FALSE, "a.wav", 0, 0, 1, 0);
    ASSERT_NE(s, 0u);
    EXPECT_FALSE(BASS_ChannelSetAttributes(s, -1, 101, -101));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
    EXPECT_FALSE(BASS_ChannelSetAttributes(s, -1, -1, 150));
    EXPECT_EQ(BASS_SamplePlayEx(s, 0, 5, -1, -101, FALSE), 0u) << "5 Hz is no frequency";
    BASS_SampleFree(s);
    EXPECT_FALSE(BASS_ChannelStop(s));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    EXPECT_EQ(BASS_ChannelGetLevel(0x12345678), DWORD(-1));
}

TEST_F(BassCapture, CopiesAreLimitedUnlessTheOldestMayBeTakenOver)
{
    ASSERT_TRUE(sfxtest::writeSound("a.wav", sfxtest::constant(0.25f, kRate), 1, kRate));
    HSAMPLE strict = BASS_SampleLoad(FALSE, "a.wav", 0, 0, 2, 0);
    HSAMPLE over = BASS_SampleLoad(FALSE, "a.wav", 0, 0, 2, BASS_SAMPLE_OVER_POS);
    ASSERT_TRUE(strict && over);

    HCHANNEL c1 = BASS_SamplePlayEx(strict, 0, -1, -1, -101, FALSE);
    HCHANNEL c2 = BASS_SamplePlayEx(strict, 0, -1, -1, -101, FALSE);
    EXPECT_TRUE(c1 && c2 && c1 != c2);
    EXPECT_EQ(BASS_SamplePlayEx(strict, 0, -1, -1, -101, FALSE), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOCHAN);
    // Two copies of 0.25 sound together.
    EXPECT_NEAR(render(10)[0], 16384, 2);

    HCHANNEL o1 = BASS_SamplePlayEx(over, 0, -1, -1, -101, FALSE);
    render(100);
    HCHANNEL o2 = BASS_SamplePlayEx(over, 0, -1, -1, -101, FALSE);
    EXPECT_EQ(BASS_SamplePlayEx(over, 0, -1, -1, -101, FALSE), o1) << "the copy that played longest";
    EXPECT_EQ(BASS_SamplePlayEx(over, 0, -1, -1, -101, FALSE), o2);

    // Once a copy has ended it is free again.
    BASS_ChannelStop(c1);
    EXPECT_EQ(BASS_SamplePlayEx(strict, 0, -1, -1, -101, FALSE), c1);
    BASS_SampleFree(strict);
    BASS_SampleFree(over);
}

TEST_F(BassCapture, PauseResumeAndStatusOfEveryCopy)
{
    ASSERT_TRUE(sfxtest::writeSound("a.wav", sfxtest::constant(0.5f, 4410), 1, kRate));
    HSAMPLE s = BASS_SampleLoad(FALSE, "a.wav", 0, 0, 3, 0);
    EXPECT_EQ(BASS_ChannelIsActive(s), BASS_ACTIVE_STOPPED);
    EXPECT_TRUE(BASS_ChannelPause(s)) << "pausing nothing is harmless";
    HCHANNEL c = BASS_SamplePlayEx(s, 0, -1, -1, -101, FALSE);
    EXPECT_EQ(BASS_ChannelIsActive(s), BASS_ACTIVE_PLAYING);
    EXPECT_EQ(BASS_ChannelIsActive(c), BASS_ACTIVE_PLAYING);
    render(2000);
    EXPECT_TRUE(BASS_ChannelPause(s));
    EXPECT_EQ(BASS_ChannelIsActive(s), BASS_ACTIVE_PAUSED);
    EXPECT_EQ(sfxtest::peak(render(5000), 0, 0, 5000), 0) << "paused copies are silent and keep their place";
    EXPECT_EQ(BASS_ChannelGetLevel(s), 0u);
    EXPECT_TRUE(BASS_ChannelResume(s));
    std::vector<int16_t> out = render(3000);
    EXPECT_NEAR(out[2000 * 2], 16384, 2) << "2000 + 2000 frames: still inside the sample";
    EXPECT_EQ(out[2500 * 2], 0) << "ended at 4410";
    EXPECT_EQ(BASS_ChannelIsActive(s), BASS_ACTIVE_STOPPED);
    BASS_SampleFree(s);
}

TEST_F(BassCapture, AttributesSlidesAndLevels)
{
    ASSERT_TRUE(sfxtest::writeSound("a.wav", sfxtest::constant(1.0f, kRate), 1, kRate));
    HSAMPLE s = BASS_SampleLoad(FALSE, "a.wav", 0, 0, 1, 0);
    HCHANNEL c = BASS_SamplePlayEx(s, 0, -1, 50, -100, TRUE);
    std::vector<int16_t> out = render(100);
    EXPECT_NEAR(out[50 * 2], 16384, 2);
    EXPECT_EQ(out[50 * 2 + 1], 0);
    EXPECT_EQ(BASS_ChannelGetLevel(c), 64u) << "left 64, right 0";
    // Keep-unchanged values leave everything as it is.
    EXPECT_TRUE(BASS_ChannelSetAttributes(c, -1, -1, -101));
    EXPECT_NEAR(render(10)[0], 16384, 2);
    EXPECT_TRUE(BASS_ChannelSlideAttributes(c, -1, 100, 100, 100));
    out = render(4410 + 10);
    EXPECT_EQ(out[4415 * 2], 0);
    EXPECT_EQ(out[4415 * 2 + 1], 32767);
    render(100); // levels are those of the last mixed block
    EXPECT_EQ(BASS_ChannelGetLevel(c), 128u << 16);
    EXPECT_FALSE(BASS_SetGlobalVolumes(-1, 101, -1));
    BASS_SampleFree(s);
}

TEST_F(BassCapture, StreamsPlayLoopAndEnd)
{
    // 0.2 s of a 441 Hz tone.
    ASSERT_TRUE(sfxtest::writeSound("s.ogg", sfxtest::sine(441.0f, 0.5f, 8820, kRate), 1, kRate));
    HSTREAM st = BASS_StreamCreateFile(FALSE, "s.ogg", 0, 0, BASS_SAMPLE_OVER_POS);
    ASSERT_NE(st, 0u);
    EXPECT_EQ(BASS_ChannelIsActive(st), BASS_ACTIVE_STOPPED);
    ASSERT_TRUE(BASS_StreamPlay(st, TRUE, BASS_SAMPLE_LOOP));
    std::vector<int16_t> out = render(4000);
    EXPECT_NEAR(sfxtest::zeroCrossings(out, 0, 0, 4000), 80, 2);
    EXPECT_NEAR(sfxtest::peak(out, 0, 0, 4000), 16384, 1200);
    // Give the decode thread time between buffers: looping goes on past the end.
    for (int i = 0; i < 20; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        render(1024);
    }
    EXPECT_EQ(BASS_ChannelIsActive(st), BASS_ACTIVE_PLAYING);
    // Without the loop flag it ends once its frames have played.
    ASSERT_TRUE(BASS_StreamPlay(st, TRUE, 0));
    for (int i = 0; i < 400 && BASS_ChannelIsActive(st); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        render(1024);
    }
    EXPECT_EQ(BASS_ChannelIsActive(st), BASS_ACTIVE_STOPPED);
    BASS_StreamFree(st);
}

TEST_F(BassCapture, TrackerMusicPlaysLoopsAndFades)
{
    tst::writeFile("song.mod", sfxtest::modModule());
    uint32_t length = 0;
    const uint32_t offset = embed("song.mod", "music.pak", &length);
    HMUSIC m = BASS_MusicLoad(FALSE, "music.pak", offset, length, 0);
    ASSERT_NE(m, 0u) << BASS_ErrorGetCode();
    ASSERT_TRUE(BASS_MusicPlayEx(m, 0, BASS_MUSIC_LOOP, TRUE));
    std::vector<int16_t> out = render(kRate);
    EXPECT_GT(sfxtest::peak(out, 0, 0, size_t(kRate)), 1000);
    const DWORD level = BASS_ChannelGetLevel(m);
    EXPECT_GT(level & 0xFFFF, 0u);
    EXPECT_LE(level & 0xFFFF, 128u);
    // The song lasts 1.28 s: looped, it still plays after three seconds.
    render(2 * kRate);
    EXPECT_EQ(BASS_ChannelIsActive(m), BASS_ACTIVE_PLAYING);
    ASSERT_TRUE(BASS_ChannelSlideAttributes(m, -1, -2, -101, 500));
    render(kRate / 2 - 100);
    EXPECT_EQ(BASS_ChannelIsActive(m), BASS_ACTIVE_PLAYING);
    render(200);
    EXPECT_EQ(BASS_ChannelIsActive(m), BASS_ACTIVE_STOPPED);
    // Not looped, the song ends by itself.
    ASSERT_TRUE(BASS_MusicPlayEx(m, 0, 0, TRUE));
    ASSERT_TRUE(BASS_ChannelSetAttributes(m, -1, 100, -101));
    render(kRate + kRate / 2);
    EXPECT_EQ(BASS_ChannelIsActive(m), BASS_ACTIVE_STOPPED);
    BASS_MusicFree(m);
    EXPECT_EQ(BASS_ChannelIsActive(m), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
}

TEST(BassDevices, InitRulesAndTheNoSoundDeviceKeepsTime)
{
    tst::ScratchDir dir;
    EXPECT_FALSE(BASS_Start());
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    EXPECT_FALSE(BASS_Init(3, kRate, 0, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DEVICE);
    ASSERT_TRUE(BASS_Init(TNS_BASS_NOSOUND_DEVICE, kRate, TNS_BASS_ENGINE_DEVICE_FLAGS, nullptr));
    EXPECT_FALSE(BASS_Init(TNS_BASS_NOSOUND_DEVICE, kRate, 0, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ALREADY);
    EXPECT_TRUE(BASS_Start());
    ASSERT_TRUE(sfxtest::writeSound("a.wav", sfxtest::constant(0.5f, 4410), 1, kRate));
    HSAMPLE s = BASS_SampleLoad(FALSE, "a.wav", 0, 0, 1, 0);
    ASSERT_NE(BASS_SamplePlayEx(s, 0, -1, -1, -101, FALSE), 0u);
    EXPECT_EQ(BASS_ChannelIsActive(s), BASS_ACTIVE_PLAYING);
    // A tenth of a second of sound ends in real time even without a card.
    for (int i = 0; i < 200 && BASS_ChannelIsActive(s); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(BASS_ChannelIsActive(s), BASS_ACTIVE_STOPPED);
    EXPECT_TRUE(BASS_Stop());
    BASS_Free();
    EXPECT_FALSE(BASS_Pause());
}

TEST(BassDevices, SdlDiskOutputCarriesTheMix)
{
    tst::ScratchDir dir;
    tst::EnvGuard driver("SDL_AUDIODRIVER", "disk");
    tst::EnvGuard file("SDL_DISKAUDIOFILE", (dir.path() + "/out.raw").c_str());
    ASSERT_TRUE(sfxtest::writeSound("a.wav", sfxtest::constant(0.5f, 13230), 1, kRate));
    ASSERT_TRUE(BASS_Init(TNS_BASS_DEFAULT_DEVICE, kRate, TNS_BASS_ENGINE_DEVICE_FLAGS, nullptr)) << BASS_ErrorGetCode();
    HSAMPLE s = BASS_SampleLoad(FALSE, "a.wav", 0, 0, 1, 0);
    ASSERT_NE(BASS_SamplePlayEx(s, 0, -1, 50, -100, FALSE), 0u);
    for (int i = 0; i < 300 && BASS_ChannelIsActive(s); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(BASS_ChannelIsActive(s), BASS_ACTIVE_STOPPED);
    BASS_Free();
    const std::string raw = tst::readFile("out.raw");
    std::vector<int16_t> pcm(raw.size() / 2);
    memcpy(pcm.data(), raw.data(), pcm.size() * 2);
    ASSERT_GE(pcm.size(), size_t(13230) * 2);
    // Volume 50 of 0.5, all on the left: 8192 on the left for 0.3 s, nothing on the right.
    int leftFrames = 0;
    for (size_t i = 0; i + 1 < pcm.size(); i += 2) {
        if (std::abs(pcm[i] - 8192) <= 2) ++leftFrames;
        EXPECT_EQ(pcm[i + 1], 0);
    }
    EXPECT_NEAR(leftFrames, 13230, 2);
}

TEST(BassDevices, MissingDriversOrDevicesFailToOpen)
{
    {
        tst::EnvGuard driver("SDL_AUDIODRIVER", "none");
        EXPECT_FALSE(BASS_Init(TNS_BASS_DEFAULT_DEVICE, kRate, TNS_BASS_ENGINE_DEVICE_FLAGS, nullptr));
        EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DRIVER);
        EXPECT_TRUE(BASS_Init(TNS_BASS_NOSOUND_DEVICE, kRate, TNS_BASS_ENGINE_DEVICE_FLAGS, nullptr));
        BASS_Free();
    }
    {
        tst::EnvGuard driver("SDL_AUDIODRIVER", "alsa");
        tst::EnvGuard device("AUDIODEV", "nonexistent");
        EXPECT_FALSE(BASS_Init(TNS_BASS_DEFAULT_DEVICE, kRate, TNS_BASS_ENGINE_DEVICE_FLAGS, nullptr));
        EXPECT_NE(BASS_ErrorGetCode(), BASS_OK);
    }
    EXPECT_FALSE(BASS_Init(TNS_BASS_DEFAULT_DEVICE, 100, 0, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
}

} // namespace
