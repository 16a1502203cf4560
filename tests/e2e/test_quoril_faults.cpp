// Faults that strike the real Quoril while it runs, each game in its own child
// process and data folder: SIGTERM at ten points of start-up and shutdown, the
// window closed in the middle of things, a full disk and a read-only data folder
// while the record is saved, and a damaged record that the next save replaces.
//
// The link wraps CTarnis::GFX_ScenePresent (the player runs after each frame),
// CTarnis::LOG_AddSeparator (every subsystem's start and end: the SIGTERM
// points) and SaveFile (the fault is laid on just around the save).
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>

#include "engine/core/tns_window.h"
#include "game/highscore.h"
#include "gui/classes/trsgui_stdclass_window.h"
#include "tests/e2e/quoril_data.h"
#include "tests/e2e/quoril_player.h"
#include "tests/support/sdl_events.h"
#include "tests/support/test_support.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUORIL_LEAK_CHECK 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define QUORIL_LEAK_CHECK 1
#endif
#ifdef QUORIL_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

namespace {

using namespace std::string_literals;
using e2e::Player;

constexpr const char* kReport = "fault_report.txt";

struct Hooks {
    Player* player = nullptr;
    int separators = 0;
    std::function<void(int)> atSeparator; // with the separator's number, from 1
    void (*aroundSave)(bool before) = nullptr;
} g_hooks;

// Plays the script in a game of its own; the child's status is 2 when memory leaked
// (sanitizer builds), else 0, or the engine's own after a fatal error.
int playGame(const std::function<void(Player&)>& script)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    int status = 0;
    {
        Player player;
        script(player);
        g_hooks.player = &player;
        status = TNS_RunEntry(nullptr, "Quoril Fault Test", GameMain);
        g_hooks.player = nullptr;
        std::ofstream(kReport) << "separators=" << g_hooks.separators << "\nstate=" << player.report["state"] << '\n';
    }
#ifdef QUORIL_LEAK_CHECK
    if (__lsan_do_recoverable_leak_check()) return 2;
#endif
    return status;
}

std::string reported(const std::string& key)
{
    for (const std::string& line : tst::readLines(kReport))
        if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    return "";
}

// An orderly end: the footer written, every subsystem that started ended, no report.
void expectOrderlyEnd(const tst::ChildResult& run)
{
    EXPECT_TRUE(run.exited && run.exitCode == 0) << "exit " << run.exitCode << ", signal " << run.signal;
    EXPECT_FALSE(tst::fileExists("ehslog.txt")) << tst::readFile("ehslog.txt");
    EXPECT_EQ(tst::logCount("--==: End of log."), 1);
    for (const std::string& line : tst::readLines("gamelog.txt")) {
        if (line.rfind("--==: Initializing ", 0) == 0) {
            EXPECT_EQ(tst::logCount("--==: Deinitializing " + line.substr(19)), 1) << line;
        }
    }
}

void startAndQuit(Player& p)
{
    p.press("BTN_MW_START");
    p.placeOnFirstFreeCell();
    p.press("BTN_MW_EXIT");
}

void playToARecord(Player& p)
{
    p.press("BTN_MW_START");
    p.placeOnFirstFreeCell();
    p.steer(true);
    p.typeName("ada");
    p.press("BTN_HS_OK");
    p.goals.push_back([] { return g_iGameState == GAMESTATE_PLACEMENT; });
    p.press("BTN_MW_EXIT");
}

std::string recordOf(const std::string& name, int32_t moves)
{
    std::string bytes = name + '\0';
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(char((moves >> shift) & 0xFF));
    return bytes;
}

class QuorilFaults : public tst::InScratchDir {
protected:
    void SetUp() override { e2e::CopyGameData(); }
};

TEST_F(QuorilFaults, SigtermAtTenPointsOfStartUpAndShutdownEndsInOrder)
{
    expectOrderlyEnd(tst::runInChild([] { return playGame(startAndQuit); }, 120000));
    const int separators = std::stoi(reported("separators"));
    ASSERT_GE(separators, 10);
    for (int i = 0; i < 10; ++i) {
        const int at = 1 + i * (separators - 1) / 9;
        SCOPED_TRACE("SIGTERM before separator " + std::to_string(at) + " of " + std::to_string(separators));
        std::filesystem::remove("gamelog.txt");
        expectOrderlyEnd(tst::runInChild(
            [at] {
                g_hooks.atSeparator = [at](int n) {
                    if (n == at) raise(SIGTERM);
                };
                return playGame(startAndQuit);
            },
            120000));
    }
}

CGUIWindow* helpWindow()
{
    return static_cast<CGUIWindow*>(e2e::element("WND_DTP_HELP"));
}

TEST_F(QuorilFaults, WindowClosedDuringATransitionAndDuringAMoveEndsInOrder)
{
    auto closeWhen = [](Player& p, std::function<bool()> moment, const char* name) {
        p.goals.push_back([=, &p] {
            if (!moment()) return false;
            p.report["state"] = name;
            return tst::pushWindowEvent(g_pTRS->m_hGameWindow, SDL_WINDOWEVENT_CLOSE);
        });
    };
    const std::function<void(Player&)> scripts[] = {
        [&](Player& p) {
            p.press("BTN_MW_HELP");
            closeWhen(p, [] { return helpWindow()->m_iState == GUIWINDOW_SHOWING; }, "help window showing");
        },
        [&](Player& p) {
            p.press("BTN_MW_START");
            p.placeOnFirstFreeCell();
            p.steer(false);
            p.goals.pop_back(); // not waiting for the move's end
            closeWhen(p, [] { return g_iGameState == GAMESTATE_MOVING; }, "moving");
        },
    };
    for (const auto& script : scripts) {
        SCOPED_TRACE(&script == scripts ? "help window" : "move");
        std::filesystem::remove("gamelog.txt");
        expectOrderlyEnd(tst::runInChild([&] { return playGame(script); }, 120000));
        EXPECT_NE(reported("state"), "") << "the window was never closed";
    }
}

void fileSizeLimit(bool before)
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = before ? 0 : limit.rlim_max;
    setrlimit(RLIMIT_FSIZE, &limit);
}

void readOnlyData(bool before)
{
    if (before) mount(nullptr, "DATA", nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr);
}

// The data folder on a bind mount of its own, in a mount namespace of the child's own.
bool ownDataMount()
{
    if (unshare(getuid() == 0 ? CLONE_NEWNS : CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
    return mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           mount("DATA", "DATA", nullptr, MS_BIND, nullptr) == 0;
}

TEST_F(QuorilFaults, FailedSaveReportsAndKeepsTheOldRecord)
{
    signal(SIGXFSZ, SIG_IGN); // a write past the limit fails with EFBIG instead of killing
    const std::string old = recordOf("old", 1);
    struct Case {
        const char* name;
        void (*aroundSave)(bool);
    };
    for (const Case& c : {Case{"disk full", fileSizeLimit}, Case{"read-only data", readOnlyData}}) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove("gamelog.txt");
        std::filesystem::remove("ehslog.txt");
        tst::writeFile("DATA/quorilhs.dat", old);
        const tst::ChildResult run = tst::runInChild(
            [&] {
                if (c.aroundSave == readOnlyData && !ownDataMount()) return 77;
                g_hooks.aroundSave = c.aroundSave;
                return playGame(playToARecord);
            },
            120000);
        if (run.exitCode == 77) {
            std::cout << "skipped " << c.name << ": no mount namespace here" << std::endl;
            continue;
        }
        EXPECT_TRUE(run.exited && run.exitCode == 1) << "exit " << run.exitCode << ", signal " << run.signal;
        EXPECT_NE(tst::readFile("ehslog.txt").find("Can't writing file quorilhs.dat!"), std::string::npos);
        EXPECT_EQ(tst::readFile("DATA/quorilhs.dat"), old);
    }
}

TEST_F(QuorilFaults, ResourceFileRemovedBetweenTheScanAndItsLoadIsReported)
{
    const tst::ChildResult run = tst::runInChild([] {
        g_hooks.atSeparator = [](int) {
            for (const std::string& line : tst::readLines("gamelog.txt"))
                if (line.find(" resource packs found.") != std::string::npos) remove("DATA/gfx/cell_free.png");
        };
        return playGame(startAndQuit);
    });
    EXPECT_TRUE(run.exited && run.exitCode == 1) << "exit " << run.exitCode << ", signal " << run.signal;
    EXPECT_NE(tst::readFile("ehslog.txt").find("cell_free.png"), std::string::npos) << tst::readFile("ehslog.txt");
}

TEST_F(QuorilFaults, DamagedRecordCountsAsNoneAndTheNextSaveIsGood)
{
    tst::writeFile("DATA/quorilhs.dat", "\0\x19\0\0\0"s);
    expectOrderlyEnd(tst::runInChild([] { return playGame(playToARecord); }, 120000));
    const std::string saved = tst::readFile("DATA/quorilhs.dat");
    ASSERT_EQ(saved.size(), 8u);
    EXPECT_EQ(saved, recordOf("ada", uint8_t(saved[4])));
    EXPECT_GT(uint8_t(saved[4]), 1) << "a game that covered cells";
}

} // namespace

extern "C" void __real__ZN7CTarnis16GFX_ScenePresentEv(CTarnis* self);
extern "C" void __wrap__ZN7CTarnis16GFX_ScenePresentEv(CTarnis* self)
{
    __real__ZN7CTarnis16GFX_ScenePresentEv(self);
    if (g_hooks.player) g_hooks.player->frame();
}

extern "C" void __real__ZN7CTarnis16LOG_AddSeparatorEi(int32_t kind);
extern "C" void __wrap__ZN7CTarnis16LOG_AddSeparatorEi(int32_t kind)
{
    ++g_hooks.separators;
    if (g_hooks.atSeparator) g_hooks.atSeparator(g_hooks.separators);
    __real__ZN7CTarnis16LOG_AddSeparatorEi(kind);
}

extern "C" void __real__Z8SaveFilev();
extern "C" void __wrap__Z8SaveFilev()
{
    struct Around {
        Around() { if (g_hooks.aroundSave) g_hooks.aroundSave(true); }
        ~Around() { if (g_hooks.aroundSave) g_hooks.aroundSave(false); }
    } around;
    __real__Z8SaveFilev();
}
