tarnis_test(test_dinput8
  ${CMAKE_CURRENT_LIST_DIR}/test_dinput.cpp)
target_link_libraries(test_dinput8 PRIVATE PkgConfig::SDL2)
