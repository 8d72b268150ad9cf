# Applies or checks .clang-format on every C++ source of the project.
#   cmake -DSOURCE_DIR=<tree> -DMODE=apply -P cmake/format.cmake   rewrites files in place
#   cmake -DSOURCE_DIR=<tree> -DMODE=check -P cmake/format.cmake   fails naming each file that
#                                                                  is not formatted
# CLANG_FORMAT may name the program (default: clang-format on the PATH).
cmake_minimum_required(VERSION 3.20)

if(NOT DEFINED SOURCE_DIR OR NOT DEFINED MODE)
    message(FATAL_ERROR "format.cmake needs -DSOURCE_DIR=... and -DMODE=apply|check")
endif()
if(NOT MODE STREQUAL "apply" AND NOT MODE STREQUAL "check")
    message(FATAL_ERROR "format.cmake: MODE is apply or check, not '${MODE}'")
endif()
if(NOT DEFINED CLANG_FORMAT)
    find_program(CLANG_FORMAT clang-format REQUIRED)
endif()

# The folders that hold our own C++; build trees and dist/ are never scanned.
set(sourceFolders src sim tools tests bench fuzz windows)
set(files)
foreach(folder IN LISTS sourceFolders)
    file(GLOB_RECURSE found LIST_DIRECTORIES false
        "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
    list(APPEND files ${found})
endforeach()
list(SORT files)

if(MODE STREQUAL "apply")
    execute_process(COMMAND ${CLANG_FORMAT} -i ${files} RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "clang-format failed (${status})")
    endif()
    list(LENGTH files count)
    message(STATUS "formatted ${count} files")
    return()
endif()

set(unformatted)
foreach(file IN LISTS files)
    execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${file}
        RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
    if(NOT status EQUAL 0)
        file(RELATIVE_PATH relative "${SOURCE_DIR}" "${file}")
        list(APPEND unformatted "${relative}")
    endif()
endforeach()
if(unformatted)
    list(JOIN unformatted "\n  " shown)
    message(FATAL_ERROR "not formatted by .clang-format:\n  ${shown}\nrun: make format")
endif()
