# The software rasterizer, one file per stage: polygon set-up and the fill rule
# (tns_raster.cpp), texture sampling, stage combine and blend (the general
# kernel), and the SIMD span kernels. Standard library only.
add_library(tarnis_raster STATIC
  ${CMAKE_CURRENT_LIST_DIR}/tns_raster.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_raster_sample.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_raster_combine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_raster_simd.cpp
)
target_include_directories(tarnis_raster PUBLIC ${CMAKE_SOURCE_DIR})
