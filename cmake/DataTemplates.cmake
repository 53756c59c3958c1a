# The data files of a new installation, written by the native tool
# "maketemplates" (tools/maketemplates) with the program's keys: the UPGRADE set
# and the QlData template folder beside qnpost.exe, and in generated/ the empty
# notes table and memo file that the resources embed (resources/templates).

if(NOT QN_NATIVE_BUILD_DIR)
  message(FATAL_ERROR "The data templates are written by the native build: set QN_NATIVE_BUILD_DIR")
endif()

set(QN_TEMPLATE_FOLDERS ${CMAKE_BINARY_DIR}/UPGRADE ${CMAKE_BINARY_DIR}/QlData ${CMAKE_BINARY_DIR}/generated)
set(QN_TEMPLATE_OUTPUTS)
foreach(folder ${QN_TEMPLATE_FOLDERS})
  foreach(name config.QPD config.QPS users.QPD notes.QPD notes.QPS sentto.QPD transact.QPD sounds.QPD webSearch.QPD)
    list(APPEND QN_TEMPLATE_OUTPUTS ${folder}/${name})
  endforeach()
endforeach()

add_custom_command(OUTPUT ${QN_TEMPLATE_OUTPUTS}
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${QN_TEMPLATE_FOLDERS}
                   COMMAND ${QN_NATIVE_BUILD_DIR}/maketemplates ${QN_TEMPLATE_FOLDERS}
                   DEPENDS ${QN_NATIVE_BUILD_DIR}/maketemplates
                   COMMENT "Writing the data files of a new installation")
add_custom_target(qntemplates DEPENDS ${QN_TEMPLATE_OUTPUTS})
add_dependencies(qnresources qntemplates)
set_source_files_properties(${QN_RESOURCES} PROPERTIES
                            OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/generated/notes.QPD;${CMAKE_BINARY_DIR}/generated/notes.QPS")
