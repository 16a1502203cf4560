tarnis_test(test_raster ${CMAKE_CURRENT_LIST_DIR}/test_raster.cpp LINK tarnis_raster)
