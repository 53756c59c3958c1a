# Fuzz build (clang and libFuzzer): the portable layer under the native build's
# sanitizers with the fuzzer's coverage added, and one fuzz program per
# fuzz/<Name>.cpp, named fuzz_<Name>. Each program gets a folder of seeds made
# here, seeds/<Name>, beside its committed ones in fuzz/corpus/<Name>, and a
# folder corpus/<Name> for what it finds; inputs that break it go to crashes/.

set(QN_EXTRA_COMPILE_OPTIONS -fsanitize=fuzzer-no-link)
include(cmake/PortableLayer.cmake)

file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/crashes)
file(GLOB QN_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*.cpp)
foreach(source ${QN_FUZZ_SOURCES})
  get_filename_component(name ${source} NAME_WE)
  add_executable(fuzz_${name} ${source})
  target_link_libraries(fuzz_${name} PRIVATE qnbytes)
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/seeds/${name} ${CMAKE_BINARY_DIR}/corpus/${name})
endforeach()

# The data files of a new installation are the first tables, memo files and XML files.
set(QN_TEMPLATE_SEEDS ${CMAKE_BINARY_DIR}/seeds/TableFile ${CMAKE_BINARY_DIR}/seeds/MemoFile
                      ${CMAKE_BINARY_DIR}/seeds/XmlFile)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/seeds/TableFile/notes.QPD
                   COMMAND maketemplates ${QN_TEMPLATE_SEEDS}
                   DEPENDS maketemplates
                   COMMENT "Writing the data templates as fuzz seeds")
add_custom_target(qnfuzzseeds ALL DEPENDS ${CMAKE_BINARY_DIR}/seeds/TableFile/notes.QPD)
