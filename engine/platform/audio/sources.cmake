# The audio core (mixer, decoders, streams, the null and capture outputs):
# libsndfile and libopenmpt, no SDL.
add_library(tarnis_audio_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/tns_audio_mixer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_audio_decode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_audio_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/null/tns_audio_null.cpp
)
target_include_directories(tarnis_audio_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tarnis_audio_core PUBLIC Threads::Threads PRIVATE PkgConfig::SNDFILE PkgConfig::OPENMPT)

# The BASS front over the core, and the SDL output device.
list(APPEND TARNIS_PLATFORM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/tns_bass.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sdl/tns_audio_sdl.cpp
)
