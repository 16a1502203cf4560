add_executable(test_e2e ${CMAKE_CURRENT_LIST_DIR}/test_quoril_process.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_host_process.cpp)
target_link_libraries(test_e2e PRIVATE tarnis_testsupport tarnis_testmain GTest::gtest)
add_dependencies(test_e2e quoril tarnis)
target_compile_definitions(test_e2e PRIVATE QUORIL_PATH="$<TARGET_FILE:quoril>"
  TARNIS_PATH="$<TARGET_FILE:tarnis>" EXAMPLES_DIR="${CMAKE_SOURCE_DIR}/examples"
  GAME_DATA_DIR="${CMAKE_SOURCE_DIR}/DATA")
# The real game holds the per-user single-instance guard: one at a time.
gtest_discover_tests(test_e2e
  DISCOVERY_TIMEOUT 60
  PROPERTIES TIMEOUT 120 RESOURCE_LOCK tarnis_app)

# A whole game played in process through injected input. The player runs
# after every presented frame: the link wraps CTarnis::GFX_ScenePresent.
add_executable(test_quoril_play ${CMAKE_CURRENT_LIST_DIR}/test_quoril_play.cpp
  ${CMAKE_SOURCE_DIR}/game/engineroutine.cpp)
target_link_libraries(test_quoril_play PRIVATE tarnis_testsupport tarnis_testmain tarnis_pak_lib GTest::gtest PkgConfig::SDL2
  "$<LINK_LIBRARY:WHOLE_ARCHIVE,quoril_game>")
target_link_options(test_quoril_play PRIVATE "LINKER:--wrap=_ZN7CTarnis16GFX_ScenePresentEv")
target_compile_definitions(test_quoril_play PRIVATE GAME_DATA_DIR="${CMAKE_SOURCE_DIR}/DATA")
gtest_discover_tests(test_quoril_play
  DISCOVERY_TIMEOUT 60
  PROPERTIES TIMEOUT 300 RESOURCE_LOCK tarnis_app)

# Seeded random play against the real game; `make soak` runs it for 100,000 frames.
add_executable(test_quoril_random ${CMAKE_CURRENT_LIST_DIR}/test_quoril_random.cpp
  ${CMAKE_SOURCE_DIR}/game/engineroutine.cpp)
target_link_libraries(test_quoril_random PRIVATE tarnis_testsupport tarnis_testmain GTest::gtest PkgConfig::SDL2
  "$<LINK_LIBRARY:WHOLE_ARCHIVE,quoril_game>")
target_link_options(test_quoril_random PRIVATE "LINKER:--wrap=_ZN7CTarnis16GFX_ScenePresentEv")
target_compile_definitions(test_quoril_random PRIVATE GAME_DATA_DIR="${CMAKE_SOURCE_DIR}/DATA")
gtest_discover_tests(test_quoril_random
  DISCOVERY_TIMEOUT 60
  PROPERTIES TIMEOUT 300 RESOURCE_LOCK tarnis_app)
add_custom_target(soak
  COMMAND ${CMAKE_COMMAND} -E env QUORIL_FRAMES=100000 SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
    $<TARGET_FILE:test_quoril_random>
  DEPENDS test_quoril_random USES_TERMINAL)

# Faults striking the game in process, each game in a child of its own.
add_executable(test_quoril_faults ${CMAKE_CURRENT_LIST_DIR}/test_quoril_faults.cpp
  ${CMAKE_SOURCE_DIR}/game/engineroutine.cpp)
target_link_libraries(test_quoril_faults PRIVATE tarnis_testsupport tarnis_testmain GTest::gtest PkgConfig::SDL2
  "$<LINK_LIBRARY:WHOLE_ARCHIVE,quoril_game>")
target_link_options(test_quoril_faults PRIVATE "LINKER:--wrap=_ZN7CTarnis16GFX_ScenePresentEv"
  "LINKER:--wrap=_ZN7CTarnis16LOG_AddSeparatorEi" "LINKER:--wrap=_Z8SaveFilev")
target_compile_definitions(test_quoril_faults PRIVATE GAME_DATA_DIR="${CMAKE_SOURCE_DIR}/DATA")
gtest_discover_tests(test_quoril_faults
  DISCOVERY_TIMEOUT 60
  PROPERTIES TIMEOUT 300 RESOURCE_LOCK tarnis_app)
