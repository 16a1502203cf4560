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

TEST_F(HostProcess, RunsTheHelloExampleForTheAskedFrames)
{
    // A copy, so the shipped folder gets no log.
    std::filesystem::copy(std::string(EXAMPLES_DIR) + "/hello", "hello", std::filesystem::copy_options::recursive);
    EXPECT_EQ(runHost({"--frames", "10", "hello"}), 0);
    auto lines = tst::readLines("hello/gamelog.txt");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "hello: started"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "   =: Loading script from buffer: SCR_HELLO"), lines.end());
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[lines.size() - 4], "--==: End of log.");
    EXPECT_FALSE(tst::fileExists("hello/ehslog.txt"));
}

// The guide's walk-through game: screen, styles, font, textures and sound all load.
TEST_F(HostProcess, RunsTheGuidesFirstGame)
{
    std::filesystem::copy(std::string(EXAMPLES_DIR) + "/first", "first", std::filesystem::copy_options::recursive);
    EXPECT_EQ(runHost({"--frames", "20", "first"}), 0);
    auto lines = tst::readLines("first/gamelog.txt");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "first: started"), lines.end());
    EXPECT_FALSE(tst::fileExists("first/ehslog.txt"));
    EXPECT_EQ(tst::readFile("first/gamelog.txt").find("Warning"), std::string::npos);
}

TEST_F(HostProcess, RunsTheGalleryExampleWithoutErrors)
{
    // Every element, style, enumeration and texture of the gallery's data loads and draws.
    std::filesystem::copy(std::string(EXAMPLES_DIR) + "/gallery", "gallery", std::filesystem::copy_options::recursive);
    for (const char* log : {"gallery/ehslog.txt", "gallery/gamelog.txt"}) std::filesystem::remove(log); // earlier runs'
    EXPECT_EQ(runHost({"--frames", "40", "gallery"}), 0);
    EXPECT_FALSE(tst::fileExists("gallery/ehslog.txt"));
    const std::string log = tst::readFile("gallery/gamelog.txt");
    EXPECT_EQ(log.find("Warning"), std::string::npos);
    EXPECT_NE(log.find("--==: End of log."), std::string::npos);
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

TEST_F(HostProcess, BadArgumentsAreRefusedBeforeAnythingStarts)
{
    EXPECT_EQ(runHost({"--frames", "x"}), 2);
    EXPECT_EQ(runHost({"--fullscreen", "--windowed"}), 2);
    EXPECT_EQ(runHost({"no-such-folder"}), 1);
    EXPECT_FALSE(tst::fileExists("gamelog.txt"));
}

} // namespace
