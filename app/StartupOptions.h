// What the command line asks for beyond the file to open.
#pragma once

// True when the only argument is "/T" (exactly) or "/Tray" in any mix of case: the
// program then starts hidden in the notification area. `argc` counts the program name.
bool IsTrayStartArgument(int argc, const char* const* argv);
