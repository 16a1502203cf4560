// The Lua host: life cycle, loading, calls with typed parameters and results,
// and engine errors passing through the interpreter unchanged.
#include <lua.hpp>

#include <cstring>

#include "engine/core/tns_window.h"
#include "tests/support/engine_checks.h"
#include "tests/support/test_support.h"

namespace {

class LuaHostTest : public tst::InScratchDir {
protected:
    void SetUp() override
    {
        m_tarnis = new CTarnis;
        m_tarnis->SCR_Init();
    }
    void TearDown() override { delete m_tarnis; }

    void run(const char* code, const char* name = "test.lua")
    {
        m_tarnis->SCR_LoadScriptFromBuffer(code, strlen(code), name);
    }
    CEHSException runError(const char* code) { return tst::raised([&] { run(code); }); }
    CEHSException callError(const char* fn) { return tst::raised([&] { m_tarnis->SCR_CallFunction(fn, -1); }); }

    CTarnis* m_tarnis = nullptr;
};

TEST_F(LuaHostTest, StartLogsItsStepsAndRefusesASecondStart)
{
    for (const char* line : {"--==: Initializing Scripts Subsystem...", "   =:    Creating Lua state...",
                             "   =:    Initializing standart Lua libraries..."})
        EXPECT_EQ(tst::logCount(line), 1) << line;
    EXPECT_EQ(tst::logCount("   +:    Done."), 2);
    EXPECT_EQ(tst::raisedText([&] { m_tarnis->SCR_Init(); }), "1:Script subsystem reinitialization!");
}

TEST_F(LuaHostTest, OnlyBaseMathAndIoAreOpen)
{
    run("has = { math = math ~= nil, io = io ~= nil, co = coroutine ~= nil, string = string ~= nil,"
        " table = table ~= nil, os = os ~= nil, debug = debug ~= nil, package = package ~= nil }\n"
        "function probe() return has.math, has.io, has.co, has.string, has.table, has.os, has.debug, has.package end");
    m_tarnis->SCR_CallFunction("probe", -1);
    const auto& r = m_tarnis->SCR_GetResults(); // last first
    ASSERT_EQ(r.size(), 8u);
    bool expected[] = {false, false, false, false, false, true, true, true};
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(r[i].GetBoolean(), expected[i]) << i;
    CEHSException e = runError("x = string.format('%d', 1)");
    EXPECT_EQ(e.m_iType, 4);
}

TEST_F(LuaHostTest, CompileAndRunErrorsBecomeLuaExceptions)
{
    CEHSException syntax = runError("function broken(");
    EXPECT_EQ(syntax.m_iType, 4);
    EXPECT_EQ(syntax.m_iCode, LUA_ERRSYNTAX);
    EXPECT_NE(syntax.m_strDescription.find("test.lua"), std::string::npos) << syntax.m_strDescription;
    CEHSException runtime = runError("error('scripted failure')");
    EXPECT_EQ(runtime.m_iType, 4);
    EXPECT_EQ(runtime.m_iCode, LUA_ERRRUN);
    EXPECT_NE(runtime.m_strDescription.find("scripted failure"), std::string::npos);
    EXPECT_EQ(lua_gettop(m_tarnis->SCR_GetLuaState()), 0);
}

int dumpWriter(lua_State*, const void* p, size_t size, void* ud)
{
    static_cast<std::string*>(ud)->append(static_cast<const char*>(p), size);
    return 0;
}

// A precompiled chunk, made by a separate interpreter.
std::string binaryChunk()
{
    lua_State* L = luaL_newstate();
    luaL_loadstring(L, "hacked = true");
    std::string out;
    lua_dump(L, dumpWriter, &out);
    lua_close(L);
    return out;
}

TEST_F(LuaHostTest, ScriptsCannotStartProcessesOrLoadPrecompiledChunks)
{
    const std::string bin = binaryChunk();
    EXPECT_EQ(tst::raisedText([&] { m_tarnis->SCR_LoadScriptFromBuffer(bin.data(), bin.size(), "bin"); }),
              "4:binary chunks are not accepted");
    tst::writeFile("chunk.luac", bin);
    tst::writeFile("chunk.lua", "#!shebang line\nreturn 6 * 7\n");
    lua_State* L = m_tarnis->SCR_GetLuaState();
    lua_pushlstring(L, bin.data(), bin.size());
    lua_setglobal(L, "bin");
    run("function probe()\n"
        "  local a, ma = loadstring(bin)\n"
        "  local given = false\n"
        "  local b, mb = load(function() if given then return nil end given = true return bin end)\n"
        "  local c, mc = loadfile('chunk.luac')\n"
        "  local okd, md = pcall(dofile, 'chunk.luac')\n"
        "  local h = io.open('chunk.lua', 'r') h:close()\n"
        "  return io.popen == nil, a == nil and ma, b == nil and mb, c == nil and mc, not okd and md,\n"
        "         loadfile('chunk.lua')(), dofile('chunk.lua'), loadstring('return 1')(), hacked == nil\n"
        "end");
    m_tarnis->SCR_CallFunction("probe", -1);
    const auto& r = m_tarnis->SCR_GetResults(); // last first
    ASSERT_EQ(r.size(), 9u);
    EXPECT_TRUE(r[8].GetBoolean()) << "io.popen is still there";
    for (int i = 4; i <= 7; ++i) EXPECT_EQ(r[size_t(i)].GetString(), "binary chunks are not accepted") << i;
    EXPECT_EQ(r[3].GetNumber(), 42.0);
    EXPECT_EQ(r[2].GetNumber(), 42.0);
    EXPECT_EQ(r[1].GetNumber(), 1.0);
    EXPECT_TRUE(r[0].GetBoolean());
}

TEST_F(LuaHostTest, ResultsComeLastFirstAndParametersAreUsedUp)
{
    run("function three() return 1, 'a', true end\n"
        "function echo(...) return ... end\n"
        "notfn = 5\n"
        "atable = {}");
    m_tarnis->SCR_CallFunction("three", -1);
    const auto& r = m_tarnis->SCR_GetResults();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_TRUE(r[0].GetBoolean());
    EXPECT_EQ(r[1].GetString(), "a");
    EXPECT_EQ(r[2].GetNumber(), 1.0);
    EXPECT_EQ(m_tarnis->m_strLastLuaFunction, "three");

    m_tarnis->SCR_AddParameter(CLuaValue(2.5));
    m_tarnis->SCR_AddParameter(CLuaValue(false));
    m_tarnis->SCR_AddParameter(CLuaValue("text", false));
    m_tarnis->SCR_AddParameter(CLuaValue("BTN_OK_ONPRESS", true));
    m_tarnis->SCR_CallFunction("echo", -1);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].GetString(), "BTN_OK_ONPRESS") << "a function value travels as its name";
    EXPECT_EQ(r[1].GetString(), "text");
    EXPECT_FALSE(r[2].GetBoolean());
    EXPECT_EQ(r[3].GetNumber(), 2.5);
    EXPECT_TRUE(m_tarnis->SCR_GetParameters().empty());

    // Asking for one result keeps only the first.
    m_tarnis->SCR_CallFunction("three", 1);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].GetNumber(), 1.0);

    for (const char* name : {"undefined_fn", "notfn", "atable"}) {
        m_tarnis->SCR_AddParameter(CLuaValue(1.0));
        m_tarnis->SCR_CallFunction(name, -1);
        EXPECT_TRUE(r.empty()) << name;
        EXPECT_TRUE(m_tarnis->SCR_GetParameters().empty()) << name;
    }
}

TEST_F(LuaHostTest, InvalidResultTypesAreReportedWithTheLuaTypeNumber)
{
    run("function givesnil() return nil end\nfunction givestable() return {} end");
    CEHSException n = callError("givesnil");
    EXPECT_EQ(n.m_iType, 2);
    EXPECT_EQ(n.m_strDescription, "Function: givesnil returned result of invalid type. Type id = 0");
    CEHSException t = callError("givestable");
    EXPECT_EQ(t.m_strDescription, "Function: givestable returned result of invalid type. Type id = 5");
}

TEST(LuaValue, AccessorsRefuseOtherTypes)
{
    CLuaValue number(1.0), text("x", false), fn("f", true), flag(true);
    EXPECT_EQ(fn.GetType(), 4);
    EXPECT_EQ(fn.GetFunction(), "f");
    struct Case {
        std::function<void()> call;
        const char* message;
    } cases[] = {
        {[&] { text.GetNumber(); }, "CLuaValue error: cannot return number because of different status!"},
        {[&] { number.GetBoolean(); }, "CLuaValue error: cannot return boolean because of different status!"},
        {[&] { fn.GetString(); }, "CLuaValue error: cannot return string because of different status!"},
        {[&] { text.GetFunction(); }, "CLuaValue error: cannot return function because of different status!"},
    };
    for (const Case& c : cases) EXPECT_EQ(tst::raisedText(c.call), std::string("1:") + c.message);
}

// A native function that fails the way engine operations do.
int g_throwLine = 0;
int nativeThrows(lua_State*)
{
    g_throwLine = __LINE__ + 1;
    throw CEHSException(2, 77, "Invalid sound ID: 9", __FILE__, __LINE__);
}
int nativeThrowsText(lua_State*)
{
    throw "Error in TItemsManager<T>::FreeItem";
}
int nativeAdds(lua_State* L)
{
    lua_pushnumber(L, lua_tonumber(L, 1) + lua_tonumber(L, 2));
    return 1;
}

TEST_F(LuaHostTest, EngineErrorsPassThroughScriptsUnchanged)
{
    m_tarnis->SCR_RegisterFunction("native_throws", nativeThrows);
    m_tarnis->SCR_RegisterFunction("native_text", nativeThrowsText);
    m_tarnis->SCR_RegisterFunction("native_add", nativeAdds);
    const char* scripts[] = {
        "native_throws()",
        "local ok, err = pcall(native_throws)\nswallowed = true",
        "local ok = xpcall(native_throws, function(m) return m end)\nswallowed = true",
        "local co = coroutine.create(function() native_throws() end)\nlocal ok = coroutine.resume(co)\nswallowed = true",
        "local f = coroutine.wrap(function() native_throws() end)\npcall(f)\nswallowed = true",
        "local ok = pcall(pcall, native_throws)\nswallowed = true",
    };
    for (const char* code : scripts) {
        const CEHSException e = tst::raised([&] { run(code); });
        EXPECT_EQ(e.m_iType, 2) << code;
        EXPECT_EQ(e.m_iCode, 77);
        EXPECT_EQ(e.m_strDescription, "Invalid sound ID: 9");
        EXPECT_EQ(e.m_strFile, "tests/scr/test_lua_host.cpp");
        EXPECT_EQ(e.m_iLine, g_throwLine);
        lua_State* L = m_tarnis->SCR_GetLuaState();
        EXPECT_EQ(lua_gettop(L), 0);
        lua_getglobal(L, "swallowed");
        EXPECT_TRUE(lua_isnil(L, -1)) << "the script went on after the error: " << code;
        lua_settop(L, 0);
    }
    // Through a call of a Lua handler too, and with a thrown text.
    run("function handler() native_throws() end\nfunction texthandler() pcall(native_text) end");
    EXPECT_EQ(callError("handler").m_strDescription, "Invalid sound ID: 9");
    EXPECT_EQ(tst::thrownText([&] { m_tarnis->SCR_CallFunction("texthandler", 0); }),
              "Error in TItemsManager<T>::FreeItem");
    // The interpreter is still whole: ordinary scripts and errors behave as before.
    run("function sum() return native_add(2, 3) end");
    m_tarnis->SCR_CallFunction("sum", -1);
    ASSERT_EQ(m_tarnis->SCR_GetResults().size(), 1u);
    EXPECT_EQ(m_tarnis->SCR_GetResults()[0].GetNumber(), 5.0);
    EXPECT_EQ(runError("local ok, m = pcall(error, 'plain')\nif ok then error('x') end\nerror('after')").m_iType, 4);
}

// Loads a broken script, or calls a failing function, from inside a script
// whose arguments are still on the stack.
int nativeLoadsBroken(lua_State*)
{
    CTarnis::Instance()->SCR_LoadScriptFromBuffer("function broken(", 16, "broken.lua");
    return 0;
}
int nativeCallsFailing(lua_State*)
{
    CTarnis::Instance()->SCR_CallFunction("fails", 0);
    return 0;
}

TEST_F(LuaHostTest, NestedLoadAndCallErrorsCarryLuasMessage)
{
    m_tarnis->SCR_RegisterFunction("load_broken", nativeLoadsBroken);
    m_tarnis->SCR_RegisterFunction("call_failing", nativeCallsFailing);
    run("function fails() error('failed inside') end");
    const struct {
        const char* code;
        const char* expected;
    } cases[] = {
        {"load_broken('BAD_SCRIPT')", "broken.lua\"]:1:"},
        {"call_failing('ARGUMENT')", "failed inside"},
    };
    for (const auto& c : cases) {
        CEHSException e = runError(c.code);
        EXPECT_EQ(e.m_iType, 4) << c.code;
        EXPECT_NE(e.m_strDescription.find(c.expected), std::string::npos) << e.m_strDescription;
    }
}

int* volatile g_null = nullptr;
__attribute__((no_sanitize("address", "undefined"))) int nativeFaults(lua_State*)
{
    EHS_SetCheckpoint(147, 12);
    return *g_null;
}

TEST_F(LuaHostTest, MachineFaultsInNativeFunctionsReachTheCaller)
{
    auto r = tst::runInChild([this] {
        _set_se_translator(EHS_TranslateStructuredException);
        m_tarnis->SCR_RegisterFunction("native_fault", nativeFaults);
        try {
            run("pcall(native_fault)");
        } catch (const CEHSException& e) {
            if (e.m_iType != 3 || e.m_strDescription != "Access violation.") return 2;
            run("x = 1"); // still usable
            return 0;
        }
        return 1;
    });
    ASSERT_TRUE(r.exited) << r.signal;
    EXPECT_EQ(r.exitCode, 0);
}

TEST_F(LuaHostTest, DeinitClosesAndLogsAndAnEndWithoutStartIsAnInternalError)
{
    m_tarnis->SCR_Deinit();
    EXPECT_EQ(m_tarnis->SCR_GetLuaState(), nullptr);
    auto lines = tst::readLines("gamelog.txt");
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[lines.size() - 3], "   +: Done.");
    EXPECT_EQ(lines[lines.size() - 4], "--==: Deinitializing Scripts Subsystem...");
    // Not started (and so the destructor's own end does not close twice).
    m_tarnis->m_bScriptsReady = false;
    EXPECT_EQ(tst::raised([&] { m_tarnis->SCR_Deinit(); }).m_strDescription,
              "Internal error - scripts subsystem was not initialized!");
}

} // namespace
