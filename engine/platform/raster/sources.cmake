# The software rasterizer: standard library only.
add_library(tarnis_raster STATIC
  ${CMAKE_CURRENT_LIST_DIR}/tns_raster.cpp
)
target_include_directories(tarnis_raster PUBLIC ${CMAKE_SOURCE_DIR})
