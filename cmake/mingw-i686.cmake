# Cross toolchain for the 32-bit Windows programs: mingw-w64 i686 with the
# posix thread model (the win32 model lacks std::thread).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_AR i686-w64-mingw32-ar CACHE FILEPATH "")
set(CMAKE_RANLIB i686-w64-mingw32-ranlib CACHE FILEPATH "")

# Dependencies built by scripts/bootstrap live in a prefix outside the
# checkout; ORVEXA_MINGW_PREFIX points at it.
if(NOT ORVEXA_MINGW_PREFIX AND DEFINED ENV{ORVEXA_MINGW_PREFIX})
  set(ORVEXA_MINGW_PREFIX "$ENV{ORVEXA_MINGW_PREFIX}")
endif()
# Google Benchmark has a prefix of its own (ORVEXA_MINGW_BENCH_PREFIX).
if(NOT ORVEXA_MINGW_BENCH_PREFIX AND DEFINED ENV{ORVEXA_MINGW_BENCH_PREFIX})
  set(ORVEXA_MINGW_BENCH_PREFIX "$ENV{ORVEXA_MINGW_BENCH_PREFIX}")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32 ${ORVEXA_MINGW_PREFIX} ${ORVEXA_MINGW_BENCH_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Prefer static archives: the programs must run with no DLL beside them.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)

# zlib comes from the mingw package; name its static archive, or the
# import library of its DLL is picked up.
set(ZLIB_LIBRARY /usr/i686-w64-mingw32/lib/libz.a CACHE FILEPATH "")
set(ZLIB_INCLUDE_DIR /usr/i686-w64-mingw32/include CACHE PATH "")
