# Checks a built DLL with objdump -p: it imports only DLLs that ship with
# Windows (its C and C++ runtimes are linked in) and exports exactly the
# three Native API entry points under their plain names.
# Usage: cmake -DOBJDUMP=... -DDLL=... -P check_dll.cmake
cmake_minimum_required(VERSION 3.25)
set(windows_dlls ADVAPI32.dll KERNEL32.dll USER32.dll GDI32.dll SHELL32.dll VERSION.dll ole32.dll
    OLEAUT32.dll COMDLG32.dll COMCTL32.dll WINSPOOL.DRV msvcrt.dll)
string(TOLOWER "${windows_dlls}" windows_dlls)

execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump -p ${DLL} failed")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
if(NOT imports)
  message(FATAL_ERROR "no imports found in ${DLL}")
endif()
foreach(entry IN LISTS imports)
  string(REPLACE "DLL Name: " "" name "${entry}")
  string(STRIP "${name}" name)
  string(TOLOWER "${name}" lower)
  if(NOT lower IN_LIST windows_dlls)
    message(FATAL_ERROR "${DLL} imports ${name}, which does not ship with Windows")
  endif()
  message(STATUS "import: ${name}")
endforeach()

# The name-pointer table: "[   0] Name" lines after "[Ordinal/Name Pointer] Table".
string(FIND "${dump}" "[Ordinal/Name Pointer] Table" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${DLL} has no export name table")
endif()
string(SUBSTRING "${dump}" ${at} -1 table)
string(REGEX MATCHALL "\n[ \t]+\\[ *[0-9]+\\] [^\n]+" rows "${table}")
set(exports "")
foreach(row IN LISTS rows)
  string(REGEX REPLACE "^\n[ \t]+\\[ *[0-9]+\\] " "" name "${row}")
  string(STRIP "${name}" name)
  list(APPEND exports "${name}")
endforeach()
list(SORT exports)
if(NOT exports STREQUAL "DestroyObject;GetClassNames;GetClassObject")
  message(FATAL_ERROR "${DLL} exports [${exports}], expected exactly DestroyObject, GetClassNames, GetClassObject")
endif()
message(STATUS "exports: ${exports}")
