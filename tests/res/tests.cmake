tarnis_test(test_res
  ${CMAKE_CURRENT_LIST_DIR}/test_csmartid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_xmlparser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_resmanager.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_xmlvar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_level.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_pak_tool.cpp
  ${CMAKE_CURRENT_LIST_DIR}/res_test_util.cpp)
# The level loader is game code; the packer's commands are tested in process
# and through the built program.
target_link_libraries(test_res PRIVATE quoril_level tarnis_pak_lib)
add_dependencies(test_res tarnis-pak)
target_compile_definitions(test_res PRIVATE TARNIS_PAK_PATH="$<TARGET_FILE:tarnis-pak>")
