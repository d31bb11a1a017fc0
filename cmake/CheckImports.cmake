cmake_minimum_required(VERSION 3.25)
# Fails the build when Zeltra.dll imports anything but Windows system DLLs,
# or does not export exactly the six undecorated entry points.
# Usage: cmake -DDLL=<path> -P CheckImports.cmake
execute_process(COMMAND i686-w64-mingw32-objdump -p ${DLL}
  OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "objdump failed on ${DLL}")
endif()

set(allowed KERNEL32.dll USER32.dll GDI32.dll COMCTL32.dll ODBC32.dll SHELL32.dll
    ADVAPI32.dll msvcrt.dll UxTheme.dll OLE32.dll OLEACC.dll OLEAUT32.dll)
string(TOUPPER "${allowed}" allowed)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
foreach(line IN LISTS imports)
  string(REPLACE "DLL Name: " "" name "${line}")
  string(STRIP "${name}" name)
  string(TOUPPER "${name}" upper)
  if(NOT upper IN_LIST allowed)
    message(FATAL_ERROR "${DLL} imports ${name}, which is not a Windows system DLL")
  endif()
endforeach()

# The export names stand one a line after this heading, up to a blank line.
string(FIND "${dump}" "[Ordinal/Name Pointer] Table" start)
string(SUBSTRING "${dump}" ${start} -1 table)
string(FIND "${table}" "\n\n" end)
string(SUBSTRING "${table}" 0 ${end} table)
string(REGEX MATCHALL "\n\t\\[ *[0-9]+\\] [^\n]+" rows "${table}")
set(exported)
foreach(row IN LISTS rows)
  string(REGEX REPLACE ".*\\] " "" name "${row}")
  list(APPEND exported "${name}")
endforeach()
list(SORT exported)
set(expected _AddQSO _GetInfo _GetScore _GrabNumber _Release _Run)
if(NOT exported STREQUAL expected)
  message(FATAL_ERROR "${DLL} exports [${exported}], expected [${expected}]")
endif()
