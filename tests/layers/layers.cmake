# SPDX-License-Identifier: GPL-3.0-or-later
# The layers from the bottom up: each may use only the layers before it.
set(MARIGOLD_LAYERS game platform assets records table windows)
# The browser program stands beside the game's upper layers, on the lower three.
set(MARIGOLD_BROWSER_USES game platform assets)
set(MARIGOLD_ALL_LAYERS ${MARIGOLD_LAYERS} browser)

# Sets `out` to the layers that `layer` may use.
function(marigold_layers_below layer out)
    if(layer STREQUAL "browser")
        set(below ${MARIGOLD_BROWSER_USES})
    else()
        list(FIND MARIGOLD_LAYERS ${layer} index)
        if(index LESS 0)
            message(FATAL_ERROR "${layer} is not a layer")
        endif()
        list(SUBLIST MARIGOLD_LAYERS 0 ${index} below)
    endif()
    set(${out} ${below} PARENT_SCOPE)
endfunction()
