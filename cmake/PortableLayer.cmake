# The portable layer built for this machine, shared by the native and the fuzz
# builds: the sanitizers, minizip, every "bytes/" source as one library and the
# build-time tools made from it. QN_EXTRA_COMPILE_OPTIONS adds to the flags of all.

set(QN_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
add_compile_options(-Wall -Wextra ${QN_SANITIZE} ${QN_EXTRA_COMPILE_OPTIONS})
add_link_options(${QN_SANITIZE})

include_directories(${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)

include(cmake/Minizip.cmake)
add_library(qnbytes STATIC ${QN_BYTES_SOURCES})
target_link_libraries(qnbytes PUBLIC minizip)

foreach(tool_dir ${QN_TOOL_FOLDERS})
  if(IS_DIRECTORY ${tool_dir})
    get_filename_component(tool ${tool_dir} NAME)
    file(GLOB tool_sources CONFIGURE_DEPENDS ${tool_dir}/*.cpp)
    add_executable(${tool} ${tool_sources})
    target_link_libraries(${tool} PRIVATE qnbytes)
  endif()
endforeach()
