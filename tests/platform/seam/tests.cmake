# The cores know no SDL: this program links the rasterizer, the image decoders
# and the audio core and nothing else (a link failure is the failure), and must
# not end up loading SDL through them either.
add_executable(test_seam ${CMAKE_CURRENT_LIST_DIR}/seam_main.cpp)
target_link_libraries(test_seam PRIVATE tarnis_raster tarnis_image tarnis_audio_core)
add_test(NAME PlatformSeam.CoresRunWithoutSdl COMMAND test_seam)
add_test(NAME PlatformSeam.CoresLoadNoSdl
  COMMAND sh -c "ldd \"$1\" | grep -q libSDL && exit 1 || exit 0" seam $<TARGET_FILE:test_seam>)
