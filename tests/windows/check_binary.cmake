# Checks a plug-in file the way a player's machine sees it, from `objdump -p`: a 64-bit PE
# library (PE32+, x86-64) with address-space layout randomisation, no-execute data and
# high-entropy addresses, an empty export table, and imports from exactly three DLLs: the script
# host (exactly its functions, under the decorated names of the definition file), KERNEL32.dll
# and msvcrt.dll, which every Windows has. Anything else could be missing on a player's machine.
#
# cmake -DOBJDUMP=... -DBINARY=file.asi -DHOST_DEFINITIONS=windows/ScriptHookRDR2.def
#       -DHOST_FUNCTIONS=windows/host_functions.cmake -P check_binary.cmake
include(${HOST_FUNCTIONS})
read_host_functions(${HOST_DEFINITIONS} plainNames hostImports)

execute_process(COMMAND ${OBJDUMP} -p ${BINARY} OUTPUT_VARIABLE dump ERROR_VARIABLE dumpError
    RESULT_VARIABLE dumpResult)
if(NOT dumpResult EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -p ${BINARY} failed: ${dumpError}")
endif()

set(problems "")
if(NOT dump MATCHES "file format pei-x86-64" OR NOT dump MATCHES "Magic[ \t]+020b[ \t]+\\(PE32\\+\\)")
    list(APPEND problems "not a 64-bit PE file (PE32+, x86-64)")
endif()
if(NOT dump MATCHES "DllCharacteristics[^\n]*\n((\t\t[^\n]*\n)*)")
    list(APPEND problems "no DllCharacteristics")
endif()
set(characteristics "${CMAKE_MATCH_1}")
foreach(flag HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT)
    if(NOT characteristics MATCHES "${flag}")
        list(APPEND problems "DllCharacteristics lack ${flag}")
    endif()
endforeach()

# An export directory may be present as long as it lists nothing.
if(dump MATCHES "There is an export table")
    if(dump MATCHES "Number in:\n[ \t]*Export Address Table[ \t]+([0-9a-fA-F]+)\n[^\n]*Table[ \t]+([0-9a-fA-F]+)\n")
        set(exportAddresses "${CMAKE_MATCH_1}")
        set(exportNames "${CMAKE_MATCH_2}")
        if(NOT exportAddresses MATCHES "^0+$" OR NOT exportNames MATCHES "^0+$")
            list(APPEND problems "exports symbols (0x${exportAddresses} addresses, 0x${exportNames} names)")
        endif()
    else()
        list(APPEND problems "cannot read the export table")
    endif()
endif()

# The imports: "DLL Name: X" opens a DLL's block, each "\t<vma>\t<hint>  <name>" line is one import.
string(REGEX MATCH "The Import Tables.*" importPart "${dump}")
string(REGEX REPLACE "(There is an export table|The Function Table).*" "" importPart "${importPart}")
string(REPLACE ";" "," importPart "${importPart}")
string(REPLACE "[" "<" importPart "${importPart}")
string(REPLACE "]" ">" importPart "${importPart}")
string(REPLACE "\n" ";" importLines "${importPart}")
set(dlls "")
set(currentDll "")
set(hostImportsFound "")
foreach(line IN LISTS importLines)
    if(line MATCHES "DLL Name: (.+)$")
        set(currentDll "${CMAKE_MATCH_1}")
        string(TOLOWER "${currentDll}" dll)
        list(APPEND dlls "${dll}")
    elseif(line MATCHES "^\t[0-9a-fA-F]+\t +[0-9]+ +(.+)$" AND currentDll STREQUAL "ScriptHookRDR2.dll")
        list(APPEND hostImportsFound "${CMAKE_MATCH_1}")
    endif()
endforeach()
list(SORT dlls)
if(NOT dlls STREQUAL "kernel32.dll;msvcrt.dll;scripthookrdr2.dll")
    list(JOIN dlls ", " dllText)
    list(APPEND problems "imports from ${dllText} (only ScriptHookRDR2.dll, KERNEL32.dll and msvcrt.dll may be)")
endif()
list(SORT hostImports)
list(SORT hostImportsFound)
if(NOT hostImportsFound STREQUAL hostImports)
    list(JOIN hostImportsFound " " foundText)
    list(JOIN hostImports " " expectedText)
    list(APPEND problems "imports from ScriptHookRDR2.dll: ${foundText} (the definition file names ${expectedText})")
endif()

if(problems)
    list(JOIN problems "\n  " problemText)
    message(FATAL_ERROR "${BINARY}:\n  ${problemText}")
endif()
message(STATUS "${BINARY}: PE32+ x86-64, ASLR, DEP, high-entropy addresses, no exports, imports ok")
