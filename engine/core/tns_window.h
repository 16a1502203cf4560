// Process entry, the game window and the main loop.
#pragma once

#include "engine/core/ctarnis.h"

// Supplied by the game: brings the engine up, runs the loop, shuts the game down.
void GameMain(CTarnis* tarnis);

using TnsGameMainFunc = void (*)(CTarnis*);

// The process entry: single-instance guard, fault translator, root object,
// GameMain, orderly or fatal shutdown. Returns 1 after a fatal error, else 0.
int WinMain(HINSTANCE instance, HINSTANCE prevInstance, char* cmdLine, int showCmd);

// The entry with its guard name and game function given, for hosts and tests.
int TNS_RunEntry(HINSTANCE instance, const char* instanceName, TnsGameMainFunc gameMain);

void CreateGameWindow(HWND* window, int width, int height, bool windowed);
void DestroyGameWindow(HWND window);
LRESULT GameWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void ShutdownAfterFatalError();

// Runs until the quit flag is set or the frame function returns false.
void RunMainLoop(bool (*frame)());

HINSTANCE TNS_GetInstanceHandle();
