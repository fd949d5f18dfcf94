# Cross toolchain for the 64-bit Windows build: mingw-w64 x86_64. The same
# sources as the 32-bit product; the tests run on it where the machine runs
# no 32-bit program.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ORVEXA_MINGW_TRIPLE x86_64-w64-mingw32)
set(ORVEXA_MINGW_PREFIX_ENV ORVEXA_MINGW64_PREFIX)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
