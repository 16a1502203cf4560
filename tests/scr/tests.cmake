tarnis_test(test_scr
  ${CMAKE_CURRENT_LIST_DIR}/test_lua_host.cpp)
target_link_libraries(test_scr PRIVATE PkgConfig::LUA51)
