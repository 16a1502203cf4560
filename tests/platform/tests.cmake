# The platform layers' tests mirror engine/platform: one folder and program per layer.
foreach(layer win32 d3d8 raster image dinput8 audio seam)
  include(${CMAKE_CURRENT_LIST_DIR}/${layer}/tests.cmake)
endforeach()
