tarnis_test(test_sfx
  ${CMAKE_CURRENT_LIST_DIR}/test_sfx_sound.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_sfx_music.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_sfx_playlists.cpp
  LINK tarnis_engine tarnis_testaudio)
