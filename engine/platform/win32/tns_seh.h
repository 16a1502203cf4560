// The C runtime's structured-exception translator hook, on POSIX signals.
// Machine faults (SIGSEGV, SIGBUS, SIGILL, SIGTRAP, SIGFPE) are mapped to the
// Windows exception codes and handed to the installed translator, which throws
// a C++ exception out of the signal handler; the code must be built with
// -fnon-call-exceptions. Handlers run on an alternate stack, so a stack
// overflow is reported too.
#pragma once

#include "engine/platform/win32/tns_win32.h"

constexpr DWORD EXCEPTION_DATATYPE_MISALIGNMENT = 0x80000002u;
constexpr DWORD EXCEPTION_BREAKPOINT = 0x80000003u;
constexpr DWORD EXCEPTION_SINGLE_STEP = 0x80000004u;
constexpr DWORD EXCEPTION_ACCESS_VIOLATION = 0xC0000005u;
constexpr DWORD EXCEPTION_IN_PAGE_ERROR = 0xC0000006u;
constexpr DWORD EXCEPTION_ILLEGAL_INSTRUCTION = 0xC000001Du;
constexpr DWORD EXCEPTION_ARRAY_BOUNDS_EXCEEDED = 0xC000008Cu;
constexpr DWORD EXCEPTION_FLT_DENORMAL_OPERAND = 0xC000008Du;
constexpr DWORD EXCEPTION_FLT_DIVIDE_BY_ZERO = 0xC000008Eu;
constexpr DWORD EXCEPTION_FLT_INEXACT_RESULT = 0xC000008Fu;
constexpr DWORD EXCEPTION_FLT_INVALID_OPERATION = 0xC0000090u;
constexpr DWORD EXCEPTION_FLT_OVERFLOW = 0xC0000091u;
constexpr DWORD EXCEPTION_FLT_UNDERFLOW = 0xC0000093u;
constexpr DWORD EXCEPTION_INT_DIVIDE_BY_ZERO = 0xC0000094u;
constexpr DWORD EXCEPTION_INT_OVERFLOW = 0xC0000095u;
constexpr DWORD EXCEPTION_PRIV_INSTRUCTION = 0xC0000096u;
constexpr DWORD EXCEPTION_STACK_OVERFLOW = 0xC00000FDu;

struct EXCEPTION_RECORD {
    DWORD ExceptionCode;
    void* ExceptionAddress; // the faulting data address where the signal gives one
    int Signal;             // the POSIX signal and its si_code, for diagnostics
    int SignalCode;
};

struct EXCEPTION_POINTERS {
    EXCEPTION_RECORD* ExceptionRecord;
};

using _se_translator_function = void (*)(unsigned int code, EXCEPTION_POINTERS* info);

// Installs the translator and the fault handlers; returns the previous translator.
_se_translator_function _set_se_translator(_se_translator_function translator);

// Thrown when the translator returns without throwing (a code it does not know):
// the fault still has to leave the faulting instruction.
struct TnsUntranslatedFault {
    unsigned int code;
    ~TnsUntranslatedFault();
};

// A fault's report must not hang: from the fault until the thrown exception is
// handled (its object destroyed, which calls TNS_FaultHandled) a watchdog runs,
// and when it expires the process ends with a short line and status 1. A fault
// inside the allocator could otherwise deadlock the report. A fault while
// another is still in flight, or on a thread other than the one that installed
// the translator (nothing there could catch it), is not thrown: the reporter
// (if set) writes what it can without allocating, then the short line and
// status 1.
void TNS_FaultHandled();
using TnsFaultReporter = void (*)(unsigned int code);
void TNS_SetFaultReporter(TnsFaultReporter reporter);

// Writes "Fatal error: " + text and a line end to standard error with write(2)
// and ends the process with status 1; for where nothing else is safe.
[[noreturn]] void TNS_FatalLine(const char* text);

// Gives the calling thread an alternate signal stack, so that a stack overflow
// on it is reported too; threads the engine starts call it first.
void TNS_PrepareThreadForFaults();
