# Image decoders behind the D3DX texture loader: libpng and libjpeg, no SDL.
add_library(tarnis_image STATIC
  ${CMAKE_CURRENT_LIST_DIR}/tns_image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_image_resample.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_image_png.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_image_jpeg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_image_bmp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_image_tga.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_image_dds.cpp
)
target_include_directories(tarnis_image PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tarnis_image PRIVATE PkgConfig::PNG JPEG::JPEG)
