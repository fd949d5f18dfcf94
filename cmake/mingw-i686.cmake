# Cross toolchain for the 32-bit Windows programs that ship: mingw-w64 i686.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ORVEXA_MINGW_TRIPLE i686-w64-mingw32)
set(ORVEXA_MINGW_PREFIX_ENV ORVEXA_MINGW_PREFIX)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
