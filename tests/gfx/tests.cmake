tarnis_test(test_gfx
  ${CMAKE_CURRENT_LIST_DIR}/test_raster.cpp)
