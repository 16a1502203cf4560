# The samples are written with the codec libraries themselves.
tarnis_test(test_image
  ${CMAKE_CURRENT_LIST_DIR}/image_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_image_decode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_image_resample.cpp
  LINK tarnis_image PkgConfig::PNG JPEG::JPEG)
