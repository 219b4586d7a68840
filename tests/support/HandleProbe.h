// What a started program was handed; see HandleProbe.cpp. The test entry
// point runs it instead of the tests when the first argument is "--probe-handles".
#pragma once
#include <windows.h>

int RunHandleProbe();
