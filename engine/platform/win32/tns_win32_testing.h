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
