# Direct3D 8 and D3DX on the rasterizer and the image decoders; the presenters
# show the front buffer in the window (sdl/) or nowhere (null/).
list(APPEND TARNIS_PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/tns_d3d8_formats.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_d3d8_resources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_d3d8_device.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_d3d8_adapter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_d3dx8.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_d3d8_scaler.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sdl/tns_d3d8_present_sdl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/null/tns_d3d8_present_null.cpp
)
