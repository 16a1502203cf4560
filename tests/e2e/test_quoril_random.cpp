// Random play of the real Quoril on its real data: seeded mouse and keyboard
// input (the seed is printed; QUORIL_SEED replays a run, QUORIL_FRAMES sets its
// length), a clock of 60 frames a second, and after every frame the checks that
// the game is in one of its states, its score is the board's covered cells and
// memory stays flat once the game has warmed up. Never presses Exit: the run
// ends when its frames are played.
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <set>

#include "engine/platform/win32/tns_win32_testing.h"
#include "game/gamelogic_main.h"
#include "game/gameplay_main.h"
#include "gui/trsgui_ctarnisgui.h"
#include "tests/e2e/quoril_data.h"
#include "tests/support/game_input.h"
#include "tests/support/test_support.h"

namespace {

constexpr const char* kReport = "random_report.txt";
constexpr long kWarmFrames = 1000;
constexpr long kMaxRssGrowth = 1 << 20;
constexpr const char* kTargets[] = {"BTN_MW_START", "BTN_MW_HELP", "BTN_HLP_OK", "BTN_CMP_OK", "BTN_HS_OK",
                                    "TBX_HS_NAME"};
constexpr SDL_Scancode kKeys[] = {SDL_SCANCODE_A,     SDL_SCANCODE_Z,         SDL_SCANCODE_1,     SDL_SCANCODE_SPACE,
                                  SDL_SCANCODE_RETURN, SDL_SCANCODE_BACKSPACE, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_F2,
                                  SDL_SCANCODE_LEFT,   SDL_SCANCODE_TAB,       SDL_SCANCODE_DELETE, SDL_SCANCODE_F1};

DWORD g_clockMs = 0;
DWORD fakeClock()
{
    return g_clockMs;
}

long residentBytes()
{
    long pages = 0, resident = 0;
    FILE* f = fopen("/proc/self/statm", "r");
    if (f && fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    if (f) fclose(f);
    return resident * sysconf(_SC_PAGESIZE);
}

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

GUIRECT rectOf(const char* id)
{
    CGUIElement* e = g_pGUI->GetElement(g_pGUI->GetElementID(id));
    return e ? e->m_rcCurRect : GUIRECT{};
}

struct RandomPlayer {
    std::mt19937 rng;
    long frames = 0, target = 0;
    std::deque<std::function<void()>> events;
    std::map<std::string, std::string> report;
    std::set<int32_t> states;
    long rssMin = 0, rssMax = 0;
    double cpuAtFirst = 0;

    int pick(int n) { return int(rng() % unsigned(n)); }

    void click(int x, int y)
    {
        const GUIRECT exit = rectOf("BTN_MW_EXIT");
        if (GUIPointInRect(GUIPOINT{float(x), float(y)}, exit)) return;
        for (Uint32 type : {SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP})
            events.push_back([=] { tst::pushGameEvent(type, x, y); });
    }

    void chooseInput()
    {
        const int kind = pick(100);
        if (kind < 40) { // a cell of the board, or just off it
            click(int(g_fBoardOriginX + g_fCellWidth * (float(pick(14)) - 0.5f)),
                  int(g_fBoardOriginY + g_fCellHeight * (float(pick(12)) - 0.5f)));
        } else if (kind < 60) {
            const GUIRECT r = rectOf(kTargets[pick(std::size(kTargets))]);
            click(int(r.x + r.width / 2), int(r.y + r.height / 2));
        } else if (kind < 70) {
            click(pick(800), pick(600));
        } else if (kind < 85) {
            const SDL_Scancode k = kKeys[pick(std::size(kKeys))];
            for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) events.push_back([=] { tst::pushGameEvent(type, 0, 0, k); });
        } else {
            const int x = pick(800), y = pick(600);
            events.push_back([=] { tst::pushGameEvent(SDL_MOUSEMOTION, x, y); });
        }
    }

    std::string check() const
    {
        if (g_iGameState < GAMESTATE_STEERING || g_iGameState > GAMESTATE_NOGAME)
            return "state " + std::to_string(g_iGameState);
        int32_t covered = 0;
        for (int32_t x = 0; x < g_Board.GetWidth(); ++x)
            for (int32_t y = 0; y < g_Board.GetHeight(); ++y) covered += g_Board.At(x, y) == CELL_COVERED;
        if (covered != g_iMoves) return "score " + std::to_string(g_iMoves) + ", covered " + std::to_string(covered);
        return "";
    }

    void frame()
    {
        g_clockMs += 16;
        ++frames;
        if (frames == 1) cpuAtFirst = cpuSeconds();
        states.insert(g_iGameState);
        std::string fault = check();
        if (!fault.empty() && report["fault"].empty()) report["fault"] = "frame " + std::to_string(frames) + ": " + fault;
        if (frames >= kWarmFrames && (frames % 50 == 0 || frames == target)) {
            const long rss = residentBytes();
            rssMin = rssMin ? std::min(rssMin, rss) : rss;
            rssMax = std::max(rssMax, rss);
            if (frames == kWarmFrames) report["rss_first"] = std::to_string(rss);
            if (frames == (kWarmFrames + target) / 2 / 50 * 50) report["rss_middle"] = std::to_string(rss);
            if (frames == target) report["rss_last"] = std::to_string(rss);
        }
        if (frames >= target || !fault.empty()) {
            RequestQuit();
            return;
        }
        if (events.empty()) chooseInput();
        if (!events.empty()) {
            events.front()();
            events.pop_front();
        }
    }
};

RandomPlayer* g_random = nullptr;

long envNumber(const char* name, long fallback)
{
    const char* v = getenv(name);
    return v && *v ? strtol(v, nullptr, 10) : fallback;
}

int playRandomly(unsigned seed, long frames)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    TNS_SetClockSource(fakeClock, nullptr);
    RandomPlayer player;
    player.rng.seed(seed);
    player.target = frames;
    g_random = &player;
    TNS_RunEntry(nullptr, "Quoril Random Play", GameMain);
    g_random = nullptr;
    const double cpu = cpuSeconds() - player.cpuAtFirst;
    std::ofstream out(kReport);
    for (const auto& [k, v] : player.report) out << k << '=' << v << '\n';
    out << "states=" << player.states.size() << "\nframes=" << player.frames << "\nrss_spread=" << player.rssMax - player.rssMin
        << "\nfps_cpu=" << long(double(player.frames) / (cpu > 0 ? cpu : 1e-9)) << '\n';
    return 0;
}

} // namespace

extern "C" void __real__ZN7CTarnis16GFX_ScenePresentEv(CTarnis* self);
extern "C" void __wrap__ZN7CTarnis16GFX_ScenePresentEv(CTarnis* self)
{
    __real__ZN7CTarnis16GFX_ScenePresentEv(self);
    if (g_random) g_random->frame();
}

namespace {

class QuorilRandom : public tst::InScratchDir {};

TEST_F(QuorilRandom, SeededRandomInputKeepsTheGameSoundAndItsMemoryFlat)
{
    e2e::CopyGameData();
    const unsigned seed = unsigned(envNumber("QUORIL_SEED", long(std::random_device{}() & 0x7FFFFFFF)));
    const long frames = std::max(envNumber("QUORIL_FRAMES", 2000), kWarmFrames);
    std::cout << "random play: seed " << seed << " (QUORIL_SEED), " << frames << " frames" << std::endl;
    RecordProperty("seed", std::to_string(seed));

    const int timeoutMs = int(std::min(frames * 50 + 60000, 0x7FFFFFFFL)); // 20 frames a second at the least
    tst::ChildResult run = tst::runInChild([=] { return playRandomly(seed, frames); }, timeoutMs);
    ASSERT_TRUE(run.exited) << "signal " << run.signal << ", seed " << seed;
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_FALSE(tst::fileExists("ehslog.txt")) << tst::readFile("ehslog.txt");
    std::map<std::string, std::string> r;
    for (const std::string& line : tst::readLines(kReport))
        r[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
    EXPECT_EQ(r["fault"], "") << "seed " << seed;
    EXPECT_EQ(r["frames"], std::to_string(frames)) << "the game ended early; seed " << seed;
    EXPECT_LE(std::stol(r["rss_spread"]), kMaxRssGrowth) << "seed " << seed;
    EXPECT_GE(std::stoi(r["states"]), 4) << "the input hardly reached the game; seed " << seed;
    std::cout << "RSS bytes at frame " << kWarmFrames << ", middle, end: " << r["rss_first"] << ' '
              << r["rss_middle"] << ' ' << r["rss_last"] << "; spread " << r["rss_spread"] << "; frames per CPU second "
              << r["fps_cpu"] << std::endl;
}

} // namespace
