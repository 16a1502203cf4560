tarnis_test(test_gfx_tex
  ${CMAKE_SOURCE_DIR}/tests/platform/image/image_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tex_fixture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_gfx_textures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_gfx_techniques.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_gfx_fonts.cpp)
# The tests write their PNG and JPEG samples with the codec libraries.
target_link_libraries(test_gfx_tex PRIVATE PkgConfig::PNG JPEG::JPEG PkgConfig::SDL2)
