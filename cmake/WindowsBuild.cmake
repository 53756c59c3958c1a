# Windows build: the program, its libraries and the test programs run under Wine.

add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600
                        NOMINMAX _CRT_SECURE_NO_WARNINGS)
add_compile_options(-Wall -Wextra -Wno-cast-function-type)
# libgcc, libstdc++ and winpthread go into the executables, so qnpost.exe runs alone.
add_link_options(-static -static-libgcc -static-libstdc++)

set(QN_SYSTEM_LIBS gdi32 comctl32 comdlg32 ole32 oleaut32 uuid shell32 advapi32
                   ws2_32 winmm version msimg32)

include(cmake/Minizip.cmake)

add_library(qncore STATIC ${QN_BYTES_SOURCES} ${QN_WIN_SOURCES})
target_include_directories(qncore PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(qncore PUBLIC minizip ${QN_SYSTEM_LIBS})
# Parsing <windows.h> and the controls' headers costs most sources more than
# their own code does: it is done once, into a precompiled header. <winsock2.h>
# comes first, as it must before <windows.h>. The portable layer never sees
# <windows.h>, so its sources parse their own headers.
set(QN_WINDOWS_HEADERS <winsock2.h> <windows.h> <commctrl.h> <richedit.h>
                       <string> <vector> <cstdio> <cstring> <algorithm> <memory>)
target_precompile_headers(qncore PRIVATE ${QN_WINDOWS_HEADERS})
set_source_files_properties(${QN_BYTES_SOURCES} PROPERTIES SKIP_PRECOMPILE_HEADERS ON SKIP_UNITY_BUILD_INCLUSION ON)
# Loading that header still costs a source about a second, as much as most
# sources' own code: the sources are compiled sixteen to a unit, so that it is
# loaded once a unit. A helper private to a source therefore needs a name of
# its own among the program's sources.
set_target_properties(qncore PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 16)

# The resource script is compiled once; every program links the result.
set(QN_RESOURCES ${CMAKE_SOURCE_DIR}/resources/qnpost.rc)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR} -I${CMAKE_BINARY_DIR}/generated")
add_library(qnresources OBJECT ${QN_RESOURCES})
include(cmake/DataTemplates.cmake)

add_executable(qnpost WIN32 ${QN_ENTRY_SOURCE} $<TARGET_OBJECTS:qnresources>)
target_link_libraries(qnpost PRIVATE qncore)

# The test programs, the desktop holder and the benchmarks are built where
# they can run: the 32-bit ones only where 32-bit Wine starts (scripts/build.sh).
option(QN_WINDOWS_TESTS "Build the test programs and the benchmarks" ON)
if(QN_WINDOWS_TESTS)
  include(cmake/WindowsTests.cmake)
endif()
