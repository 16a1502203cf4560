list(APPEND TARNIS_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_gfx_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_gfx_rating.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_gfx_scene.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_gfx_vquad.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_gfx_tex.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_gfx_tech.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_gfx_light.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_gfx_font.cpp
)
