// Carries engine errors across the interpreter. A native function's C++
// exception is caught at the function's edge and parked; a Lua error takes its
// place inside the interpreter (Lua's own unwinding keeps its state whole); the
// engine's protected call then throws the parked exception unchanged. A
// script's own pcall/xpcall/coroutine.resume re-raises instead of swallowing it.
#pragma once

struct lua_State;

// Pushes f as a guarded closure (the native function rides as an upvalue).
void SCR_PushGuardedFunction(lua_State* L, int (*f)(lua_State*));

// Wraps the globals pcall and xpcall and coroutine.resume so that they pass a
// parked engine error on.
void SCR_InstallErrorPassThrough(lua_State* L);

// After a protected call: throws the parked engine error, if any.
void SCR_RethrowParkedError();

// Drops a parked error (the interpreter is being closed).
void SCR_DiscardParkedError();
