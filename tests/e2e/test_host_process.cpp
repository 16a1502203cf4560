// The tarnis script host on the shipped example, headless: the script's
// OnStart and OnFrame run and the host ends in order after the asked frames.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "tests/support/test_support.h"

namespace {

int runHost(const std::vector<std::string>& args)
{
    pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(TARNIS_PATH));
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(TARNIS_PATH, argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

class HostProcess : public tst::InScratchDir {};

// The shipped examples (hello; the guide's walk-through game; the gallery of
// every element, style and texture) load, draw and end in order. Copies, so the
// shipped folders get no log.
TEST_F(HostProcess, RunsTheExamplesForTheAskedFramesWithoutErrors)
{
    const struct {
        const char* folder;
        const char* frames;
        const char* logged;
    } cases[] = {
        {"hello", "10", "   =: Loading script from buffer: SCR_HELLO"},
        {"first", "20", "first: started"},
        {"gallery", "40", "--==: End of log."},
    };
    for (const auto& c : cases) {
        const std::string dir = c.folder;
        std::filesystem::copy(std::string(EXAMPLES_DIR) + "/" + dir, dir, std::filesystem::copy_options::recursive);
        for (const char* log : {"/ehslog.txt", "/gamelog.txt"}) std::filesystem::remove(dir + log); // earlier runs'
        EXPECT_EQ(runHost({"--frames", c.frames, dir}), 0) << dir;
        auto lines = tst::readLines(dir + "/gamelog.txt");
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.logged), lines.end()) << dir;
        ASSERT_GE(lines.size(), 4u);
        EXPECT_EQ(lines[lines.size() - 4], "--==: End of log.") << dir;
        EXPECT_EQ(tst::readFile(dir + "/gamelog.txt").find("Warning"), std::string::npos) << dir;
        EXPECT_FALSE(tst::fileExists(dir + "/ehslog.txt")) << dir;
    }
}

TEST_F(HostProcess, RunsGuiScreensAroundOnFrameUntilTheScriptAsksToQuit)
{
    std::filesystem::create_directories("app/DATA/scripts");
    tst::writeFile("app/DATA/app.xml", "<respack>\n"
                                       R"(<r id="SCR" typeid="SCRIPT" filename="scripts\app.lua" tag="1"/>)"
                                       R"(<r id="GUI" typeid="GUIDATA" filename="scripts\screen.gui" tag="2"/>)"
                                       "</respack>\n");
    tst::writeFile("app/DATA/scripts/screen.gui", R"(<desktop><desktop id="PANEL" zorder="3"/></desktop>)");
    // OnFrame draws into the scene the host opened for the GUI; the third frame asks to quit.
    tst::writeFile("app/DATA/scripts/app.lua", R"(
        local n = 0
        function OnStart() TRS_LOG_AddEntry("panel " .. TRSGUI_GetElementID("PANEL")) end
        function OnFrame()
          n = n + 1
          TRS_GFX_VQuadSetPos(0, 0, 10, 10)
          TRS_GFX_SceneRender()
          TRS_LOG_AddEntry("frame " .. n .. " z " .. TRSGUI_GetElementParam("PANEL", "zorder"))
          if n == 3 then TRS_SYS_RequestQuit() end
          return true
        end)");
    EXPECT_EQ(runHost({"--frames", "10", "--fullscreen", "app"}), 0);
    auto lines = tst::readLines("app/gamelog.txt");
    for (const char* line : {"panel 1", "frame 1 z 3", "frame 3 z 3"})
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    EXPECT_EQ(std::find(lines.begin(), lines.end(), "frame 4 z 3"), lines.end());
    EXPECT_FALSE(tst::fileExists("app/ehslog.txt"));
}

TEST_F(HostProcess, AScriptThatFailsToCompileEndsWithLuasMessageAndStatusOne)
{
    std::filesystem::copy(std::string(EXAMPLES_DIR) + "/hello", "bad", std::filesystem::copy_options::recursive);
    tst::writeFile("bad/DATA/hello.xml", R"(<respack><r id="SCR_MAIN" typeid="SCRIPT" filename="main.lua" tag="1"/>)"
                                         R"(<r id="BAD_SCRIPT" typeid="SCRIPT" filename="bad.lua"/></respack>)");
    tst::writeFile("bad/DATA/main.lua", "function OnStart() TRS_RES_LoadResource('BAD_SCRIPT') end\n"
                                        "function OnFrame() return false end\n");
    tst::writeFile("bad/DATA/bad.lua", "function broken(\n");
    EXPECT_EQ(runHost({"bad"}), 1);
    auto ehs = tst::readLines("bad/ehslog.txt");
    ASSERT_GE(ehs.size(), 8u);
    EXPECT_EQ(ehs[7].rfind("Exception desc: [string \"BAD_SCRIPT\"]:", 0), 0u) << ehs[7];
}

TEST_F(HostProcess, BadArgumentsAreRefusedBeforeAnythingStarts)
{
    EXPECT_EQ(runHost({"--frames", "x"}), 2);
    EXPECT_EQ(runHost({"--fullscreen", "--windowed"}), 2);
    EXPECT_EQ(runHost({"no-such-folder"}), 1);
    EXPECT_FALSE(tst::fileExists("gamelog.txt"));
}

} // namespace
