# The program's version is written once, in project(VERSION) of the top-level
# CMakeLists.txt. This file turns it into BrevaloVersion.h (generated in the
# build tree), which the version resource and the About text include;
# resources/CMakeLists.txt fills the same numbers into the manifest and the
# archives' README.txt.
include_guard(GLOBAL)

set(BREVALO_VERSION_NUMBERS
    "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},${PROJECT_VERSION_TWEAK}")
# The About box writes the last number with two digits: 1.0.0.0 reads "V 1.0.0.00".
if(PROJECT_VERSION_TWEAK LESS 10)
    set(about_build "0${PROJECT_VERSION_TWEAK}")
else()
    set(about_build "${PROJECT_VERSION_TWEAK}")
endif()
set(BREVALO_ABOUT_VERSION
    "V ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.${about_build}")

configure_file(${CMAKE_CURRENT_LIST_DIR}/BrevaloVersion.h.in
               ${CMAKE_BINARY_DIR}/generated/BrevaloVersion.h @ONLY)
add_library(brevalo_version INTERFACE)
target_include_directories(brevalo_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
