# make dist: the Windows builds for players, in DIST/: every GangHideoutsNNh.asi of the cross
# build, one zip per build (the .asi and INSTALL.txt), INSTALL.txt and SHA256SUMS. The folder is
# made beside DIST and renamed into place when complete, so a failed run leaves no half of one.
# The builds and their cooldowns are read from the file names (GangHideouts24h.asi: 24 hours).
# INSTALL.txt has Windows line ends, for the players' text editors.
#
# cmake -DWINDOWS_BUILD=build-windows -DDIST=dist -P scripts/dist.cmake
get_filename_component(sourceDir ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
file(GLOB plugins RELATIVE ${WINDOWS_BUILD} ${WINDOWS_BUILD}/GangHideouts*h.asi)
list(SORT plugins COMPARE NATURAL)
if(NOT plugins)
    message(FATAL_ERROR "dist: no GangHideoutsNNh.asi in ${WINDOWS_BUILD}; run make first")
endif()

set(staging ${DIST}.partial)
file(REMOVE_RECURSE ${staging})
file(MAKE_DIRECTORY ${staging})

set(BUILD_TABLE "")
list(LENGTH plugins BUILD_COUNT)
foreach(plugin IN LISTS plugins)
    string(REGEX REPLACE "^GangHideouts0*([0-9]+)h\\.asi$" "\\1" hours ${plugin})
    string(APPEND BUILD_TABLE "  ${plugin}   re-arms ${hours} hours of game time after a squad appears\n")
endforeach()
set(BUILD_NAME "all builds")
configure_file(${sourceDir}/windows/INSTALL.txt.in ${staging}/INSTALL.txt @ONLY NEWLINE_STYLE CRLF)

# Fixed file times inside the zips: the same builds give the same zips.
foreach(plugin IN LISTS plugins)
    string(REGEX REPLACE "\\.asi$" "" build ${plugin})
    set(BUILD_NAME "${plugin}")
    set(packing ${staging}/${build})
    file(MAKE_DIRECTORY ${packing})
    file(COPY ${WINDOWS_BUILD}/${plugin} DESTINATION ${staging})
    file(COPY ${WINDOWS_BUILD}/${plugin} DESTINATION ${packing})
    configure_file(${sourceDir}/windows/INSTALL.txt.in ${packing}/INSTALL.txt @ONLY NEWLINE_STYLE CRLF)
    execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${staging}/${build}.zip --format=zip
            "--mtime=2000-01-01 00:00:00 UTC" ${plugin} INSTALL.txt
        WORKING_DIRECTORY ${packing} RESULT_VARIABLE packed)
    if(NOT packed EQUAL 0)
        message(FATAL_ERROR "dist: could not make ${build}.zip")
    endif()
    file(REMOVE_RECURSE ${packing})
    message(STATUS "dist: ${build}.zip")
endforeach()

file(GLOB released RELATIVE ${staging} ${staging}/*)
list(SORT released)
set(sums "")
foreach(file IN LISTS released)
    file(SHA256 ${staging}/${file} hash)
    string(APPEND sums "${hash}  ${file}\n")
endforeach()
file(WRITE ${staging}/SHA256SUMS "${sums}")

file(REMOVE_RECURSE ${DIST})
file(RENAME ${staging} ${DIST})
message(STATUS "dist: ${BUILD_COUNT} builds, their zips, INSTALL.txt and SHA256SUMS in ${DIST}")
