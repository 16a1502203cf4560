# The game's rules, screens' flow and high-score file, on small data made by
# the tests; the sound of a move is caught by the capture device.
tarnis_test(test_game
  ${CMAKE_CURRENT_LIST_DIR}/test_rules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_highscore.cpp
  LINK quoril_game tarnis_testaudio)
