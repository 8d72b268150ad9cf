# Runs a program and compares what it prints, line by line, with the text saved in the
# repository; with SAVE set, writes the text there instead.
#   cmake -DCOMMAND="program|arg|arg" [-DWORKING_DIRECTORY=dir] -DNAME="what runs"
#         -DEXPECTED=file -DSAVE_WITH="make target" [-DSAVE=ON] -P compare_output.cmake
# The program must exit with status 0. A difference is reported with the first differing line,
# its number, and the command that re-saves after an intended change.
cmake_minimum_required(VERSION 3.20)

# Prints the text as it is (FATAL_ERROR would re-wrap it) and stops with a failure.
function(fail text)
    message(NOTICE "${text}")
    message(FATAL_ERROR "${NAME} failed")
endfunction()

foreach(required COMMAND NAME EXPECTED SAVE_WITH)
    if(NOT DEFINED ${required})
        message(FATAL_ERROR "compare_output.cmake: ${required} is not set")
    endif()
endforeach()

if(NOT DEFINED WORKING_DIRECTORY)
    set(WORKING_DIRECTORY .)
endif()
string(REPLACE "|" ";" command "${COMMAND}")
execute_process(
    COMMAND ${command}
    WORKING_DIRECTORY ${WORKING_DIRECTORY}
    OUTPUT_VARIABLE played
    ERROR_VARIABLE errors
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    fail("${NAME} ended with status ${status}\n${errors}${played}")
endif()

if(SAVE)
    # Written beside and renamed, so that an interrupted save leaves the old text whole.
    file(WRITE "${EXPECTED}.partial" "${played}")
    file(RENAME "${EXPECTED}.partial" "${EXPECTED}")
    message(STATUS "saved ${EXPECTED}")
    return()
endif()

if(NOT EXISTS "${EXPECTED}")
    fail("${NAME}: nothing saved at ${EXPECTED}\nsave it with: ${SAVE_WITH}")
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
        set(${text}Line "(end of text)")
    endif()
endforeach()
string(CONCAT report "${NAME}: the output differs from ${EXPECTED} at line ${number}\n"
    "  saved:  ${savedLine}\n"
    "  now:    ${playedLine}\n"
    "if the change is intended, save it with: ${SAVE_WITH}")
fail("${report}")
