list(APPEND TARNIS_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_sfx_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_sfx_sound.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_sfx_music.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_sfx_classes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ctarnis_sfx_playlists.cpp
)
