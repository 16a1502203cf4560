tarnis_test(test_sfx
  ${CMAKE_CURRENT_LIST_DIR}/sfx_test_audio.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_sfx_sound.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_sfx_music.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_sfx_playlists.cpp)
target_link_libraries(test_sfx PRIVATE PkgConfig::SNDFILE)
