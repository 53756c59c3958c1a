# minizip, compiled from Debian's zlib source fetched at set-up, over the
# platform's zlib (libz-mingw-w64-dev for Windows, zlib1g-dev natively).

set(QN_MINIZIP_DIR ${QN_DEPS_DIR}/zlib/contrib/minizip)
if(NOT EXISTS ${QN_MINIZIP_DIR}/zip.c)
  message(FATAL_ERROR "minizip sources missing in ${QN_MINIZIP_DIR}: run scripts/setup.sh")
endif()
add_library(minizip STATIC ${QN_MINIZIP_DIR}/zip.c ${QN_MINIZIP_DIR}/unzip.c
                           ${QN_MINIZIP_DIR}/ioapi.c)
target_include_directories(minizip SYSTEM PUBLIC ${QN_DEPS_DIR}/zlib/contrib)
target_compile_definitions(minizip PRIVATE NOCRYPT NOUNCRYPT)
target_compile_options(minizip PRIVATE -w)
target_link_libraries(minizip PUBLIC z)
