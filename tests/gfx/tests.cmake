tarnis_test(test_gfx
  ${CMAKE_CURRENT_LIST_DIR}/test_gfx_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_gfx_scene.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_vquad.cpp)
# The scene tests read the window's surface to check what was presented.
target_link_libraries(test_gfx PRIVATE PkgConfig::SDL2)
