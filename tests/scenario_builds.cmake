# Every scenario of scenarios/ with the plug-in build it is played against. The scenario tests play
# them all, the Wine tests a few, and bench/write_traces.sh reads the pairs from here.
set(scenarioBuilds
    demo 06h
    every_gang 06h
    rearm_06h 06h
    rearm_24h 24h
    rearm_72h 72h
    player_death 06h
    model_never_loads 06h
    fault_pool_and_player 06h
    fault_clock_and_save 24h
    fault_world 06h
)

# The build a scenario is played against; a scenario missing from the list stops the configure, so
# that no test silently drops it.
function(scenario_build variable scenario)
    set(pairs ${scenarioBuilds})
    while(pairs)
        list(POP_FRONT pairs name build)
        if(name STREQUAL scenario)
            set(${variable} ${build} PARENT_SCOPE)
            return()
        endif()
    endwhile()
    message(FATAL_ERROR "scenario ${scenario} has no build in ${CMAKE_CURRENT_FUNCTION_LIST_FILE}: "
        "add it there as a pair, the scenario's name and then its build")
endfunction()

# cmake -DSCENARIO=NAME -P tests/scenario_builds.cmake prints the scenario's build.
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    scenario_build(build "${SCENARIO}")
    message("${build}")
endif()
