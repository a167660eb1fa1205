# Builds of one commit give byte-identical executables, whatever folders the
# source and build trees are in and whenever they are built:
# - the linker writes no PE time stamp (0), so the header's time and checksum
#   no longer change from build to build;
# - the source and build folders are written as "src" and "build" in anything
#   the compiler embeds (__FILE__, debug information).
# The resource compiler writes no dates of its own. scripts/package.sh also
# sets SOURCE_DATE_EPOCH, which the compiler uses for __DATE__ and __TIME__.
include_guard(GLOBAL)

if(NOT WIN32)
    return()
endif()

add_link_options(-Wl,--no-insert-timestamp)
# GCC tries the map given last first, so a build tree inside the source tree
# is written as "build", not "src/build/...".
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}=src>"
                    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}=build>")
