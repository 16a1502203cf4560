tarnis_test(test_solver ${CMAKE_CURRENT_LIST_DIR}/test_solver.cpp ${CMAKE_CURRENT_LIST_DIR}/test_solver_tools.cpp)
target_link_libraries(test_solver PRIVATE quoril_solver quoril_game)
add_dependencies(test_solver quoril-solve quoril-levelgen)
target_compile_definitions(test_solver PRIVATE TARNIS_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  QUORIL_SOLVE_PATH="$<TARGET_FILE:quoril-solve>" QUORIL_LEVELGEN_PATH="$<TARGET_FILE:quoril-levelgen>")
