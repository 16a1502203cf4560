# The platform layers, one folder each; every folder lists its own sources.
foreach(layer win32 d3d8 raster image dinput8 audio)
  include(${CMAKE_CURRENT_LIST_DIR}/${layer}/sources.cmake)
endforeach()
