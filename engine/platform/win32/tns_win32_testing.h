// Test hooks of the window-system layer: states that the real system reaches
// only through a desktop (another application taking the focus).
#pragma once

#include "engine/platform/win32/tns_win32.h"

// Makes hwnd the active window (null: none) without any activation message.
void TNS_SetActiveWindow(HWND hwnd);
