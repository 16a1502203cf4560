tarnis_test(test_inp
  ${CMAKE_CURRENT_LIST_DIR}/test_keyboard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_mouse.cpp)
target_link_libraries(test_inp PRIVATE PkgConfig::SDL2)
