// Signal-based stand-in for the structured-exception translator; see tns_seh.h.
#include "engine/platform/win32/tns_seh.h"
#include "engine/platform/win32/tns_win32_testing.h"

#include <pthread.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <initializer_list>

namespace {

_se_translator_function g_translator = nullptr;
uintptr_t g_stackLow = 0;
alignas(16) unsigned char g_altStack[64 * 1024];
pthread_t g_faultThread{};
std::atomic<bool> g_faultInFlight{false};
std::atomic<unsigned> g_watchdogSeconds{10};
std::atomic<TnsFaultReporter> g_reporter{nullptr};
constexpr size_t kThreadAltStack = 64 * 1024;

void writeAll(const char* text)
{
    size_t n = strlen(text);
    while (n > 0) {
        const ssize_t w = write(STDERR_FILENO, text, n);
        if (w <= 0) return;
        text += w;
        n -= size_t(w);
    }
}

[[noreturn]] void reportAndEnd(unsigned int code, const char* line)
{
    if (TnsFaultReporter reporter = g_reporter.load()) reporter(code);
    TNS_FatalLine(line);
}

void onWatchdog(int)
{
    if (g_faultInFlight.load()) TNS_FatalLine("the report of a machine fault did not finish");
}

bool isStackGuardFault(const void* address)
{
    auto a = reinterpret_cast<uintptr_t>(address);
    // The guard gap lies just below the lowest address the stack may grow to.
    constexpr uintptr_t kGuardSpan = 1u << 20;
    return g_stackLow && a < g_stackLow + 4096 && a + kGuardSpan >= g_stackLow;
}

void onFault(int sig, siginfo_t* si, void*)
{
    const DWORD quickCode = TNS_FaultCodeFromSignal(sig, si ? si->si_code : 0, false);
    if (!pthread_equal(pthread_self(), g_faultThread)) reportAndEnd(quickCode, "machine fault on a secondary thread");
    if (g_faultInFlight.exchange(true)) reportAndEnd(quickCode, "machine fault while another was being reported");
    alarm(g_watchdogSeconds.load());
    EXCEPTION_RECORD record{};
    record.Signal = sig;
    record.SignalCode = si ? si->si_code : 0;
    record.ExceptionAddress = si ? si->si_addr : nullptr;
    record.ExceptionCode =
        TNS_FaultCodeFromSignal(sig, record.SignalCode, sig == SIGSEGV && si && isStackGuardFault(si->si_addr));
    EXCEPTION_POINTERS info{&record};
    if (g_translator) g_translator(record.ExceptionCode, &info);
    throw TnsUntranslatedFault{record.ExceptionCode};
}

void findMainStack()
{
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) != 0) return;
    void* addr = nullptr;
    size_t size = 0;
    if (pthread_attr_getstack(&attr, &addr, &size) == 0) {
        g_stackLow = reinterpret_cast<uintptr_t>(addr);
    }
    pthread_attr_destroy(&attr);
}

} // namespace

DWORD TNS_FaultCodeFromSignal(int sig, int siCode, bool onStackGuard)
{
    switch (sig) {
    case SIGSEGV:
        return onStackGuard ? EXCEPTION_STACK_OVERFLOW : EXCEPTION_ACCESS_VIOLATION;
    case SIGBUS:
        return siCode == BUS_ADRALN ? EXCEPTION_DATATYPE_MISALIGNMENT : EXCEPTION_IN_PAGE_ERROR;
    case SIGILL:
        return (siCode == ILL_PRVOPC || siCode == ILL_PRVREG) ? EXCEPTION_PRIV_INSTRUCTION
                                                              : EXCEPTION_ILLEGAL_INSTRUCTION;
    case SIGTRAP:
        return siCode == TRAP_TRACE ? EXCEPTION_SINGLE_STEP : EXCEPTION_BREAKPOINT;
    case SIGFPE:
        switch (siCode) {
        case FPE_INTDIV: return EXCEPTION_INT_DIVIDE_BY_ZERO;
        case FPE_INTOVF: return EXCEPTION_INT_OVERFLOW;
        case FPE_FLTDIV: return EXCEPTION_FLT_DIVIDE_BY_ZERO;
        case FPE_FLTOVF: return EXCEPTION_FLT_OVERFLOW;
        case FPE_FLTUND: return EXCEPTION_FLT_UNDERFLOW;
        case FPE_FLTRES: return EXCEPTION_FLT_INEXACT_RESULT;
        case FPE_FLTINV: return EXCEPTION_FLT_INVALID_OPERATION;
        case FPE_FLTSUB: return EXCEPTION_ARRAY_BOUNDS_EXCEEDED;
        default: return EXCEPTION_FLT_INVALID_OPERATION;
        }
    default:
        return 0;
    }
}

TnsUntranslatedFault::~TnsUntranslatedFault()
{
    TNS_FaultHandled();
}

void TNS_FaultHandled()
{
    if (g_faultInFlight.exchange(false)) alarm(0);
}

void TNS_SetFaultWatchdogSeconds(unsigned int seconds)
{
    g_watchdogSeconds.store(seconds);
}

void TNS_SetFaultReporter(TnsFaultReporter reporter)
{
    g_reporter.store(reporter);
}

void TNS_FatalLine(const char* text)
{
    writeAll("Fatal error: ");
    writeAll(text);
    writeAll("\n");
    _exit(1);
}

void TNS_PrepareThreadForFaults()
{
    // Kept for the thread's life; freed with the process (threads are few and long-lived).
    thread_local void* altStack = nullptr;
    if (altStack) return;
    altStack = mmap(nullptr, kThreadAltStack, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (altStack == MAP_FAILED) {
        altStack = nullptr;
        return;
    }
    stack_t ss{};
    ss.ss_sp = altStack;
    ss.ss_size = kThreadAltStack;
    sigaltstack(&ss, nullptr);
}

_se_translator_function _set_se_translator(_se_translator_function translator)
{
    _se_translator_function previous = g_translator;
    g_translator = translator;
    g_faultThread = pthread_self();

    findMainStack();
    stack_t ss{};
    ss.ss_sp = g_altStack;
    ss.ss_size = sizeof(g_altStack);
    sigaltstack(&ss, nullptr);

    struct sigaction sa{};
    sa.sa_sigaction = onFault;
    sigemptyset(&sa.sa_mask);
    // NODEFER: the handler never returns (it throws), so the signal must not stay
    // blocked, or the next fault of the same kind would kill the process.
    sa.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
    for (int sig : {SIGSEGV, SIGBUS, SIGILL, SIGTRAP, SIGFPE}) sigaction(sig, &sa, nullptr);
    struct sigaction watchdog{};
    watchdog.sa_handler = onWatchdog;
    sigemptyset(&watchdog.sa_mask);
    sigaction(SIGALRM, &watchdog, nullptr);
    return previous;
}
