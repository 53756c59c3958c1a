# Warnings are errors in the program's own code: every library and program made
# in this folder, the build-time tools and the tests included. GoogleTest lives
# in its own subfolder and keeps its own flags; minizip is compiled from Debian's
# source as it comes.

set(QN_THIRD_PARTY_TARGETS minizip)

get_property(qn_targets DIRECTORY ${CMAKE_SOURCE_DIR} PROPERTY BUILDSYSTEM_TARGETS)
foreach(target ${qn_targets})
  get_target_property(type ${target} TYPE)
  if(type MATCHES "LIBRARY|EXECUTABLE" AND NOT target IN_LIST QN_THIRD_PARTY_TARGETS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endforeach()
