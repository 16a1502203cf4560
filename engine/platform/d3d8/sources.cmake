list(APPEND TARNIS_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/tns_d3d8_formats.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_d3d8_resources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_d3d8_device.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_d3d8_adapter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_d3dx8.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sdl/tns_d3d8_present_sdl.cpp
)
