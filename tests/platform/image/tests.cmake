tarnis_test(test_image
  ${CMAKE_CURRENT_LIST_DIR}/image_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_image_decode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_image_resample.cpp)
# The tests write their PNG and JPEG samples with the codec libraries.
target_link_libraries(test_image PRIVATE PkgConfig::PNG JPEG::JPEG)
