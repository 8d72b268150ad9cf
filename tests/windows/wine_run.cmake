# Plays one scenario twice, with the Linux simulator and its .so build and with the Windows
# simulator and its .asi build under Wine, and requires the same run from both: both finish with
# every expect line passing, the traces are the same byte for byte, and so are the timelines (line
# ends aside). The trace must also show the plug-in's life: the script registered on load, first
# of all host calls, and unregistered on unload, last.
#
# cmake -DLINUX_SIM=... -DWINDOWS_SIM=... -DWINE=... -DLINUX_PLUGIN=... -DWINDOWS_PLUGIN=...
#       -DSCENARIO=... -DOUT=folder -P wine_run.cmake
# A plug-in given as "build:NNh" is loaded by --build, any other by --plugin.
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})

function(play platform)
    set(plugin ${${platform}_PLUGIN})
    if(plugin MATCHES "^build:(.+)$")
        set(choice --build ${CMAKE_MATCH_1})
    else()
        set(choice --plugin ${plugin})
    endif()
    if(platform STREQUAL WINDOWS)
        set(command ${WINE} ${WINDOWS_SIM})
    else()
        set(command ${LINUX_SIM})
    endif()
    execute_process(COMMAND ${command} ${choice} --scenario ${SCENARIO} --trace ${OUT}/${platform}.jsonl
        OUTPUT_VARIABLE timeline ERROR_VARIABLE errors RESULT_VARIABLE result TIMEOUT 600)
    if(NOT result EQUAL 0)
        string(SUBSTRING "${timeline}" 0 4000 shown)
        message(FATAL_ERROR "${platform} run of ${SCENARIO} ended with ${result}:\n${errors}\n${shown}")
    endif()
    string(REPLACE "\r\n" "\n" timeline "${timeline}")
    string(REGEX REPLACE "trace written to [^\n]*\n" "" timeline "${timeline}")
    file(WRITE ${OUT}/${platform}-timeline.txt "${timeline}")
endfunction()

play(LINUX)
play(WINDOWS)

execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/LINUX.jsonl ${OUT}/WINDOWS.jsonl
    RESULT_VARIABLE traceDiffers)
if(traceDiffers)
    message(FATAL_ERROR "the traces differ: ${OUT}/LINUX.jsonl and ${OUT}/WINDOWS.jsonl")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/LINUX-timeline.txt ${OUT}/WINDOWS-timeline.txt
    RESULT_VARIABLE timelineDiffers)
if(timelineDiffers)
    message(FATAL_ERROR "the timelines differ: ${OUT}/LINUX-timeline.txt and ${OUT}/WINDOWS-timeline.txt")
endif()

file(STRINGS ${OUT}/WINDOWS.jsonl hostCalls REGEX "\"host\":\"script(Register|Unregister)\"")
list(LENGTH hostCalls count)
file(STRINGS ${OUT}/WINDOWS.jsonl firstLines LIMIT_COUNT 1)
if(NOT count EQUAL 2 OR NOT firstLines MATCHES "\"host\":\"scriptRegister\"")
    message(FATAL_ERROR "the trace does not begin with the one registration of the script: ${OUT}/WINDOWS.jsonl")
endif()
list(GET hostCalls 1 lastRegistration)
file(READ ${OUT}/WINDOWS.jsonl trace)
string(LENGTH "${trace}" traceLength)
string(LENGTH "${lastRegistration}\n" lastLength)
math(EXPR lastStart "${traceLength} - ${lastLength}")
string(SUBSTRING "${trace}" ${lastStart} -1 lastLine)
if(NOT lastRegistration MATCHES "scriptUnregister" OR NOT lastLine STREQUAL "${lastRegistration}\n")
    message(FATAL_ERROR "the trace does not end with the unregistration of the script: ${OUT}/WINDOWS.jsonl")
endif()
message(STATUS "same trace and timeline from Linux and from Windows under Wine: ${SCENARIO}")
