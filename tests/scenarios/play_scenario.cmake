# Plays one scenario with the simulator and compares its timeline, line by line, with the one
# saved in the repository; with SAVE set, writes the timeline there instead.
#   cmake -DSIMULATOR=path -DBUILD=06h -DSCENARIO_DIR=dir -DNAME=demo -DEXPECTED=file [-DSAVE=ON]
#         -P play_scenario.cmake
# The scenario is named relative to its folder, so that the timeline's heading holds no path.
cmake_minimum_required(VERSION 3.20)

# Prints the text as it is (FATAL_ERROR would re-wrap it) and stops with a failure.
function(fail text)
    message(NOTICE "${text}")
    message(FATAL_ERROR "scenario ${NAME} failed")
endfunction()

foreach(required SIMULATOR BUILD SCENARIO_DIR NAME EXPECTED)
    if(NOT DEFINED ${required})
        message(FATAL_ERROR "play_scenario.cmake: ${required} is not set")
    endif()
endforeach()

execute_process(
    COMMAND ${SIMULATOR} --build ${BUILD} --scenario ${NAME}.scenario
    WORKING_DIRECTORY ${SCENARIO_DIR}
    OUTPUT_VARIABLE played
    ERROR_VARIABLE errors
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    fail("scenario ${NAME} (build ${BUILD}) ended with status ${status}\n${errors}${played}")
endif()

if(SAVE)
    # Written beside and renamed, so that an interrupted save leaves the old timeline whole.
    file(WRITE "${EXPECTED}.partial" "${played}")
    file(RENAME "${EXPECTED}.partial" "${EXPECTED}")
    message(STATUS "saved ${EXPECTED}")
    return()
endif()

if(NOT EXISTS "${EXPECTED}")
    fail("scenario ${NAME}: no saved timeline at ${EXPECTED}\nsave it with: make save-timelines")
endif()
file(READ "${EXPECTED}" saved)
if("${played}" STREQUAL "${saved}")
    return()
endif()

# Walk both texts line by line to the first difference.
set(number 1)
while(TRUE)
    foreach(text saved played)
        string(FIND "${${text}}" "\n" end)
        if(end EQUAL -1)
            set(${text}Line "${${text}}")
            set(${text} "")
        else()
            string(SUBSTRING "${${text}}" 0 ${end} ${text}Line)
            math(EXPR next "${end} + 1")
            string(SUBSTRING "${${text}}" ${next} -1 ${text})
        endif()
    endforeach()
    if(NOT "${savedLine}" STREQUAL "${playedLine}")
        break()
    endif()
    if("${saved}" STREQUAL "" OR "${played}" STREQUAL "")
        # Same lines so far; one text ends here and the other goes on.
        math(EXPR number "${number} + 1")
        string(FIND "${saved}" "\n" end)
        string(SUBSTRING "${saved}" 0 ${end} savedLine)
        string(FIND "${played}" "\n" end)
        string(SUBSTRING "${played}" 0 ${end} playedLine)
        break()
    endif()
    math(EXPR number "${number} + 1")
endwhile()
foreach(text saved played)
    if("${${text}Line}" STREQUAL "")
        set(${text}Line "(end of timeline)")
    endif()
endforeach()
string(CONCAT report "scenario ${NAME}: the timeline differs from ${EXPECTED} at line ${number}\n"
    "  saved:  ${savedLine}\n"
    "  played: ${playedLine}\n"
    "if the change is intended, save the new timelines with: make save-timelines")
fail("${report}")
