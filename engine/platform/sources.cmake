list(APPEND TARNIS_ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/tns_win32_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_win32_kernel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_seh.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_win32_cursor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_dinput8.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_dinput8_keys.cpp
  # Image decoders behind the D3DX texture loader.
  ${CMAKE_CURRENT_LIST_DIR}/tns_image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_image_resample.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_image_png.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_image_jpeg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_image_bmp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_image_tga.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_image_dds.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_d3dx8.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_audio_mixer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_audio_decode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_audio_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_audio_sdl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_audio_null.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tns_bass.cpp
)
