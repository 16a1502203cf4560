# The platform layers as libraries, one folder per layer:
#   portable cores, which know no SDL (a build fact: they do not link it):
#     tarnis_raster      raster/      the software rasterizer, standard library only
#     tarnis_image       image/       image decoders and resampling (libpng, libjpeg)
#     tarnis_audio_core  audio/       mixer, decoders, streams, null and capture outputs
#                                     (libsndfile, libopenmpt)
#   stand-in APIs and their SDL backends (the sdl/ subfolders):
#     tarnis_platform    win32/ d3d8/ dinput8/ audio/ (the BASS front), the only
#                        library that links SDL2
set(TARNIS_PLATFORM_SOURCES)
foreach(layer raster image audio win32 d3d8 dinput8)
  include(${CMAKE_CURRENT_LIST_DIR}/${layer}/sources.cmake)
endforeach()

add_library(tarnis_platform STATIC ${TARNIS_PLATFORM_SOURCES})
target_include_directories(tarnis_platform PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tarnis_platform
  PUBLIC tarnis_raster tarnis_image tarnis_audio_core Threads::Threads
  PRIVATE PkgConfig::SDL2)
