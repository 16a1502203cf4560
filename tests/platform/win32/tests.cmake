tarnis_test(test_platform
  ${CMAKE_CURRENT_LIST_DIR}/test_window.cpp)
target_link_libraries(test_platform PRIVATE PkgConfig::SDL2)
