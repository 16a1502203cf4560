// The GUI's script functions (TRSGUI_*), registered with the script host by
// the GUI manager's creation.
#pragma once

void TRSGUI_RegisterScriptFunctions();
