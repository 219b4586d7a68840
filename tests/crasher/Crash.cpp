// Writes through a null pointer: the crash that tests/crash_test.sh expects
// every prefix to end at once, with no debugger waiting. The pointer comes from
// the argument count (1 without arguments), so the compiler cannot tell it is
// null and drop or replace the write.
#include <cstdint>

int wmain(int argc, wchar_t**) {
    volatile int* p = reinterpret_cast<volatile int*>(static_cast<std::intptr_t>(argc - 1));
    *p = 1;
    return 0;
}
