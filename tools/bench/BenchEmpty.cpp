// The smallest Windows GUI program the toolchain makes: its run time under
// Wine is what starting any program costs before it does any work.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
