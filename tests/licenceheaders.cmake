# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source file, script or build file of the tree does not name its licence
# within its first three lines:
#   cmake -DSOURCE_DIR=<top of the tree> -P licenceheaders.cmake
cmake_minimum_required(VERSION 3.25)

set(folders game platform assets records table windows browser tests benchmarks tools .ci)
set(patterns *.cpp *.h *.sh *.py *.cmake *.in *.svg *.html *.desktop CMakeLists.txt run)
set(files ${SOURCE_DIR}/CMakeLists.txt ${SOURCE_DIR}/main.cpp)
foreach(folder IN LISTS folders)
    foreach(pattern IN LISTS patterns)
        file(GLOB_RECURSE found ${SOURCE_DIR}/${folder}/${pattern})
        list(APPEND files ${found})
    endforeach()
endforeach()
# Fuzzer inputs are data, and the Debian changelog's format has no place for a comment.
list(FILTER files EXCLUDE REGEX "/tests/fuzz/corpus/|/assets/debian/changelog\\.in$")
list(REMOVE_DUPLICATES files)

set(missing "")
foreach(file IN LISTS files)
    file(STRINGS ${file} head LIMIT_COUNT 3)
    if(NOT head MATCHES "SPDX-License-Identifier: [A-Za-z0-9.+-]+")
        file(RELATIVE_PATH name ${SOURCE_DIR} ${file})
        string(APPEND missing "  ${name}\n")
    endif()
endforeach()

if(missing)
    message(FATAL_ERROR "These files do not name their licence in their first lines:\n${missing}")
endif()
list(LENGTH files count)
message(STATUS "All ${count} source files name their licence")
