# CMake toolchain for cross-building for 64-bit Windows with Debian's MinGW-w64.
# The -posix compilers use the winpthreads thread model, so std::thread,
# std::mutex and friends work in code built with them.
#
#   cmake -DCMAKE_TOOLCHAIN_FILE=windows/mingw64-toolchain.cmake ...

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${MINGW_TRIPLE}-windres)
# CMake cannot guess the binutils prefix from a "-posix" compiler name.
set(CMAKE_AR     /usr/bin/${MINGW_TRIPLE}-ar     CACHE FILEPATH "archiver")
set(CMAKE_RANLIB /usr/bin/${MINGW_TRIPLE}-ranlib CACHE FILEPATH "ranlib")

# Headers and libraries (DirectX ones included) come from the MinGW tree only;
# programs such as make run from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Keep the host's pkg-config files out of the target build.
set(ENV{PKG_CONFIG_LIBDIR} /usr/${MINGW_TRIPLE}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
