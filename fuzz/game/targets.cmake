# Fuzz targets of what the GUI and the game read (clang's libFuzzer): GUI data,
# enumerations, styles and value texts, the level pack, the high-score file.
# Built when TARNIS_FUZZ is on; `make fuzz` runs each for a while.
set(TARNIS_GAME_FUZZ_TARGETS fuzz_gui_data fuzz_gui_values fuzz_level_pack fuzz_highscore)
foreach(target ${TARNIS_GAME_FUZZ_TARGETS})
  add_executable(${target} ${CMAKE_CURRENT_LIST_DIR}/${target}.cpp)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE quoril_game)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  set_property(GLOBAL APPEND PROPERTY TARNIS_FUZZ_TARGETS ${target})
endforeach()
