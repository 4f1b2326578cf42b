# windows-toolchain.cmake: cross-builds the game for 64-bit Windows with Debian's MinGW-w64 (posix
# threads), finding SDL and SDL_mixer in the prefix that tools/windows-libs.sh builds.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(DEFINED ENV{TAVIREL_WINDOWS_LIBS})
  set(TAVIREL_WINDOWS_LIBS $ENV{TAVIREL_WINDOWS_LIBS})
else()
  get_filename_component(TAVIREL_WINDOWS_LIBS ${CMAKE_CURRENT_LIST_DIR}/../build-windows/libs ABSOLUTE)
endif()
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${TAVIREL_WINDOWS_LIBS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
