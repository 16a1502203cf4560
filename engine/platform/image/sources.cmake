list(APPEND TARNIS_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/tns_image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_image_resample.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_image_png.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_image_jpeg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_image_bmp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_image_tga.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_image_dds.cpp
)
