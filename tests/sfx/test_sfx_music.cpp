// Music through the engine front: the change-over driven frame by frame with
// the capture device as the clock, the two music kinds' load and free rules,
// levels, and the ID and window gates.
#include "engine/core/ctarnis.h"
#include "engine/core/titemsmanager.h"
#include "engine/platform/audio/bass.h"
#include "engine/sfx/ctarnis_sfx_classes.h"
#include "tests/sfx/sfx_engine_test.h"
#include "tests/support/engine_checks.h"

namespace {

class SfxMusic : public sfxtest::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        startSound();
        tst::writeFile("song.mod", sfxtest::modModule());
    }
    TRSMusic* music(int32_t id) { return m_engine->m_pMusicManager->GetItem(id); }
};

TEST_F(SfxMusic, ChangeOverStartsTheNewMusicInTheFrameTheOldOneStops)
{
    const int32_t a = m_engine->SFX_LoadMusic("song.mod", "MUS_A", 0, 0, 0, 0);
    const int32_t b = m_engine->SFX_LoadMusic("song.mod", "MUS_B", 0, 0, 0, 1);
    EXPECT_FALSE(music(a)->m_bLoaded);
    EXPECT_TRUE(music(b)->m_bLoaded);

    m_engine->SFX_MusicPlay(a, true, 1000);
    EXPECT_EQ(m_engine->m_iPendingMusic, a);
    EXPECT_EQ(m_engine->m_iCurrentMusic, -1) << "nothing starts before the frame step";
    m_engine->SFX_Update();
    EXPECT_EQ(m_engine->m_iCurrentMusic, a);
    EXPECT_EQ(m_engine->SFX_MusicGetStatus(), 1);
    const HMUSIC first = music(a)->m_hMusic;
    m_engine->SFX_MusicPlay(a, false, 0);
    EXPECT_EQ(m_engine->m_iPendingMusic, -1) << "the current music is not restarted";
    music(a)->Play(false);
    EXPECT_EQ(music(a)->m_hMusic, first) << "a loaded music ignores a second play";

    renderMs(100);
    m_engine->SFX_MusicPlay("MUS_B", false, 1000);
    // 50 ms frames: A fades for 1000 ms; B starts in the frame A is seen stopped.
    int changedAt = -1;
    for (int frame = 1; frame <= 30 && changedAt < 0; ++frame) {
        renderMs(50);
        m_engine->SFX_Update();
        if (m_engine->m_iCurrentMusic == b) {
            changedAt = frame;
            EXPECT_FALSE(music(a)->m_bLoaded) << "A was freed when found stopped";
            EXPECT_EQ(m_engine->SFX_MusicGetStatus(), 1);
        } else {
            EXPECT_EQ(m_engine->m_iCurrentMusic, a);
        }
    }
    EXPECT_EQ(changedAt, 20);
    // B plays without loop (the flag given with it) and ends by itself after 1.28 s.
    for (int frame = 0; frame < 40 && m_engine->m_iCurrentMusic == b; ++frame) {
        renderMs(50);
        m_engine->SFX_Update();
    }
    EXPECT_EQ(m_engine->m_iCurrentMusic, -1);
    EXPECT_TRUE(music(b)->m_bLoaded) << "preloaded music stays loaded";
}

TEST_F(SfxMusic, StopFreesPlainMusicAndPreloadedComesBackAtFullVolume)
{
    const int32_t a = m_engine->SFX_LoadMusic("song.mod", "MUS_A", 0, 0, 0, 0);
    const int32_t b = m_engine->SFX_LoadMusic("song.mod", "MUS_B", 0, 0, 0, 1);
    m_engine->SFX_MusicPlay(a, true, 0);
    m_engine->SFX_Update();
    m_engine->SFX_MusicStop(0);
    EXPECT_FALSE(music(a)->m_bLoaded);
    EXPECT_EQ(m_engine->SFX_MusicGetStatus(), 0);
    music(a)->Play(true);
    EXPECT_TRUE(music(a)->m_bLoaded) << "loads again at its next play";
    music(a)->Stop(0);

    m_engine->SFX_Update();
    m_engine->SFX_MusicPlay(b, true, 0);
    m_engine->SFX_Update();
    renderMs(200);
    const float full = music(b)->GetLevelLeft();
    EXPECT_GT(full, 0.0f);
    EXPECT_LE(full, 1.0f);
    m_engine->SFX_MusicStop(100);
    renderMs(150);
    EXPECT_EQ(m_engine->SFX_MusicGetStatus(), 0);
    EXPECT_TRUE(music(b)->m_bLoaded);
    // Played again after the fade: silent at first, back to full within 100 ms.
    music(b)->Play(true);
    renderMs(10);
    EXPECT_LT(music(b)->GetLevelLeft(), full * 0.5f);
    renderMs(200);
    EXPECT_NEAR(music(b)->GetLevelLeft(), full, 0.05f);

    music(b)->Pause();
    EXPECT_EQ(music(b)->GetLevelLeft(), 0.0f);
    EXPECT_EQ(music(b)->GetStatus(), 3);
    music(b)->Resume();
    EXPECT_EQ(music(b)->GetStatus(), 1);
    m_engine->SFX_MusicSetVolume(50, 0);
    renderMs(100);
    EXPECT_NEAR(music(b)->GetLevelLeft(), full * 0.5f, 0.05f);
}

TEST_F(SfxMusic, IdsLoadingAndGates)
{
    EXPECT_EQ(m_engine->SFX_LoadMusic("song.mod", "MUS_A", 0, 0, 0, 0), 0);
    EXPECT_EQ(m_engine->SFX_LoadMusic("song.mod", "MUS_A", 0, 0, 0, 1), 0);
    EXPECT_EQ(tst::logCount("  -=: Loading music: MUS_A"), 1);
    EXPECT_EQ(m_engine->SFX_GetMusicID("MUS_A"), 0);
    EXPECT_EQ(m_engine->SFX_GetMusicID("MUS_X"), -1);
    EXPECT_EQ(tst::logCount(" !: Cannot find iID of music with strID = MUS_X"), 1);

    EXPECT_EQ(tst::raisedText([&] { m_engine->SFX_MusicPlay(-1, false, 0); }), "2:Invalid music id!");
    g_bWindowActive = false;
    m_engine->SFX_MusicPlay(-1, false, 0);
    m_engine->SFX_MusicPlay(0, false, 0);
    EXPECT_EQ(m_engine->m_iPendingMusic, -1);
    g_bWindowActive = true;

    // A pending ID without a music behind it fails when its turn comes.
    m_engine->SFX_MusicPlay(9, false, 0);
    EXPECT_EQ(tst::raised([&] { m_engine->SFX_Update(); }).m_strDescription, "Cannot play music - invalid ID!");
    EXPECT_EQ(tst::raised([&] { m_engine->SFX_MusicGetStatus(); }).m_strDescription,
              "Cannot get music status - invalid ID!");
}

TEST_F(SfxMusic, UndecodableModulesRaiseCannotLoadMusic)
{
    tst::writeFile("bad.mod", std::string(500, 'q'));
    const CEHSException bad = tst::raised([&] { m_engine->SFX_LoadMusic("bad.mod", "MUS_BAD", 0, 0, 0, 1); });
    EXPECT_EQ(bad.m_strDescription, "Cannot load music!");
    EXPECT_EQ(bad.m_iCode, BASS_ERROR_FORMAT);
    // A plain music finds out when it is first played.
    const int32_t m = m_engine->SFX_LoadMusic("bad.mod", "MUS_LATER", 0, 0, 0, 0);
    m_engine->SFX_MusicPlay(m, false, 0);
    const CEHSException e = tst::raised([&] { m_engine->SFX_Update(); });
    EXPECT_EQ(e.m_strDescription, "Cannot load music!");
    EXPECT_EQ(e.m_iType, EHS_TYPE_GENERAL);
}

} // namespace
