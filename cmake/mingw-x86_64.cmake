# Cross toolchain for hosts whose Wine cannot run 32-bit programs: the same
# sources built as 64-bit Windows programs, test programs run in 64-bit
# prefixes through tools/wine-run.sh. What ships is the 32-bit build
# (cmake/mingw-i686.cmake); this tree's TESSEL_BUILD32_DIR names it, so
# checks that read the programs without running them check those.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh --arch=win64)
