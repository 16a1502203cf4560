tarnis_test(test_d3d8
  ${CMAKE_CURRENT_LIST_DIR}/test_d3d8.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_d3dx.cpp
  ${CMAKE_SOURCE_DIR}/tests/gfx_tex/tex_fixture.cpp
  ${CMAKE_SOURCE_DIR}/tests/platform/image/image_files.cpp)
target_link_libraries(test_d3d8 PRIVATE PkgConfig::PNG JPEG::JPEG PkgConfig::SDL2)
