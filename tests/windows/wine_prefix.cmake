# Makes the Wine prefix of this test run from nothing: the first start of Wine on a machine takes
# several seconds, so it happens once here and every Wine test of the run shares the prefix.
# Wine's own chatter is shown only when it fails.
#
# cmake -DWINE=... -DPREFIX=... -P wine_prefix.cmake   (the Wine variables come from the test)
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${WINE} wineboot --init
    OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE result TIMEOUT 600)
if(NOT result EQUAL 0 OR NOT EXISTS ${PREFIX}/system.reg)
    message(FATAL_ERROR "wineboot could not make the prefix ${PREFIX} (${result}):\n${output}")
endif()
