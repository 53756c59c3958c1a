# Finds the sources of every subsystem folder and of its tests.
# Files under a "bytes/" folder are the portable layer: they never include
# windows.h, so they build for Windows and natively alike.

function(qn_split_bytes files out_bytes out_rest)
  set(bytes)
  set(rest)
  foreach(f ${files})
    if(f MATCHES "/bytes/")
      list(APPEND bytes ${f})
    else()
      list(APPEND rest ${f})
    endif()
  endforeach()
  set(${out_bytes} ${bytes} PARENT_SCOPE)
  set(${out_rest} ${rest} PARENT_SCOPE)
endfunction()

# QN_BYTES_SOURCES, QN_WIN_SOURCES: the program's sources, without the entry point.
set(QN_ALL_SOURCES)
foreach(folder ${QN_SOURCE_FOLDERS})
  file(GLOB_RECURSE found CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/${folder}/*.c)
  list(APPEND QN_ALL_SOURCES ${found})
endforeach()
set(QN_ENTRY_SOURCE ${CMAKE_SOURCE_DIR}/shell/WinMain.cpp)
list(REMOVE_ITEM QN_ALL_SOURCES ${QN_ENTRY_SOURCE})
qn_split_bytes("${QN_ALL_SOURCES}" QN_BYTES_SOURCES QN_WIN_SOURCES)

# Test sources of one folder: every .cpp below tests/<folder>.
function(qn_test_sources folder out_all out_bytes)
  file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${folder}/*.cpp)
  qn_split_bytes("${found}" bytes rest)
  set(${out_all} ${found} PARENT_SCOPE)
  set(${out_bytes} ${bytes} PARENT_SCOPE)
endfunction()

# Native build-time tools: each folder tools/<name>/ makes one program <name>.
file(GLOB QN_TOOL_FOLDERS CONFIGURE_DEPENDS LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tools/*)
