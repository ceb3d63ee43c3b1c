# Checks a built Windows DLL without running it, so that the 32-bit build is checked too:
#   cmake -DOBJDUMP=... -DLIBRARY=x.dll -DEXPORTS="Name=1;Other=2" -DIMPORTS="KERNEL32.dll;..."
#         -P CheckDllExports.cmake
# It exports exactly EXPORTS, each name at its ordinal, and imports only from DLLs in IMPORTS
# (those that come with Windows), so nothing else must lie beside it.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} cannot read ${LIBRARY}")
endif()

string(TOLOWER "${IMPORTS}" allowed)
string(REGEX MATCHALL "DLL Name: [^\n]+" import_lines "${dump}")
foreach(line IN LISTS import_lines)
    string(REGEX REPLACE "DLL Name: *" "" name "${line}")
    string(TOLOWER "${name}" lower_name)
    if(NOT lower_name IN_LIST allowed)
        message(SEND_ERROR "${LIBRARY} needs ${name}, which does not come with Windows")
    endif()
endforeach()

# The name table lists each export with its ordinal less the ordinal base.
string(REGEX MATCH "Ordinal Base[ \t]+([0-9]+)" ignored "${dump}")
set(base "${CMAKE_MATCH_1}")
string(FIND "${dump}" "[Ordinal/Name Pointer] Table" table_start)
if(base STREQUAL "" OR table_start LESS 0)
    message(FATAL_ERROR "${LIBRARY} has no export table")
endif()
string(SUBSTRING "${dump}" ${table_start} -1 table)
string(REGEX MATCH "^[^\n]*\n(\t\\[ *[0-9]+\\] [^\n]+\n)*" table "${table}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" entries "${table}")
set(found)
foreach(entry IN LISTS entries)
    string(REGEX MATCH "\\[ *([0-9]+)\\] (.+)" ignored "${entry}")
    math(EXPR ordinal "${CMAKE_MATCH_1} + ${base}")
    list(APPEND found "${CMAKE_MATCH_2}=${ordinal}")
endforeach()
list(SORT found)
set(expected ${EXPORTS})
list(SORT expected)
if(NOT found STREQUAL expected)
    message(FATAL_ERROR "${LIBRARY} exports '${found}', expected '${expected}'")
endif()
message(STATUS "${LIBRARY}: exports ${found}; imports only from Windows")
