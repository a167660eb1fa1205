# The body of both mingw-w64 toolchains (posix thread model). The toolchain
# file that includes this sets BREVALO_MINGW_TRIPLE and the processor.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${BREVALO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BREVALO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${BREVALO_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BREVALO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime is linked in, so the program needs no DLL beyond Windows' own.
# Every function and datum has a section of its own and the linker drops the
# ones nothing uses, from our code and from the runtime alike.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--gc-sections")
set(CMAKE_C_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")

# Tests built for Windows run under Wine through the project's wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
