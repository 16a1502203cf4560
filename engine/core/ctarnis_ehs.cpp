// CEHSException, its error-log report and the machine-fault translator.
#include "engine/core/ctarnis_ehs.h"

#include <cstdio>
#include <utility>

#include "engine/platform/win32/tns_win32.h"

namespace {

struct FaultText {
    unsigned int code;
    const char* text;
};

constexpr FaultText kFaultTexts[] = {
    {0x80000002u, "Data type misalingment."},
    {0x80000003u, "Breakpoint."},
    {0x80000004u, "A trace trap or other single-instruction mechanism signaled that one instruction has been executed."},
    {0xC0000005u, "Access violation."},
    {0xC0000006u, "Page error."},
    {0xC000001Du, "Illegal instruction."},
    {0xC0000025u, "Noncontinuable exception ignored."},
    {0xC0000026u, "Invalid disposition."},
    {0xC000008Cu, "Array bounds exceeded."},
    {0xC000008Du, "Denormal operand (float)."},
    {0xC000008Eu, "Divide by zero (float)."},
    {0xC000008Fu, "Inexact result (float)."},
    {0xC0000090u, "Invalid operation (float)."},
    {0xC0000091u, "Overflow (float)."},
    {0xC0000092u, "Stack overflow or underflow (float)."},
    {0xC0000093u, "Underflow (float)."},
    {0xC0000094u, "Divide by zero (int)."},
    {0xC0000095u, "Overflow (int)."},
    {0xC0000096u, "The thread tried to execute an instruction whose operation is not allowed in the current machine mode."},
    {0xC00000FDu, "Stack overflow."},
};

constexpr const char* kTypeNames[] = {
    "Unknown.", "General.", "Game.", "Win32.", "Lua.", "Lua glue function.", "In-script.",
};

} // namespace

CEHSException::CEHSException(int32_t type, int32_t code, std::string description, std::string file, int32_t line)
    : m_iType(type), m_iCode(code), m_strDescription(std::move(description)), m_strFile(std::move(file)),
      m_iLine(line)
{
}

const char* CEHSException::GetTypeName() const
{
    if (m_iType < 0 || m_iType > 6) return "Undefined type!";
    return kTypeNames[m_iType];
}

void CEHSException::WriteErrorLog() const
{
    FILE* f = fopen("ehslog.txt", "a");
    if (!f) return;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    auto line = [f](const std::string& text) {
        fputs(text.c_str(), f);
        fputc('\n', f);
        fflush(f);
    };
    line("");
    line("");
    line("");
    line("Date: " + std::to_string(now.wDay) + "." + std::to_string(now.wMonth) + "." + std::to_string(now.wYear));
    line("Time: " + std::to_string(now.wHour) + ":" + std::to_string(now.wMinute));
    line(std::string("Exception type: ") + GetTypeName());
    line("Exception code: " + std::to_string(m_iCode));
    line("Exception desc: " + m_strDescription);
    line("File: " + m_strFile);
    line("Line: " + std::to_string(m_iLine));
    line("Last checkpoint:");
    line("   FileID: " + std::to_string(EHS_GetCheckpointFileID()));
    line("   Line:   " + std::to_string(EHS_GetCheckpointLine()));
    fclose(f);
}

const char* EHS_FaultDescription(unsigned int code)
{
    for (const FaultText& t : kFaultTexts)
        if (t.code == code) return t.text;
    return nullptr;
}

void EHS_TranslateStructuredException(unsigned int code, EXCEPTION_POINTERS*)
{
    const char* text = EHS_FaultDescription(code);
    if (text) throw CEHSException(EHS_TYPE_WIN32, int32_t(code), text, "", 0);
}
