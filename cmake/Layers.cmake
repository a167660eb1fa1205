# The layers of the program, lowest first; a library may link only libraries
# of lower layers (the libraries of one layer are independent of each other).
# Checked at configure time, so a link that reaches up fails the build at once.
set(BREVALO_LAYERS
    brevalo_core
    brevalo_base
    brevalo_os|brevalo_gui
    brevalo_controls|brevalo_timer
    brevalo_frontend)

function(brevalo_check_layers)
    set(index 0)
    set(all "")
    foreach(layer IN LISTS BREVALO_LAYERS)
        string(REPLACE "|" ";" members "${layer}")
        foreach(target IN LISTS members)
            set(rank_${target} ${index})
            list(APPEND all ${target})
        endforeach()
        math(EXPR index "${index} + 1")
    endforeach()
    foreach(target IN LISTS all)
        if(NOT TARGET ${target})
            continue()
        endif()
        get_target_property(links ${target} LINK_LIBRARIES)
        foreach(link IN LISTS links)
            if(DEFINED rank_${link} AND NOT rank_${link} LESS rank_${target})
                message(FATAL_ERROR "${target} links ${link}, which is not in a lower layer")
            endif()
        endforeach()
    endforeach()
endfunction()
