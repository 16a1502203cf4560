// Playlists: the weighted picker's bounds and errors, the PLAYLIST, MUSIC and
// SOUND resources through the resource manager, and track choice when the
// music ends (never the track that just ended, unless it is the only one).
#include <cstdlib>
#include <filesystem>
#include <map>

#include "engine/core/ctarnis.h"
#include "engine/core/titemsmanager.h"
#include "engine/sfx/ctarnis_sfx_classes.h"
#include "tests/support/engine_checks.h"
#include "tests/sfx/sfx_engine_test.h"

namespace {

TEST(SfxRandomizer, BoundsFollowTheWeightsAndErrorsArePlainTexts)
{
    TRandomizer<int> r;
    EXPECT_EQ(tst::thrownText([&] { r.GetRandomValue(); }), "No values were thrown in randomizer!");
    r.Throw(1, 10);
    EXPECT_EQ(r.GetRandomValue(), 1);
    r.Throw(2, 30);
    // The C library's own draw decides: r = rand() % 40; 0..9 picks 1, 10..39 picks 2.
    int seen[2] = {0, 0};
    for (unsigned seed = 1; seed < 200; ++seed) {
        srand(seed);
        const int draw = rand() % 40;
        srand(seed);
        EXPECT_EQ(r.GetRandomValue(), draw < 10 ? 1 : 2) << "r = " << draw;
        ++seen[draw < 10 ? 0 : 1];
    }
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
    TRandomizer<int> zero;
    zero.Throw(1, 0);
    zero.Throw(2, 0);
    EXPECT_EQ(tst::thrownText([&] { zero.GetRandomValue(); }), "Error in TRandomizer::GetRandomValue!")
        << "weights summing to nothing leave nothing to draw";
}

class SfxPlaylists : public sfxtest::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        tst::writeFile("song.mod", sfxtest::modModule());
        startSound();
        for (const char* id : {"MUS_A", "MUS_B", "MUS_C"}) m_engine->SFX_LoadMusic("song.mod", id, 0, 0, 0, 0);
    }
    int32_t loadList(const std::string& xml)
    {
        return m_engine->SFX_PlaylistLoad(reinterpret_cast<const uint8_t*>(xml.data()), int32_t(xml.size()));
    }
    // Ends the current music at once and runs one frame.
    void endTrack()
    {
        m_engine->SFX_MusicStop(0);
        m_engine->SFX_Update();
    }
};

TEST_F(SfxPlaylists, NextTrackIsNeverTheOneThatJustEnded)
{
    const int32_t pl = loadList(R"(<playlist id="PL_ALL" tag="2"><t id="MUS_A"/><t id="MUS_B"/><t id="MUS_C"/></playlist>)");
    EXPECT_EQ(m_engine->m_pPlaylistsManager->GetTag(pl), 2);
    EXPECT_EQ(tst::logCount("   =: New playlist contains 3 entries."), 1);
    m_engine->SFX_PlaylistSet("PL_ALL");
    m_engine->SFX_Update();
    ASSERT_NE(m_engine->m_iCurrentMusic, -1) << "nothing was playing: the first track starts at once";
    std::map<int32_t, int> plays;
    for (int i = 0; i < 60; ++i) {
        const int32_t previous = m_engine->m_iCurrentMusic;
        endTrack();
        ASSERT_NE(m_engine->m_iCurrentMusic, -1);
        EXPECT_NE(m_engine->m_iCurrentMusic, previous);
        ++plays[m_engine->m_iCurrentMusic];
    }
    EXPECT_EQ(plays.size(), 3u);
    // Setting the current playlist again changes nothing.
    const int32_t now = m_engine->m_iCurrentMusic;
    m_engine->SFX_PlaylistSet(pl);
    m_engine->SFX_Update();
    EXPECT_EQ(m_engine->m_iCurrentMusic, now);
    EXPECT_EQ(m_engine->SFX_MusicGetStatus(), 1);
}

TEST_F(SfxPlaylists, SingleEntryRepeatsAndADoubledEntryRunsDry)
{
    loadList(R"(<playlist id="PL_ONE" tag="0"><t id="MUS_B"/></playlist>)");
    loadList(R"(<playlist id="PL_TWICE" tag="0"><t id="MUS_A"/><t id="MUS_A"/></playlist>)");
    m_engine->SFX_PlaylistSet("PL_ONE");
    m_engine->SFX_Update();
    EXPECT_EQ(m_engine->m_iCurrentMusic, 1);
    endTrack();
    EXPECT_EQ(m_engine->m_iCurrentMusic, 1);
    // Every entry equals the music that ends: nothing is left to choose from.
    m_engine->SFX_PlaylistSet("PL_TWICE");
    m_engine->SFX_MusicStop(0);
    m_engine->SFX_Update();
    EXPECT_EQ(m_engine->m_iCurrentMusic, 0);
    m_engine->SFX_MusicStop(0);
    EXPECT_EQ(tst::thrownText([&] { m_engine->SFX_Update(); }), "No values were thrown in randomizer!");
}

TEST_F(SfxPlaylists, SetFadesTheMusicAndStopEndsTheList)
{
    loadList(R"(<playlist id="PL_ONE" tag="0"><t id="MUS_B"/></playlist>)");
    m_engine->SFX_MusicPlay("MUS_A", true, 0);
    m_engine->SFX_Update();
    m_engine->SFX_PlaylistSet("PL_ONE");
    int changedAt = -1;
    for (int frame = 1; frame <= 40 && changedAt < 0; ++frame) {
        renderMs(100);
        m_engine->SFX_Update();
        if (m_engine->m_iCurrentMusic == 1) changedAt = frame;
    }
    EXPECT_EQ(changedAt, 30) << "the first track starts in the frame the 3000 ms fade ends";
    m_engine->SFX_PlaylistStop();
    EXPECT_EQ(m_engine->m_iCurrentPlaylist, -1);
    for (int frame = 0; frame < 35; ++frame) {
        renderMs(100);
        m_engine->SFX_Update();
    }
    EXPECT_EQ(m_engine->m_iCurrentMusic, -1) << "faded out and nothing follows";
    EXPECT_EQ(m_engine->m_iPendingMusic, -1);
}

TEST_F(SfxPlaylists, FileErrorsDuplicatesAndInvalidIds)
{
    const int32_t first = loadList(R"(<playlist id="PL_X" tag="0"><t id="MUS_A"/></playlist>)");
    EXPECT_EQ(loadList(R"(<playlist id="PL_X" tag="0"><t id="MUS_B"/><t id="MUS_C"/></playlist>)"), first);
    EXPECT_EQ(tst::logCount(" !: Warning: Dublicated playlist!"), 1);
    EXPECT_EQ(m_engine->m_pPlaylistsManager->GetItem(first)->m_vecEntries.size(), 1u);
    EXPECT_EQ(m_engine->SFX_GetPlaylistID("PL_X"), first);
    EXPECT_EQ(m_engine->SFX_GetPlaylistID("PL_NONE"), -1);
    EXPECT_EQ(tst::logCount(" !: Cannot find iID of playlist with strID = PL_NONE"), 1);
    EXPECT_EQ(tst::raisedText([&] { loadList(R"(<playlists id="PL_Y"/>)"); }), "2:XML file doesn't contain playlist data!");
    EXPECT_EQ(tst::raisedText([&] { m_engine->SFX_PlaylistSet("PL_NONE"); }), "2:Invalid playlist ID!");
    m_engine->SFX_PlaylistSet(42);
    const CEHSException e = tst::raised([&] { m_engine->SFX_Update(); });
    EXPECT_EQ(e.m_strDescription, "Internal error - invalid playlist ID!");
}

// The three loaders through the resource manager: a playlist loads the music it
// names on demand and leaves out what no resource provides.
TEST_F(SfxPlaylists, ResourcesLoadSoundsMusicAndPlaylists)
{
    // Every .xml file in the data folder is a descriptor: playlists take another name.
    std::filesystem::create_directories("DATA");
    tst::writeFile("DATA/song.mod", sfxtest::modModule());
    ASSERT_TRUE(sfxtest::writeSound("DATA/click.wav", sfxtest::constant(0.5f, 4410), 1, 44100));
    tst::writeFile("DATA/pl.pls", R"(<playlist id="PL_RES" tag="4"><t id="MUS_R1"/><t id="MUS_NONE"/>)"
                                  R"(<t id="MUS_R2"/></playlist>)");
    tst::writeFile("DATA/empty.pls", R"(<playlist id="PL_EMPTY" tag="4"><t id="MUS_NONE"/></playlist>)");
    tst::writeFile("DATA/pack.xml",
                   R"(<respack>)"
                   R"(<r id="SND_CLICK" typeid="SOUND" filename="click.wav" tag="1" data2="0" data3="1"/>)"
                   R"(<r id="SND_STREAM" typeid="SOUND" filename="click.wav" tag="1" data1="1"/>)"
                   R"(<r id="MUS_R1" typeid="MUSIC" filename="song.mod" tag="1" data1="1"/>)"
                   R"(<r id="MUS_R2" typeid="MUSIC" filename="song.mod" tag="1"/>)"
                   R"(<r id="PL_RES" typeid="PLAYLIST" filename="pl.pls" tag="2"/>)"
                   R"(<r id="PL_EMPTY" typeid="PLAYLIST" filename="empty.pls" tag="2"/>)"
                   R"(</respack>)");
    m_engine->RES_Init();
    m_engine->RES_LoadResource("SND_CLICK");
    m_engine->RES_LoadResource("SND_STREAM");
    const int32_t click = m_engine->SFX_GetSoundID("SND_CLICK");
    ASSERT_GE(click, 0);
    TRSSound* sound = m_engine->m_pSoundsManager->GetItem(click);
    EXPECT_EQ(sound->m_iMaxPlaybacks, 1);
    EXPECT_TRUE(sound->m_bNoOverride);
    EXPECT_FALSE(sound->m_bIsStream);
    EXPECT_TRUE(m_engine->m_pSoundsManager->GetItem(m_engine->SFX_GetSoundID("SND_STREAM"))->m_bIsStream);

    m_engine->RES_LoadResource("PL_RES");
    const int32_t pl = m_engine->SFX_GetPlaylistID("PL_RES");
    ASSERT_GE(pl, 0);
    const std::vector<int32_t> expected = {m_engine->SFX_GetMusicID("MUS_R1"), m_engine->SFX_GetMusicID("MUS_R2")};
    EXPECT_EQ(m_engine->m_pPlaylistsManager->GetItem(pl)->m_vecEntries, expected);
    EXPECT_EQ(m_engine->m_pPlaylistsManager->GetTag(pl), 4) << "the file's tag, not the resource's";
    EXPECT_TRUE(m_engine->m_pMusicManager->GetItem(expected[0])->m_bLoaded) << "data1 = 1 preloads";
    EXPECT_EQ(tst::logCount(" !: Cannot find iID of music with strID = MUS_NONE"), 2);

    m_engine->RES_LoadResource("PL_EMPTY");
    EXPECT_EQ(tst::logCount("   =: New playlist contains 0 entries."), 1);
    m_engine->SFX_PlaylistSet("PL_EMPTY");
    m_engine->SFX_Update();
    EXPECT_EQ(m_engine->m_iCurrentMusic, -1) << "an empty playlist plays nothing";
}

} // namespace
