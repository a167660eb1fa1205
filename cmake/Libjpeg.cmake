# libjpeg-turbo for the Windows build: the pictures of the dialogs are JPEG
# images decoded at run time. Debian ships no mingw build of it, so
# scripts/libjpeg.sh cross-builds Debian's source package once into a cache
# outside the build trees; this file runs it (quick when the cache is
# present), finds the result and links it into the gui layer.
#
#   BREVALO_LIBJPEG_PREFIX  an existing install prefix to use instead of the
#                           script's cache
include_guard(GLOBAL)

if(NOT WIN32)
    return()
endif()

set(BREVALO_LIBJPEG_PREFIX "" CACHE PATH "libjpeg-turbo install prefix (empty: build it into the cache)")
set(libjpeg_prefix "${BREVALO_LIBJPEG_PREFIX}")
if(NOT libjpeg_prefix)
    execute_process(
        COMMAND bash "${CMAKE_CURRENT_LIST_DIR}/../scripts/libjpeg.sh" "${CMAKE_TOOLCHAIN_FILE}"
        OUTPUT_VARIABLE libjpeg_prefix
        OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE libjpeg_result)
    if(NOT libjpeg_result EQUAL 0)
        message(FATAL_ERROR "scripts/libjpeg.sh failed (${libjpeg_result})")
    endif()
endif()

list(APPEND CMAKE_FIND_ROOT_PATH "${libjpeg_prefix}")
# The package of this configure's prefix, not one a cache entry still names
# from an earlier configure (the prefix changes with the recipe).
set(libjpeg-turbo_DIR "${libjpeg_prefix}/lib/cmake/libjpeg-turbo" CACHE PATH
    "libjpeg-turbo's CMake package" FORCE)
find_package(libjpeg-turbo 2.1 CONFIG REQUIRED GLOBAL)
message(STATUS "libjpeg-turbo ${libjpeg-turbo_VERSION}: ${libjpeg_prefix}")

# brevalo_gui (gui/Picture.cpp) decodes the pictures; it is defined later in
# the top-level directory, so the link is added once that directory is done.
cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}"
    CALL target_link_libraries brevalo_gui PUBLIC libjpeg-turbo::jpeg-static)
