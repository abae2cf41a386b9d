// Whether a key is down at this moment, as the keyboard is now (GetAsyncKeyState), not as
// the message being handled saw it.
#pragma once

#include <windows.h>

inline bool IsKeyDown(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }
