# Cross build for 64-bit Windows, from the same source as the shipped 32-bit
# program.
set(BREVALO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
