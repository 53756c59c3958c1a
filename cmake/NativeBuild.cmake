# Native build: the portable layer under the sanitizers, its tests and the
# build-time tools made from it.

set(QN_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
add_compile_options(-Wall -Wextra ${QN_SANITIZE})
add_link_options(${QN_SANITIZE})

include_directories(${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
file(GLOB QN_NATIVE_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/bytes/*.cpp)

include(cmake/Minizip.cmake)
add_library(qnbytes STATIC ${QN_BYTES_SOURCES})
target_link_libraries(qnbytes PUBLIC minizip)

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${QN_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

enable_testing()
foreach(folder ${QN_SOURCE_FOLDERS})
  qn_test_sources(${folder} all bytes)
  if(bytes)
    add_executable(${folder}_bytes_tests ${bytes} ${QN_NATIVE_TEST_SUPPORT})
    target_link_libraries(${folder}_bytes_tests PRIVATE qnbytes gtest gtest_main)
    target_include_directories(${folder}_bytes_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    add_test(NAME native_${folder} COMMAND ${folder}_bytes_tests)
  endif()
endforeach()

foreach(tool_dir ${QN_TOOL_FOLDERS})
  if(IS_DIRECTORY ${tool_dir})
    get_filename_component(tool ${tool_dir} NAME)
    file(GLOB tool_sources CONFIGURE_DEPENDS ${tool_dir}/*.cpp)
    add_executable(${tool} ${tool_sources})
    target_link_libraries(${tool} PRIVATE qnbytes)
  endif()
endforeach()
