# Windows build, where it can run: the test programs, the desktop holder of
# the test script and the benchmarks.

# Tests: one program per subsystem folder, run through Wine with a private prefix
# whose desktop the test script keeps (scripts/run-test-program.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/run-test-program.sh ${CMAKE_BINARY_DIR}/wineprefix)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${QN_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB QN_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp
                                           ${CMAKE_SOURCE_DIR}/tests/support/bytes/*.cpp)
add_library(qntestsupport STATIC ${QN_TEST_SUPPORT})
target_link_libraries(qntestsupport PUBLIC qncore gtest dbghelp)
target_include_directories(qntestsupport PUBLIC ${CMAKE_SOURCE_DIR}/tests)
# The test code is compiled for a quick build rather than a quick run: what it
# tests, qncore, keeps the program's optimisation. Its precompiled header adds
# GoogleTest to the program's, and every test program reuses it; the tests of
# the portable layer, like that layer, never see <windows.h>.
set(QN_TEST_COMPILE_OPTIONS -O1)
target_compile_options(qntestsupport PRIVATE ${QN_TEST_COMPILE_OPTIONS})
target_precompile_headers(qntestsupport PRIVATE ${QN_WINDOWS_HEADERS} <gtest/gtest.h>)
qn_split_bytes("${QN_TEST_SUPPORT}" support_bytes support_rest)
set_source_files_properties(${support_bytes} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
# The tests that set the two kinds of program against each other start the
# other kind's qnpost.exe from its own build folder. Only the file that names
# it is told, so that the precompiled header stays the same for all.
set(QN_OTHER_KIND_DIR "" CACHE PATH "Build folder of the other kind of Windows program")
set_source_files_properties(${CMAKE_SOURCE_DIR}/tests/support/OtherKind.cpp PROPERTIES
                            COMPILE_DEFINITIONS QN_OTHER_KIND_BUILD="${QN_OTHER_KIND_DIR}"
                            SKIP_PRECOMPILE_HEADERS ON)

# The test script keeps each test prefix's desktop with this program for the
# whole run (tests/harness/DesktopHolder.cpp).
add_executable(desktopholder tests/harness/DesktopHolder.cpp tests/support/DesktopCheck.cpp)
target_include_directories(desktopholder PRIVATE ${CMAKE_SOURCE_DIR}/tests)
# The scripts start every Windows program of the tests through this one, which
# takes the address space below 4 GB before the program runs
# (tests/harness/LowSpaceStart.cpp).
add_executable(lowspacestart tests/harness/LowSpaceStart.cpp tests/support/LowSpaceTaken.cpp)
target_include_directories(lowspacestart PRIVATE ${CMAKE_SOURCE_DIR}/tests)

enable_testing()
# The layers: no file includes a folder above its own (docs/architecture.md).
find_program(QN_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
add_test(NAME layers COMMAND ${QN_PYTHON3} ${CMAKE_SOURCE_DIR}/scripts/check-layers.py ${CMAKE_SOURCE_DIR})
add_test(NAME layers_script COMMAND ${QN_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/scripts/check-layers-test.py)
# The private names: no name private to a source is defined by two sources of
# one program, whichever sixteen share a unit (docs/architecture.md).
add_test(NAME private_names COMMAND ${QN_PYTHON3} ${CMAKE_SOURCE_DIR}/scripts/check-private-names.py
                                    ${CMAKE_SOURCE_DIR})
add_test(NAME private_names_script COMMAND ${QN_PYTHON3}
                                           ${CMAKE_SOURCE_DIR}/tests/scripts/check-private-names-test.py)
# The set-up's package install against stand-ins for apt-get and dpkg.
add_test(NAME setup_script COMMAND ${QN_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/scripts/setup-test.py)
# The runner of the test programs on a screen of the test script: a failure
# with a working desktop stands, a program without one runs once more.
add_test(NAME test_runner COMMAND ${QN_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/scripts/run-test-program-test.py
                                  ${CMAKE_BINARY_DIR}/wineprefix)
set_tests_properties(test_runner PROPERTIES TIMEOUT 900 RESOURCE_GROUPS screens:1)
set(QN_NATIVE_BUILD_DIR "" CACHE PATH "Native build whose sanitizer tests join this run")
foreach(folder ${QN_SOURCE_FOLDERS})
  qn_test_sources(${folder} all bytes)
  if(all)
    add_executable(${folder}_tests ${all} $<TARGET_OBJECTS:qnresources>)
    target_compile_options(${folder}_tests PRIVATE ${QN_TEST_COMPILE_OPTIONS})
    target_precompile_headers(${folder}_tests REUSE_FROM qntestsupport)
    set_source_files_properties(${bytes} PROPERTIES SKIP_PRECOMPILE_HEADERS ON SKIP_UNITY_BUILD_INCLUSION ON)
    # The test main lives in the support library; keep it linked in.
    target_link_libraries(${folder}_tests PRIVATE -Wl,--whole-archive qntestsupport -Wl,--no-whole-archive qncore gtest)
    # Compiled sixteen sources to a unit, as the program is: a fixture in a
    # source's unnamed namespace is then in a file the compiler takes for a
    # header, which it would warn of.
    set_target_properties(${folder}_tests PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 16)
    target_compile_options(${folder}_tests PRIVATE -Wno-subobject-linkage)
    add_test(NAME ${folder} COMMAND ${folder}_tests)
    # A Windows test program takes a screen (scripts/test-screens.json) with a
    # prefix of its own (its registry and clipboard) for the whole of its run,
    # so that none takes another's focus or data. The native tests run beside them.
    # The time limit only catches a program that hangs: the longest take about
    # 450 s alone and three times that on a machine loaded twice over.
    set_tests_properties(${folder} PROPERTIES TIMEOUT 2700 RESOURCE_GROUPS screens:1)
  endif()
  if(bytes AND QN_NATIVE_BUILD_DIR)
    add_test(NAME native_${folder} COMMAND ${QN_NATIVE_BUILD_DIR}/${folder}_bytes_tests)
  endif()
endforeach()

# Each fuzz program runs for a few seconds on its seeds: those of fuzz/corpus
# (where inputs that once broke a target are kept), those the fuzz build wrote
# and what earlier runs found, so that a crash found once stays found.
set(QN_FUZZ_BUILD_DIR "" CACHE PATH "Fuzz build whose programs join this run")
if(QN_FUZZ_BUILD_DIR)
  file(GLOB QN_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*.cpp)
  foreach(source ${QN_FUZZ_SOURCES})
    get_filename_component(name ${source} NAME_WE)
    add_test(NAME fuzz_${name}
             COMMAND ${QN_FUZZ_BUILD_DIR}/fuzz_${name} -max_total_time=3 -timeout=10
                     -artifact_prefix=${QN_FUZZ_BUILD_DIR}/crashes/${name}-
                     ${QN_FUZZ_BUILD_DIR}/corpus/${name} ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name}
                     ${QN_FUZZ_BUILD_DIR}/seeds/${name})
  endforeach()
endif()

# Benchmarks: each bench/<name>.cpp is a program that prints its figures
# (run them with scripts/bench.sh; they are not tests). The test run does not
# build them: the target "benchmarks" does.
file(GLOB QN_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
add_custom_target(benchmarks)
foreach(source ${QN_BENCH_SOURCES})
  get_filename_component(bench ${source} NAME_WE)
  add_executable(${bench} EXCLUDE_FROM_ALL ${source} ${CMAKE_SOURCE_DIR}/tests/support/LowSpaceTaken.cpp
                 $<TARGET_OBJECTS:qnresources>)
  target_link_libraries(${bench} PRIVATE qncore)
  target_include_directories(${bench} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_dependencies(benchmarks ${bench})
endforeach()
