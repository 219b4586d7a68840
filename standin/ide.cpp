// Stand-in IDE: a program that only stays running until it is ended, copied
// under an IDE's program name (e.g. "bin\bds.exe") to stand for an IDE left open.
#include <windows.h>

int wmain() {
    for (;;) Sleep(INFINITE);
}
