# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a layer's source includes a header from a layer above it (or beside it, as
# the browser and the game's upper layers are):
#   cmake -DSOURCE_DIR=<top of the tree> -P includes.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/layers.cmake)

set(wrong "")
foreach(layer IN LISTS MARIGOLD_ALL_LAYERS)
    marigold_layers_below(${layer} allowed)
    file(GLOB sources ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp)
    foreach(source IN LISTS sources)
        file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]*/")
        foreach(line IN LISTS includes)
            string(REGEX MATCH "\"([^\"/]*)/" folder "${line}")
            set(folder ${CMAKE_MATCH_1})
            if(NOT folder STREQUAL layer AND NOT folder IN_LIST allowed)
                file(RELATIVE_PATH name ${SOURCE_DIR} ${source})
                string(STRIP "${line}" line)
                string(APPEND wrong "  ${name}: ${line}\n")
            endif()
        endforeach()
    endforeach()
endforeach()

if(wrong)
    message(FATAL_ERROR "These includes reach above their layer:\n${wrong}")
endif()
message(STATUS "Every layer includes only itself and the layers below it")
