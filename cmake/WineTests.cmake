# GoogleTest cross-built from Debian's source package, and the helper that
# registers a Windows test program with CTest. Tests run under Wine through
# CMAKE_CROSSCOMPILING_EMULATOR (scripts/wine-run.sh).
set(BREVALO_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${BREVALO_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)

# Win32 structures are zeroed with the {sizeof s} idiom, which this warning
# flags for every field; it stays on for the platform-free core's own build.
add_compile_options(-Wno-missing-field-initializers)
add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601 WINVER=0x0601)

# brevalo_wine_test(<target> [FRESH_PREFIX] [SERIAL] [TIMEOUT s] [LABEL name] [DPI n])
#   Registers every test of a GoogleTest program. With FRESH_PREFIX each test
#   runs in its own copy of the template Wine prefix (clean registry and files).
#   With DPI the screen has that many pixels per inch (each test then runs in
#   a fresh prefix). The options travel as arguments of the target's emulator.
#   With SERIAL no other test runs at the same time (for what the display
#   shares between programs).
function(brevalo_wine_test target)
    cmake_parse_arguments(ARG "FRESH_PREFIX;SERIAL" "TIMEOUT;LABEL;DPI" "" ${ARGN})
    if(NOT ARG_LABEL)
        set(ARG_LABEL windows)
    endif()
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    set(emulator ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh --timeout=${ARG_TIMEOUT})
    if(ARG_FRESH_PREFIX)
        list(APPEND emulator --fresh)
    endif()
    if(ARG_DPI)
        list(APPEND emulator --dpi=${ARG_DPI})
    endif()
    set_property(TARGET ${target} PROPERTY CROSSCOMPILING_EMULATOR "${emulator}")
    set(serial)
    if(ARG_SERIAL)
        set(serial RUN_SERIAL TRUE)
    endif()
    gtest_discover_tests(${target}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 120
        PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS ${ARG_LABEL} ${serial})
endfunction()
