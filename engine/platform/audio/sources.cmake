list(APPEND TARNIS_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/tns_audio_mixer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_audio_decode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_audio_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_bass.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sdl/tns_audio_sdl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/null/tns_audio_null.cpp
)
