#include "app/JotwellApp.h"

// The one application object.
CJotwellApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCmd) { return AfxWinMain(instance, showCmd); }
