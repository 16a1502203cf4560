// CEHSException, its error-log report and the machine-fault translator.
#include "engine/core/ctarnis_ehs.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
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

namespace {

// The translated fault: once handled (the thrown object goes), the fault's
// watchdog stops.
struct TranslatedFault : CEHSException {
    using CEHSException::CEHSException;
    TranslatedFault(const TranslatedFault&) = default;
    ~TranslatedFault() { TNS_FaultHandled(); }
};

// Appends text to buf (never past its end) and returns the new end.
char* append(char* at, char* end, const char* text)
{
    while (*text && at < end) *at++ = *text++;
    return at;
}

char* appendNumber(char* at, char* end, long long v)
{
    char digits[24];
    int n = 0;
    const bool negative = v < 0;
    unsigned long long u = negative ? 0ull - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    do {
        digits[n++] = char('0' + u % 10);
        u /= 10;
    } while (u);
    if (negative && at < end) *at++ = '-';
    while (n > 0 && at < end) *at++ = digits[--n];
    return at;
}

} // namespace

void EHS_TranslateStructuredException(unsigned int code, EXCEPTION_POINTERS*)
{
    const char* text = EHS_FaultDescription(code);
    if (text) throw TranslatedFault(EHS_TYPE_WIN32, int32_t(code), text, "", 0);
}

void EHS_WriteFaultReportFromSignal(unsigned int code)
{
    // Only calls that are safe in a signal handler: no allocation, no stdio,
    // no locks. The date is the wall clock's in UTC (local time needs locks).
    char buf[1024];
    char* const end = buf + sizeof buf;
    char* at = append(buf, end, "\n\n\n");
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const long long days = now.tv_sec / 86400, secs = now.tv_sec % 86400;
    // Civil date from days since 1970-01-01.
    const long long z = days + 719468, era = z / 146097, doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
    const long long day = doy - (153 * mp + 2) / 5 + 1, month = mp < 10 ? mp + 3 : mp - 9;
    const long long year = yoe + era * 400 + (month <= 2);
    at = appendNumber(append(at, end, "Date: "), end, day);
    at = appendNumber(append(at, end, "."), end, month);
    at = appendNumber(append(at, end, "."), end, year);
    at = appendNumber(append(at, end, "\nTime: "), end, secs / 3600);
    at = appendNumber(append(at, end, ":"), end, secs / 60 % 60);
    at = append(at, end, "\nException type: Win32.\nException code: ");
    at = appendNumber(at, end, int32_t(code));
    const char* text = EHS_FaultDescription(code);
    at = append(append(at, end, "\nException desc: "), end, text ? text : "EXCEPTION OF UNKNOWN TYPE!");
    at = append(at, end, "\nFile: \nLine: 0\nLast checkpoint:\n   FileID: ");
    at = appendNumber(at, end, EHS_GetCheckpointFileID());
    at = appendNumber(append(at, end, "\n   Line:   "), end, EHS_GetCheckpointLine());
    at = append(at, end, "\n");
    const int fd = open("ehslog.txt", O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return;
    for (const char* p = buf; p < at;) {
        const ssize_t w = write(fd, p, size_t(at - p));
        if (w <= 0) break;
        p += w;
    }
    close(fd);
}
