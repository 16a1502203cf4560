tarnis_test(test_scr
  ${CMAKE_CURRENT_LIST_DIR}/test_lua_host.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_script_api.cpp)
target_link_libraries(test_scr PRIVATE PkgConfig::LUA51)
