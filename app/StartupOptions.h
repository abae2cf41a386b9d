// What the command line asks for beyond the file to open.
#pragma once

#include <string>
#include <vector>

// True when the only argument is "/T" (exactly) or "/Tray" in any mix of case: the
// program then starts hidden in the notification area. `args` starts with the program name.
bool IsTrayStartArgument(const std::vector<std::wstring>& args);
