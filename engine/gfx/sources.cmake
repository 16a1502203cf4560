list(APPEND TARNIS_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_gfx_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_gfx_rating.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_gfx_scene.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_gfx_vquad.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_gfx_tex.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_gfx_tech.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_gfx_light.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_gfx_font.cpp
  # The software Direct3D 8 layer the graphics subsystem draws through.
  ${CMAKE_CURRENT_LIST_DIR}/../platform/tns_raster.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../platform/tns_d3d8_formats.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../platform/tns_d3d8_resources.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../platform/tns_d3d8_device.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../platform/tns_d3d8_adapter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../platform/tns_d3d8_present_sdl.cpp
)
