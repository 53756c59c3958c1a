# Native build: the portable layer under the sanitizers, its tests and the
# build-time tools made from it.

include(cmake/PortableLayer.cmake)
file(GLOB QN_NATIVE_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/bytes/*.cpp)

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${QN_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The test support is compiled once for all the test programs, with the
# precompiled GoogleTest and standard headers that each of them reuses.
add_library(qnbytestestsupport STATIC ${QN_NATIVE_TEST_SUPPORT})
target_link_libraries(qnbytestestsupport PUBLIC qnbytes gtest)
target_precompile_headers(qnbytestestsupport PRIVATE <gtest/gtest.h> <string> <vector> <cstring> <cstdint>)

enable_testing()
foreach(folder ${QN_SOURCE_FOLDERS})
  qn_test_sources(${folder} all bytes)
  if(bytes)
    add_executable(${folder}_bytes_tests ${bytes})
    target_precompile_headers(${folder}_bytes_tests REUSE_FROM qnbytestestsupport)
    target_link_libraries(${folder}_bytes_tests PRIVATE qnbytestestsupport gtest_main)
    target_include_directories(${folder}_bytes_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    add_test(NAME native_${folder} COMMAND ${folder}_bytes_tests)
  endif()
endforeach()
