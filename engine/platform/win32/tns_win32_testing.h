// Test hooks of the window-system layer: clocks that tests drive, and states
// the real system reaches only through a desktop (another application taking
// the focus).
#pragma once

#include "engine/platform/win32/tns_win32.h"

// Makes hwnd the active window (null: none) without any activation message.
void TNS_SetActiveWindow(HWND hwnd);

// Replaces the millisecond clock and the local-time reading (tests, replays);
// null restores the system clocks.
using TnsMsClock = DWORD (*)();
using TnsLocalClock = void (*)(SYSTEMTIME*);
void TNS_SetClockSource(TnsMsClock msClock, TnsLocalClock localClock);

// The fault translator's watchdog, in seconds (10 unless a test shortens it).
void TNS_SetFaultWatchdogSeconds(unsigned int seconds);
// The Windows code a POSIX fault is reported as.
DWORD TNS_FaultCodeFromSignal(int signal, int siCode, bool onStackGuard);
