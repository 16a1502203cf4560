// The authors' guide (docs/) against the engine: its tables of script
// functions, GUI parameters and GUI classes must say what the script host and
// the GUI manager register, and the walk-through's listings must be the files
// of examples/first.
#include <lua.hpp>

#include <algorithm>
#include <map>
#include <set>

#include "engine/core/ctarnis.h"
#include "gui/trsgui_ctarnisgui.h"
#include "tests/support/engine_checks.h"
#include "tests/support/test_support.h"

namespace {

// One markdown table: the heading above it, its header cells and its rows,
// cells trimmed and stripped of their backticks.
struct Table {
    std::string heading;
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

std::string trim(const std::string& s)
{
    const size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
    return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

std::string unquote(std::string s)
{
    s.erase(std::remove(s.begin(), s.end(), '`'), s.end());
    return s;
}

std::vector<std::string> cells(const std::string& line)
{
    std::vector<std::string> out;
    size_t start = 1;
    for (size_t bar; (bar = line.find('|', start)) != std::string::npos; start = bar + 1)
        out.push_back(unquote(trim(line.substr(start, bar - start))));
    return out;
}

std::vector<Table> tablesOf(const std::string& file)
{
    const std::vector<std::string> lines = tst::readLines(std::string(DOCS_DIR) + "/" + file);
    std::vector<Table> tables;
    std::string heading;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind("#", 0) == 0) heading = lines[i];
        if (lines[i].rfind("|", 0) != 0 || i + 1 >= lines.size() || lines[i + 1].rfind("|---", 0) != 0) continue;
        Table t{heading, cells(lines[i]), {}};
        for (i += 2; i < lines.size() && lines[i].rfind("|", 0) == 0; ++i) t.rows.push_back(cells(lines[i]));
        tables.push_back(t);
    }
    return tables;
}

// The names written in backticks in a heading.
std::vector<std::string> namesIn(const std::string& heading)
{
    std::vector<std::string> out;
    for (size_t b = heading.find('`'); b != std::string::npos; b = heading.find('`', b + 1)) {
        const size_t e = heading.find('`', b + 1);
        if (e == std::string::npos) break;
        out.push_back(heading.substr(b + 1, e - b - 1));
        b = e;
    }
    return out;
}

const std::map<std::string, int32_t> kTypeNames = {{"float", GUIVAL_FLOAT},   {"boolean", GUIVAL_BOOLEAN},
                                                   {"string", GUIVAL_STRING}, {"function", GUIVAL_FUNCTION},
                                                   {"point", GUIVAL_POINT},   {"rect", GUIVAL_RECT},
                                                   {"enum", GUIVAL_ENUM}};

class Guide : public tst::InScratchDir {
protected:
    void SetUp() override
    {
        m_t = new CTarnis;
        m_t->LOG_WriteHeader("Docs Test", "v.1");
        m_t->m_iRequestedWidth = 800;
        m_t->m_iRequestedHeight = 600;
        m_t->SCR_Init();
        m_t->RES_Init();
        m_gui = new CTarnisGUI;
    }
    void TearDown() override
    {
        delete m_gui;
        delete m_t;
    }
    // The engine error's message ("nothing raised" when there is none).
    template <class F>
    static std::string error(F&& fn)
    {
        return tst::raised(fn).m_strDescription;
    }

    CTarnis* m_t = nullptr;
    CTarnisGUI* m_gui = nullptr;
};

TEST_F(Guide, ListsExactlyTheRegisteredScriptFunctionsAndWhichTakeArguments)
{
    std::set<std::string> documented;
    for (const Table& t : tablesOf("script-api.md")) {
        if (t.header.empty() || t.header[0] != "function") continue;
        for (const auto& row : t.rows) {
            ASSERT_GE(row.size(), 2u);
            documented.insert(row[0]);
            if (row[1] == "—") continue;
            // Said to take arguments: refuses a call without the required
            // ones, or with a table as the optional first one.
            const bool optionalOnly = row[1].rfind("opt.", 0) == 0;
            const std::string call = row[0] + (optionalOnly ? "({})" : "()");
            const std::string message = error([&] { m_t->SCR_LoadScriptFromBuffer(call.data(), call.size(), "t"); });
            EXPECT_NE(message.find("glue_" + row[0]), std::string::npos) << call << ": " << message;
        }
    }
    std::set<std::string> registered;
    lua_State* L = m_t->SCR_GetLuaState();
    lua_pushnil(L);
    while (lua_next(L, LUA_GLOBALSINDEX) != 0) {
        if (lua_type(L, -2) == LUA_TSTRING && lua_iscfunction(L, -1)) {
            const std::string name = lua_tostring(L, -2);
            if (name.rfind("TRS", 0) == 0) registered.insert(name);
        }
        lua_pop(L, 1);
    }
    EXPECT_EQ(documented, registered);
}

TEST_F(Guide, ParameterTableIsTheRegistry)
{
    std::set<int32_t> documentedIDs;
    for (const Table& t : tablesOf("gui.md")) {
        if (t.header.size() < 3 || t.header[1] != "ID") continue;
        for (const auto& row : t.rows) {
            const int32_t id = std::stoi(row[1]);
            documentedIDs.insert(id);
            EXPECT_EQ(m_gui->GetParamID(row[0]), id) << row[0];
            EXPECT_EQ(m_gui->GetParamType(id), kTypeNames.at(row[2])) << row[0];
        }
    }
    std::set<int32_t> registered;
    for (int32_t id = -64; id < 4096; ++id)
        if (m_gui->GetParamType(id) != GUIVAL_NONE) registered.insert(id);
    EXPECT_EQ(documentedIDs, registered);
}

// What an element of each class does with each parameter, asked of the
// element itself: an untyped value reaches every setter, and only a
// parameter the class lacks answers with the unknown-ID message.
TEST_F(Guide, ClassTablesSayWhatEachClassSetsAndReads)
{
    struct Doc {
        std::string base = "element";
        std::map<std::string, bool> params; // name -> readable
    };
    std::map<std::string, Doc> classes;
    std::map<std::string, std::string> paramTypes, paramClasses;
    const std::vector<std::string> lines = tst::readLines(std::string(DOCS_DIR) + "/gui.md");
    std::vector<std::string> current;
    bool inClasses = false;
    for (const std::string& line : lines) {
        if (line.rfind("## ", 0) == 0) current.clear(), inClasses = line == "## Classes";
        if (inClasses && line.rfind("### ", 0) == 0) current = namesIn(line);
        if (!current.empty() && line.rfind("Derives from `", 0) == 0)
            for (const std::string& c : current) classes[c].base = namesIn(line).at(0);
        for (const std::string& c : current) classes[c];
    }
    for (const Table& t : tablesOf("gui.md")) {
        if (t.header.size() == 4 && t.header[1] == "ID") {
            for (const auto& row : t.rows) paramTypes[row[0]] = row[2], paramClasses[row[0]] = row[3];
        } else if (t.header.size() == 4 && t.header[0] == "parameter" && t.header[3] == "get") {
            for (const std::string& c : namesIn(t.heading)) {
                for (const auto& row : t.rows) {
                    classes[c].params[row[0]] = row[3] != "—";
                    EXPECT_EQ(row[1], paramTypes[row[0]]) << c << " " << row[0];
                }
            }
        }
    }
    ASSERT_TRUE(classes.count("element"));
    std::map<std::string, std::set<std::string>> handledBy;
    for (const auto& [cls, doc] : classes) {
        if (cls == "element") continue;
        std::map<std::string, bool> all;
        for (std::string c = cls; !c.empty(); c = c == "element" ? "" : classes.at(c).base)
            for (const auto& [p, readable] : classes.at(c).params) all.emplace(p, readable);
        const int32_t e = m_gui->AddNewElement(cls, "PROBE_" + cls, 0);
        for (const auto& entry : paramTypes) {
            const std::string& param = entry.first;
            const bool sets =
                error([&] { m_gui->SetElementParam(e, param, CGUIValue()); }).rfind("Cannot set GUI element param", 0) != 0;
            const bool reads =
                error([&] { m_gui->GetElementParam(e, param); }).rfind("Cannot get GUI element param", 0) != 0;
            EXPECT_EQ(sets, all.count(param) == 1) << cls << " sets " << param;
            EXPECT_EQ(reads, all.count(param) == 1 && all.at(param)) << cls << " reads " << param;
            if (sets) handledBy[param].insert("`" + cls + "`");
        }
    }
    // The registry table's "classes" column, in any order.
    for (const auto& [param, written] : paramClasses) {
        std::set<std::string> listed;
        if (written == "all") {
            for (const auto& [cls, doc] : classes)
                if (cls != "element") listed.insert("`" + cls + "`");
        } else {
            size_t b = 0;
            while (b < written.size()) {
                const size_t e = std::min(written.find(", ", b), written.size());
                listed.insert("`" + written.substr(b, e - b) + "`");
                b = e + 2;
            }
        }
        EXPECT_EQ(listed, handledBy[param]) << param;
    }
}

// The commands table: a class knows a command exactly when the table lists it.
TEST_F(Guide, CommandTableIsWhatEachClassExecutes)
{
    std::map<int32_t, std::string> listed; // command -> "all" or "tile, tip, ..."
    for (const Table& t : tablesOf("gui.md"))
        if (!t.header.empty() && t.header[0] == "command")
            for (const auto& row : t.rows) listed[std::stoi(row[0])] = ", " + row[1] + ",";
    ASSERT_FALSE(listed.empty());
    const char* kClasses[] = {"desktop", "tile",      "tip",       "advtile", "window",  "animtile",
                              "label",   "textbox",   "button",    "checkbox", "verscroll", "horscroll",
                              "listbox", "scrollbox", "flex",      "timer"};
    for (const char* cls : kClasses) {
        const int32_t e = m_gui->AddNewElement(cls, std::string("CMD_") + cls, 0);
        for (int32_t command = 0; command <= 20; ++command) {
            const bool known = error([&] { m_gui->ExecuteElementCommand(e, command, 0.0f); })
                                   .rfind("Cannot execute GUI element command", 0) != 0;
            const bool documented = listed.count(command) &&
                                    (listed[command] == ", all," ||
                                     listed[command].find(std::string(", ") + cls + ",") != std::string::npos);
            EXPECT_EQ(known, documented) << cls << " command " << command;
        }
    }
}

// Every listing of the walk-through that names its file is that file's text.
TEST_F(Guide, WalkThroughListingsAreTheExampleFiles)
{
    const std::vector<std::string> lines = tst::readLines(std::string(DOCS_DIR) + "/getting-started.md");
    int checked = 0;
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        const std::string& l = lines[i];
        if (l.rfind("File `", 0) != 0 || lines[i + 1].rfind("```", 0) != 0) continue;
        const std::string path = l.substr(6, l.find('`', 6) - 6);
        std::string listing;
        for (i += 2; i < lines.size() && lines[i] != "```"; ++i) listing += lines[i] + "\n";
        const std::string file = tst::readFile(std::string(EXAMPLES_DIR) + "/first/" + path);
        EXPECT_NE(file.find(listing), std::string::npos) << path;
        ++checked;
    }
    EXPECT_GE(checked, 5);
}

} // namespace
