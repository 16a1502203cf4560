// The sound subsystem's start and end, no-sound mode, and sound effects through
// the engine front: loading, gates, IDs, pause state, and the two mends (busy
// copies drop the request; undecodable files raise their message).
#include "engine/platform/audio/bass_testing.h"
#include "engine/core/ctarnis.h"
#include "engine/core/titemsmanager.h"
#include "engine/platform/audio/bass.h"
#include "engine/res/ctarnis_utils_csmartid.h"
#include "engine/sfx/ctarnis_sfx_classes.h"
#include "tests/sfx/sfx_engine_test.h"
#include "tests/support/engine_checks.h"

namespace {

using sfxtest::EngineTest;

class SfxSound : public EngineTest {
protected:
    // A mono constant of 0.5 for the given time; 16384 at full volume.
    void writeTone(const char* name, int frames = 44100)
    {
        ASSERT_TRUE(sfxtest::writeSound(name, sfxtest::constant(0.5f, frames), 1, 44100));
    }
    int32_t load(const char* id, bool stream = false, int32_t max = 1, bool noOverride = false)
    {
        return m_engine->SFX_LoadSound("tone.wav", id, 0, stream, max, noOverride, 0, 0);
    }
};

TEST_F(SfxSound, StartAndEndLogEveryStep)
{
    startSound();
    m_engine->SFX_Deinit();
    EXPECT_EQ(tst::logCount("--==: Initializing Sound and Music Subsystem..."), 1);
    for (std::string manager : {"Sounds", "Music", "Playlists"}) {
        EXPECT_EQ(tst::logCount("   =: Creating " + manager + " Manager..."), 1);
        EXPECT_EQ(tst::logCount("   =: Destroying " + manager + " Manager..."), 1);
    }
    EXPECT_EQ(tst::logCount("   +: Done."), 8);
    EXPECT_EQ(tst::logCount("--==: Deinitializing Sound and Music Subsystem..."), 1);
    EXPECT_FALSE(m_engine->m_bSoundReady);
    EXPECT_EQ(m_engine->m_pSoundsManager, nullptr);
}

TEST_F(SfxSound, RefusesToStartBeforeGraphics)
{
    m_engine->m_bGraphicsCreated = false;
    CEHSException e = tst::raised([&] { m_engine->SFX_Init(44100); });
    EXPECT_EQ(e.m_iType, EHS_TYPE_GAME);
    EXPECT_EQ(e.m_strDescription, "Sound and Music system should be initialized after graphics system!");
    EXPECT_TRUE(m_engine->m_bSoundReady) << "set first, so the end still runs";
    m_engine->SFX_Deinit();
    EXPECT_EQ(tst::logCount("   +: Failed."), 3);
}

// Without a driver the game runs silent (which driver failures end here is the
// audio library's business, tested there).
TEST_F(SfxSound, NoSoundModeWhenNoDeviceOpens)
{
    TNS_BassUseCaptureDevice(false);
    {
        tst::EnvGuard driver("SDL_AUDIODRIVER", "none");
        m_engine->SFX_Init(44100);
    }
    EXPECT_TRUE(m_engine->m_bNoSoundMode);
    EXPECT_EQ(tst::logCount(" !: No sound card available!"), 1);
    writeTone("tone.wav");
    EXPECT_EQ(load("SND_A"), -2);
    EXPECT_EQ(m_engine->SFX_GetSoundID("SND_A"), -2);
    EXPECT_EQ(m_engine->SFX_LoadMusic("tone.wav", "MUS_A", 0, 0, 0, 1), -2);
    EXPECT_EQ(m_engine->SFX_GetMusicID("MUS_A"), -2);
    EXPECT_EQ(m_engine->SFX_PlaylistLoad(reinterpret_cast<const uint8_t*>("<x/>"), 4), -2);
    // Everything else does nothing, invalid IDs included.
    m_engine->SFX_SoundPlay(7, false, -1, -1, -101);
    m_engine->SFX_MusicPlay(-1, false, 0);
    m_engine->SFX_PlaylistSet(-1);
    EXPECT_EQ(m_engine->SFX_SoundGetStatus(7), 0);
    EXPECT_EQ(m_engine->SFX_MusicGetStatus(), 0);
    EXPECT_EQ(m_engine->SFX_GetCPU(), 0.0f);
    m_engine->SFX_Update();
}

TEST_F(SfxSound, LoadingTwiceGivesTheSameIdAndBindsIdentifiers)
{
    startSound();
    writeTone("tone.wav");
    CSmartID ident("SND_CLICK");
    EXPECT_EQ(load("SND_OTHER"), 0);
    EXPECT_EQ(load("SND_CLICK"), 1);
    EXPECT_EQ(load("SND_CLICK"), 1);
    EXPECT_EQ(tst::logCount("  -=: Loading sound: SND_CLICK"), 1);
    EXPECT_EQ(ident.GetID(), 1);
    EXPECT_EQ(m_engine->SFX_GetSoundID("SND_CLICK"), 1);
    EXPECT_EQ(m_engine->SFX_GetSoundID("SND_NONE"), -1);
    EXPECT_EQ(tst::logCount(" !: Cannot find iID of sound with strID = SND_NONE"), 1);

    m_engine->SFX_SoundPlay(ident, false, -1, 100, -101);
    EXPECT_NEAR(renderMs(10)[100], 16384, 2);

    m_engine->SFX_UnloadSound("SND_CLICK");
    EXPECT_EQ(ident.GetID(), -1);
    EXPECT_EQ(tst::logCount("   =: Unloading sound. strID = SND_CLICK"), 1);
    m_engine->SFX_UnloadSound("SND_CLICK");
    EXPECT_EQ(tst::logCount(" !: Failed."), 1);
    EXPECT_EQ(load("SND_CLICK"), 1) << "the freed slot is reused";
    m_engine->SFX_UnloadSound(1);
    EXPECT_EQ(ident.GetID(), -1);
    m_engine->SFX_UnloadSound(1);
    EXPECT_EQ(tst::logCount("   =: Unloading sound. iID = 1"), 2);
    EXPECT_EQ(tst::logCount(" !: Failed."), 2);
}

TEST_F(SfxSound, ResourceParametersAndBusyCopies)
{
    startSound();
    writeTone("tone.wav");
    const int32_t strict = load("SND_STRICT", false, 1, true);
    const int32_t over = load("SND_OVER", false, 1, false);
    EXPECT_EQ(m_engine->m_pSoundsManager->GetItem(strict)->m_iMaxPlaybacks, 1);
    EXPECT_EQ(load("SND_ZERO", false, 0, false), 2);
    EXPECT_EQ(m_engine->m_pSoundsManager->GetItem(2)->m_iMaxPlaybacks, 1) << "data2 = 0 plays one copy";

    m_engine->SFX_SoundPlay(strict, false, -1, 100, -101);
    renderMs(100);
    // The only copy is busy and may not be taken over: dropped, nothing raised.
    m_engine->SFX_SoundPlay(strict, false, -1, 50, -101);
    EXPECT_NEAR(renderMs(10)[0], 16384, 2) << "the first copy plays on unchanged";

    m_engine->SFX_SoundStop(strict);
    m_engine->SFX_SoundPlay(over, false, -1, 100, -101);
    renderMs(100);
    m_engine->SFX_SoundPlay(over, false, -1, 50, -101);
    EXPECT_NEAR(renderMs(10)[0], 8192, 2) << "taken over by the new play";
}

TEST_F(SfxSound, InvalidIdsRaiseOnlyWhileTheWindowIsActive)
{
    startSound();
    writeTone("tone.wav");
    for (int i = 0; i < 5; ++i) load(("SND_" + std::to_string(i)).c_str());
    m_engine->SFX_UnloadSound(3);
    for (int32_t bad : {7, 5, -1, 3}) {
        CEHSException e = tst::raised([&] { m_engine->SFX_SoundPlay(bad, false, -1, -1, -101); });
        EXPECT_EQ(e.m_iType, EHS_TYPE_GENERAL);
        EXPECT_EQ(e.m_iCode, 0);
        EXPECT_EQ(e.m_strDescription, "Invalid sound ID: " + std::to_string(bad));
    }
    EXPECT_EQ(tst::raised([&] { m_engine->SFX_SoundStop("SND_NONE"); }).m_strDescription, "Invalid sound ID: -1");
    g_bWindowActive = false;
    m_engine->SFX_SoundPlay(7, false, -1, -1, -101);
    m_engine->SFX_SoundPause(7);
    m_engine->SFX_SoundSlideAttributes(7, -1, 10, -101, 10);
    m_engine->SFX_SoundPlay(0, false, -1, -1, -101);
    EXPECT_EQ(m_engine->SFX_SoundGetStatus(0), 0) << "play did nothing while inactive";
    // The status query is not gated by the window.
    EXPECT_EQ(tst::raised([&] { m_engine->SFX_SoundGetStatus(7); }).m_strDescription, "Invalid sound ID: 7");
}

TEST_F(SfxSound, PauseAndResumeAreIdempotent)
{
    startSound();
    writeTone("tone.wav");
    const int32_t s = load("SND_A");
    m_engine->SFX_SoundPlay(s, true, -1, -1, -101);
    m_engine->SFX_SoundResume(s);
    EXPECT_EQ(m_engine->SFX_SoundGetStatus(s), 1);
    m_engine->SFX_SoundPause(s);
    m_engine->SFX_SoundPause(s);
    EXPECT_EQ(m_engine->SFX_SoundGetStatus("SND_A"), 3);
    m_engine->SFX_SoundResume("SND_A");
    EXPECT_EQ(m_engine->SFX_SoundGetStatus(s), 1);
    m_engine->SFX_SoundSetAttributes("SND_A", -1, 25, -101);
    EXPECT_NEAR(renderMs(10)[0], 4096, 2);
    m_engine->SFX_SoundSlideAttributes(s, -1, -2, -101, 50);
    renderMs(60);
    EXPECT_EQ(m_engine->SFX_SoundGetStatus(s), 0) << "a fade to -2 stops the sound";
}

TEST_F(SfxSound, StreamsKeepTheirAttributesWhenPlayedWithKeepValues)
{
    startSound();
    writeTone("tone.wav");
    const int32_t st = load("SND_STREAM", true);
    EXPECT_TRUE(m_engine->m_pSoundsManager->GetItem(st)->m_bIsStream);
    m_engine->SFX_SoundPlay(st, false, -1, 50, -101);
    EXPECT_NEAR(renderMs(10)[0], 8192, 2);
    // Keep values: the stream restarts with the volume it had.
    m_engine->SFX_SoundPlay(st, false, -1, -1, -101);
    EXPECT_NEAR(renderMs(10)[0], 8192, 2);
    EXPECT_EQ(m_engine->SFX_SoundGetStatus(st), 1);
    m_engine->SFX_SoundStop(st);
    EXPECT_EQ(m_engine->SFX_SoundGetStatus(st), 0);
    CEHSException e = tst::raised([&] { m_engine->SFX_SoundPlay(st, false, -1, 300, -101); });
    EXPECT_EQ(e.m_strDescription, "Cannot set stream attributes!");
    EXPECT_EQ(e.m_iCode, BASS_ERROR_ILLPARAM);
}

TEST_F(SfxSound, GlobalVolumesTakeEffectsThenMusic)
{
    startSound();
    writeTone("tone.wav");
    tst::writeFile("song.mod", sfxtest::modModule());
    const int32_t s = load("SND_A");
    const int32_t st = load("SND_S", true);
    const int32_t m = m_engine->SFX_LoadMusic("song.mod", "MUS_A", 0, 0, 0, 1);
    m_engine->SFX_SetGlobalVolumes(80, 0);
    m_engine->SFX_SoundPlay(s, false, -1, 100, -101);
    EXPECT_NEAR(renderMs(10)[0], 13107, 2) << "samples at 80";
    m_engine->SFX_SoundStop(s);
    m_engine->SFX_SoundPlay(st, false, -1, 100, -101);
    EXPECT_NEAR(renderMs(10)[0], 13107, 2) << "streams at 80";
    m_engine->SFX_SoundStop(st);
    m_engine->SFX_MusicPlay(m, true, 0);
    m_engine->SFX_Update();
    EXPECT_EQ(sfxtest::peak(renderMs(200), 0, 0, 8820), 0) << "music at 0";
    EXPECT_EQ(m_engine->SFX_MusicGetStatus(), 1);
    EXPECT_GE(m_engine->SFX_GetCPU(), 0.0f);
}

TEST_F(SfxSound, UndecodableFilesRaiseTheirMessageWithTheCode)
{
    startSound();
    tst::writeFile("bad.wav", std::string(2000, 'z'));
    auto loadError = [&](const char* file, bool stream, int32_t offset, int32_t length) {
        const CEHSException e =
            tst::raised([&] { m_engine->SFX_LoadSound(file, "SND_BAD", 0, stream, 1, false, offset, length); });
        return std::to_string(e.m_iCode) + ":" + e.m_strDescription;
    };
    const std::string format = std::to_string(BASS_ERROR_FORMAT), open = std::to_string(BASS_ERROR_FILEOPEN);
    EXPECT_EQ(loadError("bad.wav", false, 0, 0), format + ":Cannot load sample!");
    EXPECT_EQ(loadError("bad.wav", true, 0, 0), format + ":Cannot create stream!");
    EXPECT_EQ(loadError("none.wav", false, 0, 0), open + ":Cannot load sample!");
    EXPECT_EQ(loadError("bad.wav", false, -5, 10), open + ":Cannot load sample!") << "a negative offset is no range";
    EXPECT_EQ(m_engine->m_pSoundsManager->GetSlotCount(), 0);
}

} // namespace
