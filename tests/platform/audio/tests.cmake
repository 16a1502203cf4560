tarnis_test(test_audio_core ${CMAKE_CURRENT_LIST_DIR}/test_sfx_mixer.cpp LINK tarnis_audio_core tarnis_testaudio)
tarnis_test(test_audio ${CMAKE_CURRENT_LIST_DIR}/test_sfx_bass.cpp LINK tarnis_platform tarnis_testaudio)
