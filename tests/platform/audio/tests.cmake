tarnis_test(test_audio
  ${CMAKE_SOURCE_DIR}/tests/sfx/sfx_test_audio.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_sfx_mixer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_sfx_bass.cpp)
target_link_libraries(test_audio PRIVATE PkgConfig::SNDFILE)
