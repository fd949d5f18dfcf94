# The part of the mingw-w64 cross toolchain that does not depend on the
# processor. The toolchain files set ORVEXA_MINGW_TRIPLE (i686-w64-mingw32 or
# x86_64-w64-mingw32) and ORVEXA_MINGW_PREFIX_ENV first and include this file.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model: the win32 model lacks std::thread.
set(CMAKE_C_COMPILER ${ORVEXA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVEXA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ORVEXA_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${ORVEXA_MINGW_TRIPLE}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${ORVEXA_MINGW_TRIPLE}-ranlib CACHE FILEPATH "")

# Dependencies built by scripts/bootstrap live in a prefix per processor
# outside the checkout; the environment variable named by
# ORVEXA_MINGW_PREFIX_ENV points at it (ORVEXA_MINGW_PREFIX for i686,
# ORVEXA_MINGW64_PREFIX for x86_64).
if(NOT ORVEXA_MINGW_PREFIX AND DEFINED ENV{${ORVEXA_MINGW_PREFIX_ENV}})
  set(ORVEXA_MINGW_PREFIX "$ENV{${ORVEXA_MINGW_PREFIX_ENV}}")
endif()
# Google Benchmark has a prefix of its own (the same name with _BENCH).
string(REPLACE "_PREFIX" "_BENCH_PREFIX" bench_env ${ORVEXA_MINGW_PREFIX_ENV})
if(NOT ORVEXA_MINGW_BENCH_PREFIX AND DEFINED ENV{${bench_env}})
  set(ORVEXA_MINGW_BENCH_PREFIX "$ENV{${bench_env}}")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${ORVEXA_MINGW_TRIPLE} ${ORVEXA_MINGW_PREFIX} ${ORVEXA_MINGW_BENCH_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Prefer static archives: the programs must run with no DLL beside them.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)

# zlib comes from the mingw package; name its static archive, or the
# import library of its DLL is picked up.
set(ZLIB_LIBRARY /usr/${ORVEXA_MINGW_TRIPLE}/lib/libz.a CACHE FILEPATH "")
set(ZLIB_INCLUDE_DIR /usr/${ORVEXA_MINGW_TRIPLE}/include CACHE PATH "")
