# Delay-loaded system DLLs: the program imports a DLL it needs only for some
# of its work (the colour dialog, shortcuts, sounds, the dialogs' common
# controls, the strings of the accessible objects) through a delay-import library, so Windows loads that DLL at the
# first call instead of at start-up, and a running timer that never makes
# the call never maps it. Each library lists the functions the program uses;
# a new function from one of these DLLs is added to its list here.
#
# brevalo_delay_import(<target> <dll> <function@argument-bytes>...) makes the
# imported library target `<target>` for the flavour being built (32-bit
# names keep the stdcall decoration; 64-bit names have none).
include_guard(GLOBAL)

# The toolchain's dlltool sits beside its resource compiler.
string(REGEX REPLACE "windres$" "dlltool" BREVALO_DLLTOOL "${CMAKE_RC_COMPILER}")

function(brevalo_delay_import target dll)
    set(def "${CMAKE_BINARY_DIR}/delayimports/${target}.def")
    set(lib "${CMAKE_BINARY_DIR}/delayimports/lib${target}.a")
    set(text "LIBRARY ${dll}\nEXPORTS\n")
    set(keep)
    foreach(function IN LISTS ARGN)
        if(CMAKE_SIZEOF_VOID_P EQUAL 8)
            string(REGEX REPLACE "@[0-9]+$" "" function "${function}")
            list(APPEND keep "LINKER:--undefined=${function}")
        else()
            list(APPEND keep "LINKER:--undefined=_${function}") # C names have a leading underscore
        endif()
        string(APPEND text "${function}\n")
    endforeach()
    # Written only when it changes, so the library is not made anew at
    # every configure.
    set(old "")
    if(EXISTS "${def}")
        file(READ "${def}" old)
    endif()
    if(NOT old STREQUAL text)
        file(WRITE "${def}" "${text}")
    endif()
    set(kill)
    if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(kill -k) # import by the undecorated name
    endif()
    add_custom_command(
        OUTPUT "${lib}"
        COMMAND ${BREVALO_DLLTOOL} ${kill} -d "${def}" -D ${dll} -y "${lib}"
        DEPENDS "${def}"
        COMMENT "Delay-import library for ${dll}"
        VERBATIM)
    add_custom_target(${target}_lib DEPENDS "${lib}")
    add_library(${target} STATIC IMPORTED GLOBAL)
    # Each member of the library holds a function's slot and the stub that
    # the slot points at until the first call. The 32-bit linker drops the
    # code of an import-library member whose function name nothing refers
    # to, taking it for an unused `jmp` stub; the program calls through the
    # slot, so every stub went and every slot held 0, and the first call
    # jumped to address 0. Naming every function as undefined at the link
    # keeps the stubs (and links each listed function's member, which the
    # program uses anyway). The 64-bit linker has no such rule; both
    # flavours name the functions alike. scripts/check_pe.py checks the
    # slots of every program built.
    set_target_properties(${target} PROPERTIES IMPORTED_LOCATION "${lib}" INTERFACE_LINK_OPTIONS "${keep}")
    add_dependencies(${target} ${target}_lib)
endfunction()

brevalo_delay_import(delayed_ole32 ole32.dll
    CoCreateInstance@20 CoInitializeEx@8 CoUninitialize@0)
brevalo_delay_import(delayed_comdlg32 comdlg32.dll
    ChooseColorW@4 CommDlgExtendedError@0 GetOpenFileNameW@4)
brevalo_delay_import(delayed_winmm winmm.dll
    PlaySoundW@12 waveOutGetNumDevs@0)
brevalo_delay_import(delayed_oleaut32 oleaut32.dll
    SysAllocString@4 SysAllocStringLen@8 SysFreeString@4 VariantInit@4 VariantClear@4)
brevalo_delay_import(delayed_comctl32 comctl32.dll
    DefSubclassProc@16 ImageList_Add@12 ImageList_AddMasked@12 ImageList_Create@20
    ImageList_Destroy@4 ImageList_Draw@24 ImageList_GetImageCount@4 ImageList_Remove@8
    ImageList_ReplaceIcon@12 InitCommonControlsEx@4 RemoveWindowSubclass@12 SetWindowSubclass@16)
