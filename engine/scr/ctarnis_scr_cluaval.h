// The tagged value exchanged between the engine and Lua: a number, a boolean,
// a string, or a function named by its global name.
#pragma once

#include <cstdint>
#include <string>

enum : int32_t {
    LUAVAL_NUMBER = 1,
    LUAVAL_BOOLEAN = 2,
    LUAVAL_STRING = 3,
    LUAVAL_FUNCTION = 4,
};

class CLuaValue {
public:
    explicit CLuaValue(double number);
    explicit CLuaValue(bool boolean);
    CLuaValue(const char* text, bool isFunction);
    CLuaValue(std::string text, bool isFunction);

    double GetNumber() const;
    bool GetBoolean() const;
    const std::string& GetString() const;
    const std::string& GetFunction() const;
    int32_t GetType() const { return m_iType; }

private:
    double m_dNumber = 0.0;
    bool m_bBoolean = false;
    std::string m_strText;
    int32_t m_iType;
};
